#include "lexical_sets.h"

#include <algorithm>
#include <array>
#include <string>

#include "accent_lists.h"
#include "vowel_letters.h"

namespace zrv::words_tool {
namespace {

using P = Phoneme;
using U = Unit;

constexpr std::array<std::string_view, kUnitCount> kUnitNames = {
    "B",     "CH",      "D",     "DH",    "F",     "G",      "HH",    "JH",     "K",
    "L",     "M",       "N",     "NG",    "P",     "R",      "S",     "SH",     "T",
    "TH",    "V",       "W",     "Y",     "Z",     "ZH",     "Yod",   "KIT",    "DRESS",
    "TRAP",  "LOT",     "STRUT", "FOOT",  "BATH",  "CLOTH",  "NURSE", "FLEECE", "FACE",
    "PALM",  "THOUGHT", "GOAT",  "GOOSE", "PRICE", "CHOICE", "MOUTH", "NEAR",   "SQUARE",
    "START", "NORTH",   "FORCE", "CURE",  "happY", "lettER", "commA",
};

Unit consonantUnit(Phoneme phoneme) {
  return static_cast<Unit>(static_cast<int>(phoneme) - static_cast<int>(P::B));
}

bool startsWithAny(std::string_view letters, std::initializer_list<std::string_view> starts) {
  for (std::string_view start : starts) {
    if (letters.starts_with(start)) {
      return true;
    }
  }
  return false;
}

// Reads one pronunciation; the positions of the letters are offsets into the spelling.
class Reader {
 public:
  Reader(std::string_view spelling, std::span<const Phone> phones, BaseKind kind, bool britishForm,
         const AccentLists& lists)
      : spelling_(spelling),
        phones_(phones),
        kind_(kind),
        britishForm_(britishForm),
        lists_(lists) {
    std::vector<Phoneme> phonemes;
    phonemes.reserve(phones.size());
    for (const Phone& phone : phones) {
      phonemes.push_back(phone.phoneme);
    }
    letters_ = vowelLettersOf(spelling, phonemes);
  }

  BaseWord read() {
    BaseWord word{spelling_, {}};
    word.segments.reserve(phones_.size() + 2);
    for (std::size_t i = 0; i < phones_.size(); ++i) {
      const Phone& phone = phones_[i];
      Segment segment{U::COMMA, phone.phoneme, phone.stress, false, letters_[i], {}};
      if (!isVowel(phone.phoneme)) {
        segment.unit = consonantUnit(phone.phoneme);
        segment.fromWh = i == 0 && phone.phoneme == P::W && spelling_.starts_with("wh");
        word.segments.push_back(segment);
        continue;
      }
      segment.unit = vowelUnit(i);
      if (segment.unit == U::BATH) {
        segment.bath = *lists_.bathAt(spelling_, at(letters_[i]), phone.stress != 1);
      }
      word.segments.push_back(segment);
      if (phone.phoneme == P::ER) {
        // The r of an r-coloured vowel is a sound of its own, which the r-less accents drop.
        word.segments.push_back({U::R, P::R, Phone::kNoStress, false, {}, {}});
      }
    }
    markYod(word.segments);
    return word;
  }

 private:
  bool is(std::size_t i, Phoneme p) const { return i < phones_.size() && phones_[i].phoneme == p; }
  bool vowelAt(std::size_t i) const { return i < phones_.size() && isVowel(phones_[i].phoneme); }
  std::size_t at(std::string_view letters) const {
    return static_cast<std::size_t>(letters.data() - spelling_.data());
  }
  // The letter after the vowel letters of phone i, or 0.
  char letterAfter(std::string_view letters, std::size_t offset = 0) const {
    const std::size_t next = at(letters) + letters.size() + offset;
    return next < spelling_.size() ? spelling_[next] : '\0';
  }
  // Whether the word is a dictionary word ending at the letter `end` (with `addE` after it) plus
  // an ending: "boring" is bore + ing, "caring" care + ing, "furry" fur + y with the r doubled.
  // With `inflectionOnly`, the ending must be an inflection or -ful, -ly, -less, -ness, -y.
  bool isBaseWordUpTo(std::size_t end, std::string_view addE, bool inflectionOnly = false) const {
    const std::string base = std::string(spelling_.substr(0, end)) + std::string(addE);
    if (base.size() <= 2 || end > spelling_.size() || !lists_.isWord(base)) {
      return false;
    }
    std::string_view rest = spelling_.substr(end);
    if (inflectionOnly) {
      static constexpr std::string_view kInflections[] = {
          "", "ing", "ed", "d", "er", "ers", "est", "s", "es", "ful", "ly", "less", "ness", "y"};
      return std::find(std::begin(kInflections), std::end(kInflections), rest) !=
             std::end(kInflections);
    }
    if (rest.empty() || isWordEnding(rest)) {
      return true;
    }
    if (!addE.empty() || rest.size() < 2 || rest.front() != spelling_[end - 1]) {
      return false;
    }
    rest.remove_prefix(1);  // "furry", "stirring": the consonant doubled before the ending
    return isWordEnding(rest);
  }

