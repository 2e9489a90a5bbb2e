// The time of the accent menu's 24 count statements, through the program's own open and count.
//
//   entry_counts_bench <folder holding zrv_words.db> [runs]
//
// Each run opens the database afresh, as a run of the program does, and only the counting is
// timed. Prints "seconds=S1,S2,..." (one per run) and then "<table> <count>" for the 24 tables.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/console.h"
#include "app/run_state.h"
#include "words/entry_counts.h"
#include "words/words_database.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <folder> [runs]\n", argv[0]);
    return 2;
  }
  // The program opens zrv_words.db in its working directory.
  if (chdir(argv[1]) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  zrv::Console console{std::cin, std::cout};
  std::vector<double> seconds;
  std::map<std::string, std::string> counts;
  for (int run = 0; run < runs; ++run) {
    zrv::RunState state(console, {});
    if (zrv::openWordsDatabase(state) == zrv::PhaseResult::kHalt) {
      zrv::closeWordsDatabase(state);
      return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const zrv::PhaseResult counted = zrv::countTableEntries(state);
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    counts = state.dbTableNamesToWordCountsMap;
    zrv::closeWordsDatabase(state);
    if (counted == zrv::PhaseResult::kHalt) {
      return 1;
    }
  }
  std::printf("seconds=");
  for (std::size_t i = 0; i < seconds.size(); ++i) {
    std::printf("%s%.6f", i ? "," : "", seconds[i]);
  }
  std::printf("\n");
  for (const auto& [table, count] : counts) {
    std::printf("%s %s\n", table.c_str(), count.c_str());
  }
  return 0;
}
