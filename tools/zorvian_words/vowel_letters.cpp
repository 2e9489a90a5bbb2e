#include "vowel_letters.h"

#include <algorithm>

namespace zrv::words_tool {
namespace {

bool isPlainVowelLetter(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// Whether the letter at `i` belongs to a group of vowel letters: y and w only when they close a
// vowel sound ("boy", "law"), and the u of "qu" never.
bool writesVowel(std::string_view word, std::size_t i) {
  const char c = word[i];
  const bool nextIsVowel = i + 1 < word.size() && isPlainVowelLetter(word[i + 1]);
  if (c == 'u') {
    return !(i > 0 && word[i - 1] == 'q');
  }
  if (isPlainVowelLetter(c)) {
    return true;
  }
  if (c == 'y') {
    return i > 0 && !nextIsVowel;
  }
  if (c == 'w') {
    return i > 0 && isPlainVowelLetter(word[i - 1]) && !nextIsVowel;
  }
  return false;
}

std::vector<std::string_view> letterGroups(std::string_view word) {
  std::vector<std::string_view> groups;
  std::size_t i = 0;
  while (i < word.size()) {
    if (!writesVowel(word, i)) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < word.size() && writesVowel(word, i)) {
      ++i;
    }
    groups.push_back(word.substr(start, i - start));
  }
  return groups;
}

bool onlyInflectionAfter(std::string_view word, std::string_view group) {
  const std::string_view rest = word.substr(group.data() + group.size() - word.data());
  return rest.empty() || rest == "s" || rest == "d" || rest == "'s" || rest == "'d";
}

// One group too many is almost always a silent e: final ("make", "baked") or before a suffix
// ("lovely", "movement"). Returns false when no such e can be left out.
bool dropSilentE(std::string_view word, std::vector<std::string_view>& groups) {
  if (groups.size() >= 2 && groups.back() == "e" && onlyInflectionAfter(word, groups.back())) {
    groups.pop_back();
    return true;
  }
  for (std::size_t g = 1; g + 1 < groups.size(); ++g) {
    const std::size_t at = groups[g].data() - word.data();
    if (groups[g] == "e" && at > 0 && !writesVowel(word, at - 1) && at + 1 < word.size() &&
        !writesVowel(word, at + 1)) {
      groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(g));
      return true;
    }
  }
  return false;
}

// One group too few is almost always two vowels side by side in two syllables: "alexandria",
// "duet", "nuclear", "thorium". Splits the last two-letter group that usually is one.
void splitHiatus(std::vector<std::string_view>& groups) {
  static constexpr std::string_view kHiatus[] = {"ia", "io", "iu", "ie", "ea", "eo", "ua",
                                                 "uo", "ue", "ui", "oa", "oe", "eu", "ii"};
  for (std::size_t g = groups.size(); g-- > 0;) {
    const std::string_view group = groups[g];
    if (group.size() == 2 &&
        std::find(std::begin(kHiatus), std::end(kHiatus), group) != std::end(kHiatus)) {
      groups[g] = group.substr(0, 1);
      groups.insert(groups.begin() + static_cast<std::ptrdiff_t>(g) + 1, group.substr(1, 1));
      return;
    }
  }
}

}  // namespace

std::vector<std::string_view> vowelLettersOf(std::string_view word,
                                             std::span<const Phoneme> phonemes) {
  std::vector<std::string_view> letters(phonemes.size());
  const auto vowelCount =
      static_cast<std::size_t>(std::count_if(phonemes.begin(), phonemes.end(), isVowel));
  std::vector<std::string_view> groups = letterGroups(word);
  if (groups.size() == vowelCount + 1 && !dropSilentE(word, groups)) {
    return letters;
  }
  if (groups.size() + 1 == vowelCount) {
    splitHiatus(groups);
  }
  if (groups.size() != vowelCount) {
    return letters;
  }
  std::size_t g = 0;
  for (std::size_t i = 0; i < phonemes.size(); ++i) {
    if (isVowel(phonemes[i])) {
      letters[i] = groups[g++];
    }
  }
  return letters;
}

}  // namespace zrv::words_tool