  Unit vowelUnit(std::size_t i) {
    const Phone& phone = phones_[i];
    const std::string_view letters = letters_[i];
    const bool rFollows = is(i + 1, P::R);
    const bool rBeforeVowel = rFollows && vowelAt(i + 2);
    const bool rClosing = rFollows && !rBeforeVowel;
    const bool afterW = i > 0 && phones_[i - 1].phoneme == P::W;
    switch (phone.phoneme) {
      case P::AA:
        if (rClosing) {
          return U::START;
        }
        if (letters.starts_with("au") || letters.starts_with("aw")) {
          return britishForm_ ? U::LOT : U::THOUGHT;  // the dictionary's merged "caught"
        }
        if (letters.empty()) {
          const bool hasO = spelling_.find('o') != std::string_view::npos;
          if (hasO && rBeforeVowel && lists_.forceBeforeR(spelling_).value_or(false)) {
            return U::FORCE;  // "thorium"
          }
          return hasO || afterW ? U::LOT : (rBeforeVowel ? U::START : U::PALM);
        }
        if (letters.front() == 'o' || (letters.front() == 'a' && afterW)) {
          if (rBeforeVowel && lists_.forceBeforeR(spelling_).value_or(false)) {
            return U::FORCE;  // "thorium"
          }
          return U::LOT;  // "hot", "sorry", "want", "quality"
        }
        if (letters == "a" && is(i + 1, P::L)) {
          const char after = letterAfter(letters, 1);
          if (letterAfter(letters) == 'l' &&
              (after == 'l' || after == 't' || after == 'd' || after == 'k' || after == 's')) {
            return U::THOUGHT;  // "fallen", "falter", "balk": the American merged vowel
          }
        }
        return rBeforeVowel ? U::START : U::PALM;
      case P::AE:
        if (rClosing) {
          return U::SQUARE;
        }
        if (rBeforeVowel) {
          return squareBeforeR(letters) ? U::SQUARE : U::TRAP;
        }
        if (!letters.empty() && isBathVowel(i) &&
            lists_.bathAt(spelling_, at(letters), phone.stress != 1)) {
          return U::BATH;
        }
        return U::TRAP;
      case P::AH:
        return phone.stress == 0 ? U::COMMA : U::STRUT;
      case P::AO:
        if (rBeforeVowel) {
          return lotOrForceBeforeR(letters);
        }
        if (rClosing) {
          return forceSpelling(letters) ? U::FORCE : U::NORTH;
        }
        if (letters == "o" || (letters == "ou" && letterAfter(letters) == 'g' && is(i + 1, P::F))) {
          return U::CLOTH;  // "dog", "off", "cough": LOT in British English
        }
        if (letters.empty()) {
          // The letters did not pair up ("synagogue", "dialogue"): an o and none of the
          // THOUGHT spellings is CLOTH.
          const bool thoughtSpelling = spelling_.find("au") != std::string_view::npos ||
                                       spelling_.find("aw") != std::string_view::npos ||
                                       spelling_.find("al") != std::string_view::npos ||
                                       spelling_.find("ough") != std::string_view::npos ||
                                       spelling_.find("oa") != std::string_view::npos;
          return !thoughtSpelling && spelling_.find('o') != std::string_view::npos ? U::CLOTH
                                                                                   : U::THOUGHT;
        }
        if (letters == "a" && afterW &&
            (is(i + 1, P::N) || is(i + 1, P::SH) || is(i + 1, P::S) || is(i + 1, P::Z) ||
             is(i + 1, P::CH) || is(i + 1, P::NG))) {
          return U::CLOTH;  // "want", "wash", "wasp", "swan"; not "water", "walk", "war"
        }
        return U::THOUGHT;
      case P::AW:
        return U::MOUTH;
      case P::AY:
        return U::PRICE;
      case P::EH:
        if (rClosing) {
          return U::SQUARE;
        }
        if (rBeforeVowel) {
          if (lists_.trapBeforeVowel(spelling_)) {
            return U::TRAP;  // "familiarity"
          }
          if (squareBeforeR(letters)) {
            return U::SQUARE;
          }
          const bool spelledA = letters.empty() ? spelling_.find("er") == std::string_view::npos &&
                                                      spelling_.find("ar") != std::string_view::npos
                                                : letters.front() == 'a';
          return spelledA ? U::TRAP : U::DRESS;  // "marry", "chariot"
        }
        return U::DRESS;
      case P::ER:
        if (phone.stress == 0) {
          return U::LETTER;
        }
        return kind_ == BaseKind::British && strutBeforeR(i, letters) ? U::STRUT : U::NURSE;
      case P::EY:
        return U::FACE;
      case P::IH:
        if (rClosing) {
          return U::NEAR;
        }
        if (rBeforeVowel) {
          // "mirror", "spirit", "lyric" against "serious", "hero", "period"
          return !letters.empty() && (letters.front() == 'i' || letters.front() == 'y') ? U::KIT
                                                                                        : U::NEAR;
        }
        return U::KIT;
      case P::IY:
        if (rFollows) {
          return U::NEAR;
        }
        // happY is the weak i at the end of "city" and before a consonant ("cities", "happily");
        // before a vowel ("cassia", "serial") it is FLEECE, also where happY is lax.
        return phone.stress == 0 && !vowelAt(i + 1) ? U::HAPPY : U::FLEECE;
      case P::OW:
        return rFollows ? U::FORCE : U::GOAT;
      case P::OY:
        return U::CHOICE;
      case P::UH:
        return rFollows ? U::CURE : U::FOOT;
      case P::UW:
        return rFollows ? U::CURE : U::GOOSE;
      default:
        return U::COMMA;
    }
  }

