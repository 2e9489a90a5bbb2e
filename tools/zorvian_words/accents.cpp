#include "accents.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace zrv::words_tool {
namespace {

using P = Phoneme;
using R = AccentRule;
using Sounds = std::vector<Sound>;

constexpr std::array<std::string_view, kAccentRuleCount> kRuleNames = {
    "lot-palm split",
    "palm-trap merger",
    "cot-caught merger (to palm)",
    "cot-caught merger (to lot)",
    "trap-bath split",
    "trap-bath split (fricatives only)",
    "Northern Cities shift",
    "short-a tensing",
    "nurse split",
    "non-rhotic",
    "open letter vowel",
    "near-square merger",
    "foot-strut unsplit",
    "foot-goose merger",
    "pin-pen merger",
    "kit centralisation",
    "dress raising",
    "trap raising",
    "fleece laxing before l",
    "Canadian raising",
    "price monophthong",
    "mouth monophthong",
    "diphthong shift",
    "face-goat monophthongs",
    "t-flapping",
    "t-glottalling",
    "th-fronting",
    "th-stopping",
    "h-dropping",
    "l-vocalisation",
    "initial fricative voicing",
    "v-w merger",
};

// Indexed by catalog number - 1, so the table names stay in the catalog alone. Each list is in
// rule order (a test checks it).
const std::array<std::vector<AccentRule>, 24> kAccentRules = {{
    /* AU Standard */ {R::LotPalmSplit, R::TrapBathSplitFricatives, R::NonRhotic, R::DiphthongShift,
                       R::TFlapping},
    /* CA Atlantic */ {R::CotCaughtMergerToPalm, R::CanadianRaising, R::ThStopping},
    /* CA Standard */ {R::CotCaughtMergerToPalm, R::CanadianRaising, R::TFlapping},
    /* IN Standard */
    {R::LotPalmSplit, R::CotCaughtMergerToLot, R::FaceGoatMonophthongs, R::ThStopping, R::VWMerger},
    /* NZ Standard */
    {R::LotPalmSplit, R::TrapBathSplit, R::NonRhotic, R::NearSquareMerger, R::KitCentralisation,
     R::DressRaising, R::TrapRaising},
    /* UK Irish */ {R::LotPalmSplit, R::FaceGoatMonophthongs, R::ThStopping},
    /* UK London */
    {R::LotPalmSplit, R::TrapBathSplit, R::NonRhotic, R::DiphthongShift, R::TGlottalling,
     R::ThFronting, R::HDropping, R::LVocalisation},
    /* UK Midland Northern */
    {R::LotPalmSplit, R::NonRhotic, R::FootStrutUnsplit, R::FaceGoatMonophthongs},
    /* UK Midland Southern */
    {R::LotPalmSplit, R::NonRhotic, R::FootStrutUnsplit, R::DiphthongShift, R::HDropping},
    /* UK RP */ {R::LotPalmSplit, R::TrapBathSplit, R::NonRhotic},
    /* UK Scottish */
    {R::LotPalmSplit, R::PalmTrapMerger, R::CotCaughtMergerToLot, R::NurseSplit, R::FootGooseMerger,
     R::FaceGoatMonophthongs},
    /* UK Southwestern */
    {R::LotPalmSplit, R::TrapBathSplit, R::HDropping, R::InitialFricativeVoicing},
    /* UK Wales */ {R::LotPalmSplit, R::NonRhotic, R::OpenLetterVowel, R::FaceGoatMonophthongs},
    /* US Hawaiian */
    {R::CotCaughtMergerToPalm, R::FaceGoatMonophthongs, R::TFlapping, R::ThStopping},
    /* US Inland Northern */ {R::NorthernCitiesShift, R::TFlapping},
    /* US Midland */ {R::TFlapping},
    /* US NYC */ {R::ShortATensing, R::NonRhotic, R::TFlapping},
    /* US New England */ {R::CotCaughtMergerToPalm, R::NonRhotic, R::TFlapping},
    /* US North Central */ {R::CotCaughtMergerToPalm, R::FaceGoatMonophthongs, R::TFlapping},
    /* US Pitts */
    {R::CotCaughtMergerToPalm, R::FleeceLaxingBeforeL, R::MouthMonophthong, R::TFlapping},
    /* US South Florida */ {R::CotCaughtMergerToPalm, R::FaceGoatMonophthongs},
    /* US Southern */ {R::PinPenMerger, R::PriceMonophthong, R::TFlapping},
    /* US Western */ {R::CotCaughtMergerToPalm, R::TFlapping},
    /* ZA Standard */
    {R::LotPalmSplit, R::TrapBathSplit, R::NonRhotic, R::TrapRaising, R::PriceMonophthong},
}};

bool is(const Sounds& s, std::size_t i, Phoneme p) {
  return i < s.size() && s[i].phoneme == p;
}

bool isAnyOf(const Sounds& s, std::size_t i, std::initializer_list<Phoneme> ps) {
  return i < s.size() && std::find(ps.begin(), ps.end(), s[i].phoneme) != ps.end();
}

bool vowelAt(const Sounds& s, std::size_t i) {
  return i < s.size() && isVowel(s[i].phoneme);
}

// Without stress marks, the vowels that are mostly unstressed stand in for "a weak syllable".
bool weakVowelAt(const Sounds& s, std::size_t i) {
  return isAnyOf(s, i, {P::AH, P::ER, P::IH, P::IY, P::Letter});
}

// The end of the word or a consonant: the sound at `i` closes the syllable before it.
bool closesSyllable(const Sounds& s, std::size_t i) {
  return !vowelAt(s, i);
}

void mapEach(Sounds& s, Phoneme from, Phoneme to) {
  for (Sound& sound : s) {
    if (sound.phoneme == from) {
      sound.phoneme = to;
    }
  }
}

void lotPalmSplit(WordSounds& word) {
  Sounds& s = word.sounds;
  const bool hasA = word.spelling.find('a') != std::string_view::npos;
  const bool hasO = word.spelling.find('o') != std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); ++i) {
    Sound& x = s[i];
    const std::string_view letters = x.letters;
    if (x.phoneme == P::AO) {
      // The "cloth" words (dog, long, off) have THOUGHT in the dictionary but LOT here.
      if (letters == "o" && !is(s, i + 1, P::R)) {
        x.phoneme = P::Lot;
      }
      continue;
    }
    if (x.phoneme != P::AA || (is(s, i + 1, P::R) && !vowelAt(s, i + 2))) {
      continue;  // "car", "start": PALM before r
    }
    if (letters.starts_with("au") || letters.starts_with("aw")) {
      x.phoneme = P::AO;  // the dictionary's merged "caught"
      continue;
    }
    const bool afterW = i > 0 && s[i - 1].phoneme == P::W;  // "want", "watch", "quality"
    const bool palm = letters.empty() ? hasA && !hasO : letters.front() == 'a';
    if (!palm || afterW) {
      x.phoneme = P::Lot;
    }
  }
}

