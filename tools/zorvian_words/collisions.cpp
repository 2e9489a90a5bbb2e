#include "collisions.h"

#include <algorithm>
#include <unordered_map>

#include "word_rows.h"

namespace zrv::words_tool {
namespace {

std::vector<Unit> unitsOf(const BaseWord& word) {
  std::vector<Unit> units;
  units.reserve(word.segments.size());
  for (const Segment& segment : word.segments) {
    units.push_back(segment.unit);
  }
  return units;
}

std::string pairName(Unit x, Unit y) {
  if (y < x) {
    std::swap(x, y);
  }
  return std::string(unitName(x)) + "=" + std::string(unitName(y));
}

std::multiset<std::string> dropsOf(const BaseWord& base, const AccentWord& word) {
  std::multiset<std::string> drops;
  for (const auto& [index, why] : word.dropped) {
    drops.insert("drop:" +
                 std::string(unitName(base.segments[static_cast<std::size_t>(index)].unit)));
  }
  return drops;
}

}  // namespace

Collision explainCollision(const BaseWord& firstBase, const AccentWord& first,
                           const BaseWord& secondBase, const AccentWord& second,
                           const std::set<std::string>& licensed) {
  Collision collision;
  const bool sameSounds =
      first.sounds.size() == second.sounds.size() &&
      std::equal(first.sounds.begin(), first.sounds.end(), second.sounds.begin(),
                 [](const Sounded& a, const Sounded& b) { return a.sound == b.sound; });
  if (!sameSounds) {
    collision.reasons.insert("spelling");
    return collision;
  }
  for (std::size_t i = 0; i < first.sounds.size(); ++i) {
    const Unit a = firstBase.segments[static_cast<std::size_t>(first.sounds[i].base)].unit;
    const Unit b = secondBase.segments[static_cast<std::size_t>(second.sounds[i].base)].unit;
    if (a != b) {
      collision.reasons.insert(pairName(a, b));
    }
  }
  const std::multiset<std::string> dropsA = dropsOf(firstBase, first);
  const std::multiset<std::string> dropsB = dropsOf(secondBase, second);
  std::vector<std::string> onlyOne;
  std::set_symmetric_difference(dropsA.begin(), dropsA.end(), dropsB.begin(), dropsB.end(),
                                std::back_inserter(onlyOne));
  collision.reasons.insert(onlyOne.begin(), onlyOne.end());
  collision.explained =
      std::all_of(collision.reasons.begin(), collision.reasons.end(),
                  [&](const std::string& reason) { return licensed.contains(reason); });
  return collision;
}

AccentCollisions collisionsIn(const BuildInputs& inputs, const std::vector<std::string>& words,
                              const AccentProfile& accent) {
  AccentCollisions result;
  const WordPreparer preparer(inputs.dictionary, inputs.words, inputs.heteronyms, inputs.lists);
  const std::set<std::string> licensed = licensedMergers(accent);
  struct Entry {
    const std::string* word;
    BaseWord base;
    AccentWord sounds;
    std::vector<Unit> units;
  };
  std::vector<Entry> entries;
  entries.reserve(words.size());
  WordReadings readings;
  std::string error;
  for (const std::string& word : words) {
    const DictionaryWord* at = findEntry(inputs.dictionary, word);
    if (at == nullptr || !preparer.readingsOf(*at, readings, error) || readings.american.empty()) {
      continue;
    }
    WordBases bases = basesOf(at->word, readings, inputs.lists);
    BaseWord base = std::move(accent.base == BaseKind::British ? bases.british : bases.american)[0];
    AccentWord sounds = realise(base, accent);
    std::vector<Unit> units = unitsOf(base);
    entries.push_back({&at->word, std::move(base), std::move(sounds), std::move(units)});
  }
  result.words = entries.size();
  std::unordered_map<std::string, std::vector<std::size_t>> bySpelling;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    bySpelling[spell(entries[i].sounds)].push_back(i);
  }
  std::vector<std::string> spellings;
  for (const auto& [spelling, members] : bySpelling) {
    if (members.size() > 1) {
      spellings.push_back(spelling);
    }
  }
  std::sort(spellings.begin(), spellings.end());
  for (const std::string& spelling : spellings) {
    const std::vector<std::size_t>& members = bySpelling[spelling];
    for (std::size_t x = 0; x < members.size(); ++x) {
      for (std::size_t y = x + 1; y < members.size(); ++y) {
        const Entry& a = entries[members[x]];
        const Entry& b = entries[members[y]];
        if (a.units == b.units) {
          continue;  // the same sounds, stress aside: homophones in every accent
        }
        Collision collision = explainCollision(a.base, a.sounds, b.base, b.sounds, licensed);
        collision.first = *a.word;
        collision.second = *b.word;
        collision.spelling = spelling;
        if (collision.explained) {
          ++result.explainedPairs;
          std::string key;
          for (const std::string& reason : collision.reasons) {
            key += (key.empty() ? "" : " ") + reason;
          }
          ++result.pairsByReason[key];
        } else {
          result.unexplained.push_back(std::move(collision));
        }
      }
    }
  }
  return result;
}

}  // namespace zrv::words_tool