  // Which TRAP vowel of a word can be BATH: a stressed one; in a word the list names itself, only
  // its most stressed one ("contrast", whose noun the dictionary leaves unstressed there; not the
  // first a of "alexandria").
  bool isBathVowel(std::size_t i) const {
    if (!lists_.isListedBathWord(spelling_)) {
      return phones_[i].stress > 0;
    }
    // Primary stress (1) ranks above secondary (2), and both above none (0).
    const auto rank = [](std::int8_t stress) { return stress == 1 ? 2 : stress == 2 ? 1 : 0; };
    int most = -1;
    for (const Phone& phone : phones_) {
      if (phone.phoneme == P::AE) {
        most = std::max(most, rank(phone.stress));
      }
    }
    return rank(phones_[i].stress) == most;
  }

  // Mary, parent, fairy, there's against marry, parish, merry, very.
  bool squareBeforeR(std::string_view letters) const {
    if (letters.empty()) {
      return lists_.squareBeforeVowel(spelling_);
    }
    if (startsWithAny(letters, {"ai", "ea", "ei", "ae", "ay"})) {
      return true;
    }
    const std::size_t r = at(letters) + letters.size();  // the r
    if (letters.front() == 'a' && letters != "a") {
      return lists_.squareBeforeVowel(spelling_);  // "Aaron"
    }
    if (letters == "a") {
      // "caring", "scared", "barely" from care, scare, bare; not "parable" or "parent"
      return lists_.squareBeforeVowel(spelling_) ||
             (spelling_.size() > r + 1 && spelling_[r + 1] != 'r' &&
              isBaseWordUpTo(r + 1, "e", true));
    }
    if (letters == "e" && spelling_.size() > r + 1 && spelling_[r + 1] == 'e') {
      // "there's", "wherever", "thereof", "wherein": there and where with an ending or a word
      return isBaseWordUpTo(r + 2, "") ||
             (lists_.isWord(spelling_.substr(0, r + 2)) && lists_.isWord(spelling_.substr(r + 2)));
    }
    return false;
  }