void trapBathSplit(WordSounds& word, bool beforeNasals) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].phoneme != P::AE) {
      continue;
    }
    const std::size_t n = i + 1;
    bool bath = false;
    if (isAnyOf(s, n, {P::F, P::TH, P::S})) {
      bath = closesSyllable(s, n + 1) || weakVowelAt(s, n + 1);
      // A final single s keeps TRAP ("gas"); the double s of "class" and "pass" is BATH.
      if (bath && is(s, n, P::S) && n + 1 == s.size() && !word.spelling.ends_with("ss")) {
        bath = false;
      }
    } else if (beforeNasals && is(s, n, P::N) && isAnyOf(s, n + 1, {P::T, P::S, P::CH})) {
      bath = closesSyllable(s, n + 2) || weakVowelAt(s, n + 2);  // "dance", "chant", "branch"
    } else if (beforeNasals && is(s, n, P::M) && is(s, n + 1, P::P) &&
               (is(s, n + 2, P::L) || (is(s, n + 2, P::AH) && is(s, n + 3, P::L)))) {
      bath = true;  // "sample", "example"
    }
    if (bath) {
      s[i].phoneme = P::AA;
    }
  }
}

void northernCitiesShift(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    Phoneme& p = s[i].phoneme;
    if (p == P::AE) {
      p = P::TenseE;
    } else if (p == P::AA) {
      p = P::AE;
    } else if (p == P::AO && !is(s, i + 1, P::R)) {
      p = P::AA;
    }
  }
}

void shortATensing(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].phoneme == P::AE &&
        isAnyOf(s, i + 1, {P::M, P::N, P::B, P::D, P::G, P::F, P::TH, P::S, P::SH}) &&
        closesSyllable(s, i + 2)) {
      s[i].phoneme = P::TenseE;
    }
  }
}

void nurseSplit(WordSounds& word) {
  Sounds out;
  out.reserve(word.sounds.size() + 2);
  for (const Sound& x : word.sounds) {
    if (x.phoneme != P::ER) {
      out.push_back(x);
      continue;
    }
    // Scots keep the vowels of "bird", "herd" and "word" apart, as the spelling still does.
    const char first = x.letters.empty() ? 'u' : x.letters.front();
    const Phoneme vowel = (first == 'i' || first == 'y') ? P::IH : first == 'e' ? P::EH : P::AH;
    out.push_back({vowel, x.letters});
    out.push_back({P::R, {}});
  }
  word.sounds = std::move(out);
}

