// The progress lines fall at the counts the per-character test std::fmod(count, step) < 1 picks,
// for short texts (where every count is due) up to a text of the King James text's length.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/sentence_reader.h"

namespace {

std::vector<std::uint64_t> dueByFmod(std::uint64_t total, double step) {
  std::vector<std::uint64_t> due;
  for (std::uint64_t count = 1; count <= total; ++count) {
    if (std::fmod(static_cast<double>(count), step) < 1.0) {
      due.push_back(count);
    }
  }
  return due;
}

std::vector<std::uint64_t> dueByNextLine(std::uint64_t total, double step) {
  std::vector<std::uint64_t> due;
  for (std::uint64_t count = zrv::nextProgressLineAt(0, step); count <= total;
       count = zrv::nextProgressLineAt(count, step)) {
    due.push_back(count);
  }
  return due;
}

double stepOf(std::uint64_t total) {
  return (static_cast<double>(total) / 100.0) * 5.0;
}

TEST(ProgressLines, FallWhereTheFmodTestPutsThem) {
  for (std::uint64_t total = 1; total <= 3000; ++total) {
    ASSERT_EQ(dueByNextLine(total, stepOf(total)), dueByFmod(total, stepOf(total))) << total;
  }
  // Steps whose multiples lie a hair off an integer, and long texts.
  for (const std::uint64_t total :
       {std::uint64_t{6'000'001}, std::uint64_t{4'404'412}, std::uint64_t{1'048'577},
        std::uint64_t{999'999}, std::uint64_t{123'457}, std::uint64_t{65'539}}) {
    ASSERT_EQ(dueByNextLine(total, stepOf(total)), dueByFmod(total, stepOf(total))) << total;
  }
}

TEST(ProgressLines, StepsOfOneCharacterOrLessMakeEveryCountDue) {
  EXPECT_EQ(zrv::nextProgressLineAt(0, 0.05), 1u);
  EXPECT_EQ(zrv::nextProgressLineAt(7, 0.95), 8u);
  EXPECT_EQ(zrv::nextProgressLineAt(19, 1.0), 20u);
}

}  // namespace
