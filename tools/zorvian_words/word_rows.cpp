#include "word_rows.h"

#include <algorithm>

#include "vowel_letters.h"

namespace zrv::words_tool {
namespace {

bool samePhonemes(const std::vector<Phone>& a, const std::vector<Phone>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Phone x, Phone y) {
           return x.phoneme == y.phoneme;
         });
}

// Whether `other` is `first` with THOUGHT (AO) where `first` has LOT (AA), and nothing else
// changed, at a vowel whose spelling writes THOUGHT (caught, bought, cause, chalk) or the CLOTH
// vowel before a voiceless fricative, ng or g (coffee, long, dog); not "lot" or "on", whose AO is
// regional.
bool keepsThought(std::string_view spelling, const std::vector<Phone>& first,
                  const std::vector<Phone>& other) {
  if (first.size() != other.size()) {
    return false;
  }
  std::vector<Phoneme> phonemes;
  for (const Phone& phone : first) {
    phonemes.push_back(phone.phoneme);
  }
  const std::vector<std::string_view> letters = vowelLettersOf(spelling, phonemes);
  bool changed = false;
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (first[i].phoneme == other[i].phoneme) {
      continue;
    }
    if (first[i].phoneme != Phoneme::AA || other[i].phoneme != Phoneme::AO) {
      return false;
    }
    if (letters[i] == "o") {
      const Phoneme next = i + 1 < first.size() ? first[i + 1].phoneme : Phoneme::AA;
      if (next != Phoneme::F && next != Phoneme::TH && next != Phoneme::S && next != Phoneme::NG &&
          next != Phoneme::G) {
        return false;
      }
    }
    changed = true;
  }
  return changed;
}

// What the dictionary writes as speech where the spelling says otherwise: a d for the flapped t of
// a word with a t and no d ("thirty"), and a secondary stress on a weak final vowel. Only a d
// where a t can flap is one: the d of the letter name "w" (w, www, bmw) is a d.
std::vector<Phone> repaired(std::string_view spelling, const std::vector<Phone>& phones) {
  std::vector<Phone> out = phones;
  if (spelling.find('d') == std::string_view::npos &&
      spelling.find('t') != std::string_view::npos) {
    for (std::size_t i = 1; i + 1 < out.size(); ++i) {
      const Phone before = out[i - 1];
      const Phone after = out[i + 1];
      if (out[i].phoneme == Phoneme::D &&
          (isVowel(before.phoneme) || before.phoneme == Phoneme::R) && isVowel(after.phoneme) &&
          after.stress != 1) {
        out[i].phoneme = Phoneme::T;
      }
    }
  }
  const bool primaryBefore =
      std::any_of(out.begin(), out.end(), [](Phone p) { return p.stress == 1; });
  // The final y of "thirty" and the final o of "photo", "potato", "tomato" are weak in speech.
  if (!out.empty() && out.back().stress == 2 && primaryBefore &&
      ((out.back().phoneme == Phoneme::IY && spelling.ends_with('y')) ||
       (out.back().phoneme == Phoneme::OW && spelling.ends_with('o')))) {
    out.back().stress = 0;
  }
  return out;
}

constexpr std::string_view kInflections[] = {"s", "es", "'s", "ed", "d", "ing", "er", "ers", "s'"};

}  // namespace

WordPreparer::WordPreparer(const std::vector<DictionaryWord>& dictionary, const WordList& words,
                           const HeteronymList& heteronyms, const AccentLists& lists)
    : dictionary_(dictionary), words_(words), heteronyms_(heteronyms), lists_(lists) {}

const std::vector<Phone>* WordPreparer::firstReading(std::string_view word) const {
  const DictionaryWord* at = findEntry(dictionary_, word);
  if (at == nullptr || at->pronunciations.empty()) {
    return nullptr;
  }
  return &at->pronunciations.front().phones;
}

