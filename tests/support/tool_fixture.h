#pragma once

#include <gtest/gtest.h>

#include <string>

#include "files.h"
#include "program_runner.h"
#include "repository_server.h"
#include "transcripts.h"
#include "words_db_builder.h"

namespace zrv::test {

/// A whole run of the real executable in a fresh working folder: `words` becomes zrv_words.db,
/// the repository server publishes the same bytes (so provisioning finds the file up to date),
/// and output/ and unknown_words/ exist.
class ToolFixture : public ::testing::Test {
 protected:
  /// Writes the database, publishes it and runs the program with `answers` on standard input.
  ProgramResult run(const std::string& answers, const RunOptions& options = {});
  /// Writes input.txt, then run().
  ProgramResult runOn(const std::string& inputText, const std::string& answers,
                      const RunOptions& options = {});

  /// The result files of a run on input.txt.
  std::string outputFile() { return readFile(dir / "output/input_output.txt"); }
  std::string unknownWordsFile() { return readFile(dir / "unknown_words/input_unknown_words.txt"); }

  TempDir dir;
  RepositoryServer server;
  WordsDbBuilder words;
  bool publishDatabase = true;  // false: the test scripts the server itself
  bool makeResultFolders = true;
};

}  // namespace zrv::test