  // Before r and a vowel, British English has LOT (orange, moral, sorry) or FORCE (story, glory,
  // boring from bore).
  Unit lotOrForceBeforeR(std::string_view letters) const {
    if (startsWithAny(letters, {"oa", "ou", "oo"})) {
      return U::FORCE;
    }
    if (const auto force = lists_.forceBeforeR(spelling_)) {
      return *force ? U::FORCE : U::LOT;
    }
    if (!letters.empty()) {
      const std::size_t r = at(letters) + letters.size();
      const bool doubled = r + 1 < spelling_.size() && spelling_[r + 1] == 'r';
      if (!doubled && (isBaseWordUpTo(r + 1, "e") || isBaseWordUpTo(r + 1, ""))) {
        return U::FORCE;  // "boring", "adorable", "warring"
      }
    }
    return U::LOT;
  }

  // FORCE against NORTH before an r that closes the syllable: more, board, four against for.
  bool forceSpelling(std::string_view letters) const {
    if (startsWithAny(letters, {"oa", "ou", "oo"})) {
      return true;
    }
    if (letters == "o") {
      const std::size_t r = at(letters) + letters.size();
      if (r + 1 < spelling_.size() && spelling_[r + 1] == 'e' &&
          (r + 2 == spelling_.size() || isBaseWordUpTo(r + 2, ""))) {
        return true;  // "more", "shore", "explored"
      }
    }
    return lists_.forceSpelledOr(spelling_);
  }

  // British English has STRUT before r and a vowel in hurry, worry, courage, thorough, where an
  // American dictionary has NURSE; furry (fur + y) and stirring keep NURSE.
  bool strutBeforeR(std::size_t i, std::string_view letters) const {
    if (!vowelAt(i + 1) || letters.empty() || !startsWithAny(letters, {"u", "o"})) {
      return false;
    }
    const std::size_t r = at(letters) + letters.size();
    if (r >= spelling_.size() || spelling_[r] != 'r') {
      return false;
    }
    const bool doubled = r + 1 < spelling_.size() && spelling_[r + 1] == 'r';
    if (!doubled && letters != "ou" && !spelling_.substr(r + 1).starts_with("ough")) {
      return false;
    }
    return !isBaseWordUpTo(r + 1, "") && !isBaseWordUpTo(r + 2, "");
  }

  // Where the letters did not pair ("nuclear", "duet", "enthusiasm"): whether the spelling writes
  // the consonant before the vowel followed by u, ew, eu or ue.
  bool yodSpelling(const std::vector<Segment>& s, std::size_t i) const {
    std::size_t c = i - 1;
    if ((s[c].unit == U::Y || s[c].unit == U::Yod) && c > 0) {
      --c;
    }
    std::string_view consonant;
    switch (s[c].unit) {
      case U::T:
        consonant = "t";
        break;
      case U::D:
        consonant = "d";
        break;
      case U::N:
        consonant = "n";
        break;
      case U::TH:
        consonant = "th";
        break;
      default:
        return false;
    }
    for (std::string_view vowel : {"u", "ew", "eu", "ue"}) {
      const std::string group = std::string(consonant) + std::string(vowel);
      if (spelling_.find(group) != std::string_view::npos) {
        return true;
      }
    }
    return false;
  }

