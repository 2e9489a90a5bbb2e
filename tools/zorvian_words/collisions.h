#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "accents.h"
#include "database_builder.h"

namespace zrv::words_tool {

/// Two words an accent spells alike although their base pronunciations differ, with what makes
/// them alike: the unit pairs the accent says alike ("LOT=THOUGHT") and the units it drops
/// ("drop:R"), or "spelling" when the accent says them apart and only the letters coincide.
struct Collision {
  std::string first;
  std::string second;
  std::string spelling;
  std::set<std::string> reasons;
  bool explained = false;  // every reason is a merger the accent licenses
};

/// The collisions of one accent.
struct AccentCollisions {
  std::size_t words = 0;
  std::size_t explainedPairs = 0;
  std::vector<Collision> unexplained;
  std::map<std::string, std::size_t> pairsByReason;  // explained pairs, by their reasons joined
};

/// What makes two accent words with the same spelling alike, from their sounds and the base
/// segments the sounds come from; `explained` when the accent licenses all of it.
Collision explainCollision(const BaseWord& firstBase, const AccentWord& first,
                           const BaseWord& secondBase, const AccentWord& second,
                           const std::set<std::string>& licensed);

/// The collisions among `words` (keys of the dictionary; the first reading of each) in one
/// accent.
AccentCollisions collisionsIn(const BuildInputs& inputs, const std::vector<std::string>& words,
                              const AccentProfile& accent);

}  // namespace zrv::words_tool