bool WordPreparer::readingsOf(const DictionaryWord& entry, WordReadings& readings,
                              std::string& error) const {
  readings = {};
  if (heteronyms_.contains(entry.word)) {
    if (!heteronyms_.readingsOf(entry, readings.american, error)) {
      return false;
    }
    readings.british = readings.american;
    readings.britishIsCurated.assign(readings.american.size(), false);
    return true;
  }
  if (entry.pronunciations.empty()) {
    return true;
  }
  const std::vector<Phone>* base = &entry.pronunciations.front().phones;
  for (const Pronunciation& other : entry.pronunciations) {
    if (keepsThought(entry.word, *base, other.phones)) {
      base = &other.phones;
      break;
    }
  }
  readings.american.push_back(repaired(entry.word, *base));
  // The British-type form: curated for the word, or for its stem with the inflection's sounds.
  if (const std::vector<Phone>* form = lists_.britishForm(entry.word)) {
    readings.british.push_back(repaired(entry.word, *form));
    readings.britishIsCurated.push_back(true);
    return true;
  }
  for (std::string_view ending : kInflections) {
    if (!entry.word.ends_with(ending) || entry.word.size() <= ending.size() + 1) {
      continue;
    }
    const std::string stem = entry.word.substr(0, entry.word.size() - ending.size());
    for (const std::string& candidate : {stem, stem + "e"}) {
      const std::vector<Phone>* form = lists_.britishForm(candidate);
      const std::vector<Phone>* stemReading = firstReading(candidate);
      if (!form || !stemReading || stemReading->size() > base->size() ||
          !samePhonemes(*stemReading,
                        std::vector<Phone>(
                            base->begin(),
                            base->begin() + static_cast<std::ptrdiff_t>(stemReading->size())))) {
        continue;
      }
      std::vector<Phone> british = *form;
      british.insert(british.end(),
                     base->begin() + static_cast<std::ptrdiff_t>(stemReading->size()), base->end());
      readings.british.push_back(std::move(british));
      readings.britishIsCurated.push_back(true);
      return true;
    }
  }
  readings.british.push_back(readings.american.front());
  readings.britishIsCurated.push_back(false);
  return true;
}

NameUse WordPreparer::nameUseOf(std::string_view word) const {
  return words_.nameUseOf(word, lists_.isGivenName(word));
}

WordBases basesOf(std::string_view spelling, const WordReadings& readings,
                  const AccentLists& lists) {
  WordBases bases;
  for (const std::vector<Phone>& reading : readings.american) {
    bases.american.push_back(baseOf(spelling, reading, BaseKind::American, lists));
  }
  for (std::size_t i = 0; i < readings.british.size(); ++i) {
    bases.british.push_back(baseOf(spelling, readings.british[i], BaseKind::British, lists,
                                   readings.britishIsCurated[i]));
  }
  return bases;
}

void rowsInAccent(const WordBases& bases, NameUse nameUse, const AccentProfile& accent,
                  std::vector<WordRow>& rows) {
  rows.clear();
  const std::vector<BaseWord>& readings =
      accent.base == BaseKind::British ? bases.british : bases.american;
  std::vector<std::string> spellings;
  for (const BaseWord& reading : readings) {
    std::string spelling = spell(realise(reading, accent));
    // Two readings that an accent says alike are one candidate there.
    if (!spelling.empty() &&
        std::find(spellings.begin(), spellings.end(), spelling) == spellings.end()) {
      spellings.push_back(std::move(spelling));
    }
  }
  int weight = kFirstWeight;
  for (const std::string& spelling : spellings) {
    if (nameUse != NameUse::NameOnly) {
      rows.push_back({spelling, false, weight});
    }
    if (nameUse == NameUse::NameOnly) {
      rows.push_back({spelling, true, weight});
    } else if (nameUse == NameUse::NameAndCommon) {
      rows.push_back({spelling, true, weight - kNameWeightStep});
    }
    weight -= kVariantWeightStep;
  }
}

}  // namespace zrv::words_tool