// Without stress marks, whether an r-less ER is the long NURSE of "bird" or the schwa of "butter":
// NURSE as the word's first vowel ("bird", "person"), or as the second after a weak first vowel in
// a syllable its stem closes ("return", "deserve", but not the inflected "covered", "mothers").
bool isNurse(const Sounds& s, std::size_t i) {
  std::size_t before = 0;
  std::size_t first = s.size();
  for (std::size_t j = 0; j < i; ++j) {
    if (isVowel(s[j].phoneme)) {
      first = std::min(first, j);
      ++before;
    }
  }
  if (before == 0) {
    return true;
  }
  const bool weakFirst = isAnyOf(s, first, {P::AH, P::IH, P::IY});
  const bool inflectionOnly = isAnyOf(s, i + 1, {P::Z, P::D}) && i + 2 == s.size();
  return before == 1 && weakFirst && i + 1 < s.size() && !inflectionOnly;
}

void nonRhotic(WordSounds& word) {
  const Sounds& s = word.sounds;
  Sounds out;
  out.reserve(s.size() + 1);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const Sound& x = s[i];
    if (x.phoneme == P::ER) {
      if (vowelAt(s, i + 1)) {
        out.push_back({P::Letter, x.letters});  // "interest": the r links to the next vowel
        out.push_back({P::R, {}});
        continue;
      }
      const bool afterVowel = i > 0 && isVowel(s[i - 1].phoneme);
      out.push_back({!afterVowel && isNurse(s, i) ? P::Nurse : P::Letter, x.letters});
      continue;
    }
    if (x.phoneme == P::R && !vowelAt(s, i + 1) && !out.empty() && isVowel(out.back().phoneme)) {
      Phoneme& v = out.back().phoneme;
      switch (v) {
        case P::AO:
        case P::OW:
        case P::UH:
        case P::UW:
          v = P::AO;  // north, force and cure fall together
          break;
        case P::IH:
        case P::IY:
          v = P::Near;
          break;
        case P::EH:
        case P::EY:
        case P::AE:
          v = P::Square;
          break;
        case P::AY:
        case P::AW:
        case P::OY:
          out.push_back({P::Letter, {}});  // "fire", "flour"
          break;
        default:
          break;  // AA of "car" is already long
      }
      continue;
    }
    out.push_back(x);
  }
  word.sounds = std::move(out);
}

void openLetterVowel(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].phoneme == P::Letter && !is(s, i + 1, P::R)) {
      s[i].phoneme = P::AE;
    }
  }
}

void footStrutUnsplit(WordSounds& word) {
  Sounds& s = word.sounds;
  const auto first =
      std::find_if(s.begin(), s.end(), [](const Sound& x) { return isVowel(x.phoneme); });
  // Without stress marks the first vowel stands for the stressed one: "cup", "love", "money".
  if (first != s.end() && first->phoneme == P::AH &&
      (first->letters == "u" || first->letters == "o" || first->letters == "ou" ||
       first->letters == "oo")) {
    first->phoneme = P::UH;
  }
}

void pinPenMerger(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].phoneme == P::EH && isAnyOf(s, i + 1, {P::M, P::N, P::NG})) {
      s[i].phoneme = P::IH;
    }
  }
}

void kitCentralisation(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].phoneme == P::IH && !is(s, i + 1, P::NG)) {
      s[i].phoneme = P::AH;
    }
  }
}

void fleeceLaxingBeforeL(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].phoneme == P::IY && is(s, i + 1, P::L)) {
      s[i].phoneme = P::IH;
    }
  }
}

void canadianRaising(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    if (!isVoiceless(s[i + 1].phoneme)) {
      continue;
    }
    if (s[i].phoneme == P::AY) {
      s[i].phoneme = P::RaisedPrice;
    } else if (s[i].phoneme == P::AW) {
      s[i].phoneme = P::RaisedMouth;
    }
  }
}

void priceMonophthong(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].phoneme == P::AY && !(i + 1 < s.size() && isVoiceless(s[i + 1].phoneme))) {
      s[i].phoneme = P::LongA;
    }
  }
}

void diphthongShift(WordSounds& word) {
  for (Sound& x : word.sounds) {
    if (x.phoneme == P::EY) {
      x.phoneme = P::AY;
    } else if (x.phoneme == P::AY) {
      x.phoneme = P::OY;
    } else if (x.phoneme == P::OW) {
      x.phoneme = P::AW;
    }
  }
}

void tFlapping(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 1; i < s.size(); ++i) {
    if (s[i].phoneme == P::T && (vowelAt(s, i - 1) || is(s, i - 1, P::R)) &&
        weakVowelAt(s, i + 1)) {
      s[i].phoneme = P::Flap;
    }
  }
}

