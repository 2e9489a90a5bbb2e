#include "sync/atomic_file.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "files.h"

namespace zrv::test {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesAFileWholeAndKeepsItsPermissionBits) {
  for (const mode_t mode : {0600, 0640, 0604, 0755, 02750}) {
    SCOPED_TRACE(mode);
    TempDir dir;
    writeFile(dir / "file", "old bytes, longer than the new ones");
    ASSERT_EQ(::chmod((dir / "file").c_str(), mode), 0);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(dir / "file", std::string("new\0bytes", 9), error)) << error;
    EXPECT_EQ(filesUnder(dir.path()),
              (std::map<std::string, std::string>{{"file", std::string("new\0bytes", 9)}}));
    EXPECT_EQ(modeOf(dir / "file"), mode);
  }
}

TEST(AtomicFile, GivesANewFileTheModeOfAnyNewFile) {
  TempDir dir;
  const mode_t mask = ::umask(027);
  std::string error;
  const bool written = writeFileAtomically(dir / "new", "bytes", error);
  ::umask(mask);
  ASSERT_TRUE(written) << error;
  EXPECT_EQ(modeOf(dir / "new"), 0640u);
}

TEST(AtomicFile, ReplacesTheTargetOfALinkAndKeepsTheLink) {
  TempDir dir;
  fs::create_directory(dir / "store");
  writeFile(dir / "store" / "real", "old");
  ASSERT_EQ(::chmod((dir / "store" / "real").c_str(), 0604), 0);
  fs::create_symlink("store/real", dir / "link");
  fs::create_symlink("link", dir / "link to link");

  AtomicFile replacement(dir / "link to link");
  ASSERT_TRUE(replacement.isOpen()) << replacement.error();
  EXPECT_EQ(replacement.finalPath(), dir / "store" / "real");
  // The temporary file lies beside the file it replaces, so the rename stays on one file system.
  EXPECT_EQ(replacement.temporaryPath().parent_path(), dir / "store");
  ASSERT_TRUE(replacement.write("new"));
  ASSERT_TRUE(replacement.commit()) << replacement.error();

  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_TRUE(fs::is_symlink(dir / "link to link"));
  EXPECT_EQ(readFile(dir / "store" / "real"), "new");
  EXPECT_EQ(modeOf(dir / "store" / "real"), 0604u);
  EXPECT_EQ(namesIn(dir / "store"), std::vector<std::string>{"real"});
}

TEST(AtomicFile, TakesAFileThatALibraryWritesByItsPath) {
  TempDir dir;
  writeFile(dir / "words.db", "not a database yet");
  AtomicFile replacement(dir / "words.db");
  ASSERT_TRUE(replacement.isOpen());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(replacement.temporaryPath().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES (42);", nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(db);
  ASSERT_TRUE(replacement.commit()) << replacement.error();

  ASSERT_EQ(sqlite3_open((dir / "words.db").c_str(), &db), SQLITE_OK);
  sqlite3_stmt* statement = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT x FROM t", -1, &statement, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(statement, 0), 42);
  sqlite3_finalize(statement);
  sqlite3_close(db);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"words.db"});
}

TEST(AtomicFile, MakesADifferentTemporaryFileForEachReplacement) {
  TempDir dir;
  AtomicFile first(dir / "file");
  AtomicFile second(dir / "file");
  ASSERT_TRUE(first.isOpen() && second.isOpen());
  EXPECT_NE(first.temporaryPath(), second.temporaryPath());
  ASSERT_TRUE(first.write("first") && first.commit());
  ASSERT_TRUE(second.write("second") && second.commit());
  EXPECT_EQ(filesUnder(dir.path()), (std::map<std::string, std::string>{{"file", "second"}}));
}

TEST(AtomicFile, LeavesTheOldFileAndNoTemporaryFileWhenAStepFails) {
  struct Case {
    const char* name;
    bool failSync;
    bool abandon;
  };
  const Case cases[] = {
      {"the sync fails", true, false},
      {"abandoned", false, true},
      {"destroyed without a commit", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    writeFile(dir / "file", "old");
    AtomicFile::SyncFunction previous = nullptr;
    if (c.failSync) {
      previous = AtomicFile::replaceSyncFunction([](int) {
        errno = EIO;
        return -1;
      });
    }
    {
      AtomicFile replacement(dir / "file");
      ASSERT_TRUE(replacement.write("new"));
      if (c.failSync) {
        const std::string temporary = replacement.temporaryPath().string();
        EXPECT_FALSE(replacement.commit());
        EXPECT_EQ(replacement.error(), "cannot sync " + temporary + ": " + std::strerror(EIO));
      }
      if (c.abandon) {
        replacement.abandon();
      }
    }
    if (c.failSync) {
      AtomicFile::replaceSyncFunction(previous);
    }
    EXPECT_EQ(filesUnder(dir.path()), (std::map<std::string, std::string>{{"file", "old"}}));
  }
}

TEST(AtomicFile, FailsWithoutATraceInAFolderThatIsNotThere) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(writeFileAtomically(dir / "missing" / "file", "x", error));
  EXPECT_EQ(
      error.rfind(
          "cannot create a temporary file beside " + (dir / "missing" / "file").string() + ": ", 0),
      0u)
      << error;
  EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST(AtomicFile, RemovesOnlyRegularFilesLeftByInterruptedReplacements) {
  TempDir dir;
  TempDir elsewhere;
  writeFile(dir / "file", "current");
  writeFile(dir / "file.partial-Ab12Cd", "left by a run that was killed");
  writeFile(dir / "file.partial-zzzzzz", "left by another");
  writeFile(elsewhere / "victim", "must stay");
  fs::create_symlink(elsewhere / "victim", dir / "file.partial-LINKED");
  fs::create_directory(dir / "file.partial-FOLDER");
  writeFile(dir / "file.partial-short", "not the shape of a temporary name");
  writeFile(dir / "other.partial-Ab12Cd", "another file's");

  AtomicFile::removeLeftovers(dir / "file");

  EXPECT_EQ(namesIn(dir.path()),
            (std::vector<std::string>{"file", "file.partial-FOLDER", "file.partial-LINKED",
                                      "file.partial-short", "other.partial-Ab12Cd"}));
  EXPECT_EQ(readFile(elsewhere / "victim"), "must stay");
}

}  // namespace
}  // namespace zrv::test