  // The yod after t, d, n, th, s and z where the spelling has u, ew, eu, ue or ui ("tune", "new",
  // "due", "enthusiasm", "assume"): the British-type accents say it, the American ones drop it.
  void markYod(std::vector<Segment>& s) const {
    for (std::size_t i = 1; i < s.size(); ++i) {
      if (s[i].unit != U::GOOSE && s[i].unit != U::CURE) {
        continue;
      }
      const std::string_view letters = s[i].letters;
      // "newer", "dewy": the w of ew before a vowel counts as a consonant letter.
      const bool ewBeforeVowel = letters == "e" && letterAfter(letters) == 'w';
      if (letters.empty()
              ? !yodSpelling(s, i)
              : !startsWithAny(letters, {"u", "ew", "eu", "ue", "ui"}) && !ewBeforeVowel) {
        continue;
      }
      std::size_t c = i - 1;
      if (s[c].unit == U::Y || s[c].unit == U::Yod) {
        if (c == 0) {
          continue;
        }
        --c;
      }
      const Unit before = s[c].unit;
      bool coronal = before == U::T || before == U::D || before == U::N || before == U::TH;
      if (before == U::S || before == U::Z) {
        // "assume", "consume", "resume", but not "suit" or "super"
        coronal =
            c > 0 && (isVowelUnit(s[c - 1].unit) || s[c - 1].unit == U::N || s[c - 1].unit == U::R);
      }
      if (!coronal) {
        continue;
      }
      if (c + 1 < i) {
        s[c + 1].unit = U::Yod;  // the dictionary's own y
        s[c + 1].americanYod = s[i].stress == 0;
      } else {
        s.insert(s.begin() + static_cast<std::ptrdiff_t>(i),
                 Segment{U::Yod, P::Y, Phone::kNoStress, false, {}, {}});
        ++i;
      }
    }
  }

  std::string_view spelling_;
  std::span<const Phone> phones_;
  BaseKind kind_;
  bool britishForm_;
  const AccentLists& lists_;
  std::vector<std::string_view> letters_;
};

bool endsWithAny(std::string_view word, std::initializer_list<std::string_view> ends) {
  for (std::string_view end : ends) {
    if (word.ends_with(end)) {
      return true;
    }
  }
  return false;
}

// What British English does to the unstressed syllables of words the American dictionary gives a
// secondary stress or a reduced vowel: fertile, secretary, ceremony, organization.
std::vector<Phone> britishSyllables(std::string_view spelling, std::span<const Phone> phones) {
  std::vector<Phone> out(phones.begin(), phones.end());
  const std::size_t n = out.size();
  const auto at = [&](std::size_t fromEnd) -> Phone& { return out[n - fromEnd]; };
  const bool plural = spelling.ends_with('s') && n > 0 && (out.back().phoneme == P::Z);
  const std::size_t tail = plural ? 1 : 0;
  if (endsWithAny(spelling, {"ile", "iles"}) && n >= 2 + tail && at(2 + tail).phoneme == P::AH &&
      at(2 + tail).stress == 0 && at(1 + tail).phoneme == P::L) {
    at(2 + tail) = {P::AY, 2};  // "fertile", "hostile", "missile"
  }
  if (endsWithAny(spelling,
                  {"ary", "ery", "ory", "aries", "eries", "ories", "ary's", "ery's", "ory's"}) &&
      n >= 3 + tail && at(1 + tail).phoneme == P::IY && at(2 + tail).phoneme == P::R &&
      (at(3 + tail).phoneme == P::EH || at(3 + tail).phoneme == P::AO) &&
      at(3 + tail).stress == 2) {
    at(3 + tail) = {P::AH, 0};  // "secretary", "territory"
  }
  if (endsWithAny(spelling, {"mony", "monies"}) && n >= 3 + tail && at(3 + tail).phoneme == P::OW &&
      at(3 + tail).stress == 2) {
    at(3 + tail) = {P::AH, 0};  // "ceremony", "testimony"
  }
  if (spelling.find("ization") != std::string_view::npos ||
      spelling.find("isation") != std::string_view::npos) {
    for (std::size_t i = 0; i + 2 < n; ++i) {
      if ((out[i].phoneme == P::AH || out[i].phoneme == P::IH) && out[i].stress == 0 &&
          out[i + 1].phoneme == P::Z && out[i + 2].phoneme == P::EY) {
        out[i] = {P::AY, 0};  // "organization"
      }
    }
  }
  return out;
}

}  // namespace

std::string_view unitName(Unit unit) {
  return kUnitNames[static_cast<int>(unit)];
}

BaseWord baseOf(std::string_view spelling, std::span<const Phone> phones, BaseKind kind,
                const AccentLists& lists, bool britishForm) {
  if (kind == BaseKind::British && !britishForm) {
    const std::vector<Phone> british = britishSyllables(spelling, phones);
    return Reader(spelling, british, kind, false, lists).read();
  }
  return Reader(spelling, phones, kind, britishForm, lists).read();
}

}  // namespace zrv::words_tool
