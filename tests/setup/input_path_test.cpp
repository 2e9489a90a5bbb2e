// The rules that turn a typed path into the input's extension test, file name and base name.

#include "setup/input_path.h"

#include <gtest/gtest.h>

namespace zrv {
namespace {

TEST(InputPath, OnlyAnExactLowerCaseTxtEndingIsATextFile) {
  const struct {
    const char* path;
    bool isTextFile;
  } cases[] = {
      {"story.txt", true},  {".txt", true},        {"a/b\\c.txt", true},  {"txt.txt", true},
      {"story.TXT", false}, {"story.Txt", false},  {"story.txT", false},  {"txt", false},
      {"", false},          {".tx", false},        {"story.txt ", false}, {"story.txt/", false},
      {"storytxt", false},  {"story.text", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hasTextFileExtension(c.path), c.isTextFile) << c.path;
  }
}

TEST(InputPath, FileNameIsWhatFollowsTheLastSlashOrBackslash) {
  const struct {
    const char* path;
    const char* fileName;
  } cases[] = {
      {"story.txt", "story.txt"},
      {"/home/docs/story.txt", "story.txt"},
      {"texts\\story.txt", "story.txt"},
      {"C:\\Users\\me\\story.txt", "story.txt"},
      {"a/b\\story.txt", "story.txt"},
      {"a\\b/story.txt", "story.txt"},
      {"texts/", ""},
      {"/", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fileNameOfPath(c.path), c.fileName) << c.path;
  }
}

TEST(InputPath, BaseNameDropsOnlyOneTrailingTxt) {
  const struct {
    const char* fileName;
    const char* baseName;
  } cases[] = {
      {"story.txt", "story"},
      {"mytxtfile.txt", "mytxtfile"},
      {"notes.txt.txt", "notes.txt"},
      {".txt", ""},
      {"txt.txt", "txt"},
      {"a.txtb.txt", "a.txtb"},
      {"xtxt.txt", "xtxt"},
      {"story", "story"},
      {"storytxt", "storytxt"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(baseNameOfFileName(c.fileName), c.baseName) << c.fileName;
  }
}

}  // namespace
}  // namespace zrv
