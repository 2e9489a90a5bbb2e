#include "publisher.h"

#include <gtest/gtest.h>

#include <map>

#include "files.h"
#include "sync/sha1/sha1wrapper.h"

namespace zrv::words_tool {
namespace {

const std::string kFolder = std::string(kRepositoryFolder) + "/";

// Bytes with zeros and every byte value, the way a real database holds them.
std::string databaseBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 9)) & 0xFF);
  }
  return bytes;
}

std::string digestOf(const std::filesystem::path& file) {
  sha1wrapper sha1;
  return sha1.digestOfFile(file.string());
}

TEST(Publisher, LaysOutTheDownloadPathsWithTheDatabaseItsDigestAndTheToolVersion) {
  zrv::test::TempDir folder;
  const std::string database = databaseBytes(300'000, 1);
  zrv::test::writeFile(folder / "zrv_words.db", database);
  PublishReport report;
  std::string error;
  ASSERT_TRUE(
      publishWordsDatabase(folder / "zrv_words.db", folder / "repo", "1.3.0", report, error))
      << error;

  const std::string digest = digestOf(folder / "zrv_words.db");
  const std::map<std::string, std::string> expected = {
      {kFolder + "db_hash.sha1", digest + "\n"},
      {kFolder + "tool_version.txt", "1.3.0\n"},
      {kFolder + "zrv_words.db", database},
  };
  EXPECT_EQ(zrv::test::filesUnder(folder / "repo"), expected);
  EXPECT_EQ(report.digest, digest);
  EXPECT_EQ(report.folder, folder / "repo" / kRepositoryFolder);
  ASSERT_EQ(digest.size(), 40u);
  EXPECT_EQ(digest.find_first_not_of("0123456789abcdef"), std::string::npos);
}

TEST(Publisher, TheDigestIsTheSha1OfTheDatabaseBytes) {
  // FIPS 180-4, appendix A.1: SHA-1("abc").
  zrv::test::TempDir folder;
  zrv::test::writeFile(folder / "abc.db", "abc");
  PublishReport report;
  std::string error;
  ASSERT_TRUE(publishWordsDatabase(folder / "abc.db", folder / "repo", "9.9.9", report, error));
  EXPECT_EQ(zrv::test::readFile(report.folder / "db_hash.sha1"),
            "a9993e364706816aba3e25717850c26c9cd0d89d\n");
  EXPECT_EQ(zrv::test::readFile(report.folder / "tool_version.txt"), "9.9.9\n");
}

TEST(Publisher, RepublishingReplacesEveryFileAndLeavesNoTemporaryFile) {
  zrv::test::TempDir folder;
  PublishReport report;
  std::string error;
  zrv::test::writeFile(folder / "first.db", databaseBytes(50'000, 2));
  ASSERT_TRUE(publishWordsDatabase(folder / "first.db", folder / "repo", "1.3.0", report, error));
  const std::string second = databaseBytes(20'000, 3);
  zrv::test::writeFile(folder / "second.db", second);
  ASSERT_TRUE(publishWordsDatabase(folder / "second.db", folder / "repo", "1.4.0", report, error));

  const std::map<std::string, std::string> expected = {
      {kFolder + "db_hash.sha1", digestOf(folder / "second.db") + "\n"},
      {kFolder + "tool_version.txt", "1.4.0\n"},
      {kFolder + "zrv_words.db", second},
  };
  EXPECT_EQ(zrv::test::filesUnder(folder / "repo"), expected);
}

TEST(Publisher, PublishingADatabaseThatIsNotThereWritesNothing) {
  zrv::test::TempDir folder;
  PublishReport report;
  std::string error;
  EXPECT_FALSE(publishWordsDatabase(folder / "none.db", folder / "repo", "1.3.0", report, error));
  EXPECT_EQ(error, "no database to publish at " + (folder / "none.db").string());
  EXPECT_FALSE(std::filesystem::exists(folder / "repo"));
}

TEST(Publisher, AnAtomicWriteReplacesTheFileOrFailsWithoutATrace) {
  zrv::test::TempDir folder;
  std::string error;
  zrv::test::writeFile(folder / "file.txt", "old contents that are longer");
  ASSERT_TRUE(writeFileAtomically(folder / "file.txt", "new", error)) << error;
  EXPECT_EQ(zrv::test::readFile(folder / "file.txt"), "new");
  EXPECT_FALSE(writeFileAtomically(folder / "no-such-folder" / "file.txt", "x", error));
  EXPECT_EQ(error, "cannot write " + (folder / "no-such-folder" / "file.txt.publishing").string());
  EXPECT_EQ(zrv::test::filesUnder(folder.path()),
            (std::map<std::string, std::string>{{"file.txt", "new"}}));
}

}  // namespace
}  // namespace zrv::words_tool
