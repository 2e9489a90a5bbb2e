#include "tool_fixture.h"

#include <filesystem>

namespace zrv::test {

ProgramResult ToolFixture::run(const std::string& answers, const RunOptions& options) {
  const std::string database = words.bytes();
  writeFile(dir / "zrv_words.db", database);
  if (publishDatabase) {
    server.publish(database);
  }
  if (makeResultFolders) {
    std::filesystem::create_directories(dir / "output");
    std::filesystem::create_directories(dir / "unknown_words");
  }
  return runProgram(dir.path(), answers, options);
}

ProgramResult ToolFixture::runOn(const std::string& inputText, const std::string& answers,
                                 const RunOptions& options) {
  writeFile(dir / "input.txt", inputText);
  return run(answers, options);
}

}  // namespace zrv::test