void tGlottalling(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 1; i < s.size(); ++i) {
    if (s[i].phoneme != P::T || !vowelAt(s, i - 1)) {
      continue;
    }
    const bool beforeConsonant =
        i + 1 < s.size() && !vowelAt(s, i + 1) && !isAnyOf(s, i + 1, {P::R, P::Y, P::W});
    if (i + 1 == s.size() || beforeConsonant || weakVowelAt(s, i + 1)) {
      s[i].phoneme = P::Glottal;
    }
  }
}

void thFronting(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i].phoneme == P::TH) {
      s[i].phoneme = P::F;
    } else if (s[i].phoneme == P::DH) {
      s[i].phoneme = i == 0 ? P::D : P::V;  // "the", "this" start with d; "mother" has v
    }
  }
}

void lVocalisation(WordSounds& word) {
  Sounds& s = word.sounds;
  for (std::size_t i = 1; i < s.size(); ++i) {
    if (s[i].phoneme == P::L && vowelAt(s, i - 1) && !vowelAt(s, i + 1)) {
      s[i].phoneme = P::W;
    }
  }
}

void initialFricativeVoicing(WordSounds& word) {
  Sounds& s = word.sounds;
  if (s.size() < 2 || !vowelAt(s, 1)) {
    return;
  }
  if (s[0].phoneme == P::F) {
    s[0].phoneme = P::V;
  } else if (s[0].phoneme == P::S) {
    s[0].phoneme = P::Z;
  }
}

}  // namespace

std::string_view ruleName(AccentRule rule) {
  return kRuleNames[static_cast<int>(rule)];
}

std::span<const AccentRule> rulesOf(const AccentTable& accent) {
  return kAccentRules.at(static_cast<std::size_t>(accent.number - 1));
}

void applyRule(AccentRule rule, WordSounds& word) {
  Sounds& s = word.sounds;
  switch (rule) {
    case R::LotPalmSplit:
      lotPalmSplit(word);
      break;
    case R::PalmTrapMerger:
      mapEach(s, P::AA, P::AE);
      break;
    case R::CotCaughtMergerToPalm:
      for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i].phoneme == P::AO && !is(s, i + 1, P::R)) {
          s[i].phoneme = P::AA;
        }
      }
      break;
    case R::CotCaughtMergerToLot:
      mapEach(s, P::AO, P::Lot);
      break;
    case R::TrapBathSplit:
      trapBathSplit(word, true);
      break;
    case R::TrapBathSplitFricatives:
      trapBathSplit(word, false);
      break;
    case R::NorthernCitiesShift:
      northernCitiesShift(word);
      break;
    case R::ShortATensing:
      shortATensing(word);
      break;
    case R::NurseSplit:
      nurseSplit(word);
      break;
    case R::NonRhotic:
      nonRhotic(word);
      break;
    case R::OpenLetterVowel:
      openLetterVowel(word);
      break;
    case R::NearSquareMerger:
      mapEach(s, P::Square, P::Near);
      break;
    case R::FootStrutUnsplit:
      footStrutUnsplit(word);
      break;
    case R::FootGooseMerger:
      mapEach(s, P::UH, P::UW);
      break;
    case R::PinPenMerger:
      pinPenMerger(word);
      break;
    case R::KitCentralisation:
      kitCentralisation(word);
      break;
    case R::DressRaising:
      mapEach(s, P::EH, P::IH);
      break;
    case R::TrapRaising:
      mapEach(s, P::AE, P::EH);
      break;
    case R::FleeceLaxingBeforeL:
      fleeceLaxingBeforeL(word);
      break;
    case R::CanadianRaising:
      canadianRaising(word);
      break;
    case R::PriceMonophthong:
      priceMonophthong(word);
      break;
    case R::MouthMonophthong:
      mapEach(s, P::AW, P::LongA);
      break;
    case R::DiphthongShift:
      diphthongShift(word);
      break;
    case R::FaceGoatMonophthongs:
      mapEach(s, P::EY, P::TenseE);
      mapEach(s, P::OW, P::TenseO);
      break;
    case R::TFlapping:
      tFlapping(word);
      break;
    case R::TGlottalling:
      tGlottalling(word);
      break;
    case R::ThFronting:
      thFronting(word);
      break;
    case R::ThStopping:
      mapEach(s, P::TH, P::T);
      mapEach(s, P::DH, P::D);
      break;
    case R::HDropping:
      std::erase_if(s, [](const Sound& x) { return x.phoneme == P::HH; });
      break;
    case R::LVocalisation:
      lVocalisation(word);
      break;
    case R::InitialFricativeVoicing:
      initialFricativeVoicing(word);
      break;
    case R::VWMerger:
      mapEach(s, P::W, P::V);
      break;
  }
}

void applyAccent(const AccentTable& accent, WordSounds& word) {
  for (AccentRule rule : rulesOf(accent)) {
    applyRule(rule, word);
  }
}

}  // namespace zrv::words_tool
