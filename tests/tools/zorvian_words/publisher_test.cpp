#include "publisher.h"

#include <brotli/decode.h>
#include <gtest/gtest.h>
#include <zlib.h>
#include <zstd.h>

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

/// The bytes of a copy in `encoding` as a decoder other than the publisher's reads them; fails
/// the test on a stream it cannot decode.
std::string decoded(std::string_view encoding, const std::string& bytes) {
  std::string out;
  if (encoding == "zstd") {
    ZSTD_DStream* stream = ZSTD_createDStream();
    ZSTD_inBuffer in{bytes.data(), bytes.size(), 0};
    std::size_t status = 1;
    while (status != 0 && !ZSTD_isError(status)) {
      char block[65536];
      ZSTD_outBuffer next{block, sizeof block, 0};
      status = ZSTD_decompressStream(stream, &next, &in);
      out.append(block, next.pos);
      if (next.pos == 0 && in.pos == in.size && status != 0) {
        break;  // a stream cut short: no more output will come
      }
    }
    ZSTD_freeDStream(stream);
    EXPECT_EQ(status, 0u) << (ZSTD_isError(status) ? ZSTD_getErrorName(status) : "cut short");
    return out;
  }
  if (encoding == "br") {
    BrotliDecoderState* state = BrotliDecoderCreateInstance(nullptr, nullptr, nullptr);
    std::size_t inLeft = bytes.size();
    const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data());
    BrotliDecoderResult result = BROTLI_DECODER_RESULT_NEEDS_MORE_OUTPUT;
    while (result == BROTLI_DECODER_RESULT_NEEDS_MORE_OUTPUT) {
      std::uint8_t block[65536];
      std::size_t outLeft = sizeof block;
      std::uint8_t* next = block;
      result = BrotliDecoderDecompressStream(state, &inLeft, &in, &outLeft, &next, nullptr);
      out.append(reinterpret_cast<char*>(block), sizeof block - outLeft);
    }
    BrotliDecoderDestroyInstance(state);
    EXPECT_EQ(result, BROTLI_DECODER_RESULT_SUCCESS);
    return out;
  }
  z_stream stream{};
  EXPECT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);  // gzip only, not zlib's own format
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  int status = Z_OK;
  while (status == Z_OK) {
    char block[65536];
    stream.next_out = reinterpret_cast<Bytef*>(block);
    stream.avail_out = sizeof block;
    status = inflate(&stream, Z_NO_FLUSH);
    out.append(block, sizeof block - stream.avail_out);
  }
  inflateEnd(&stream);
  EXPECT_EQ(status, Z_STREAM_END);
  return out;
}

/// The published files of `folder`, with each precompressed copy decoded.
std::map<std::string, std::string> publishedFiles(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files = zrv::test::filesUnder(folder);
  for (const PrecompressedFormat& format : kPrecompressedFormats) {
    auto copy = files.find(kFolder + "zrv_words.db" + std::string(format.suffix));
    if (copy != files.end()) {
      copy->second = "decoded: " + decoded(format.encoding, copy->second);
    }
  }
  return files;
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
      {kFolder + "zrv_words.db.br", "decoded: " + database},
      {kFolder + "zrv_words.db.gz", "decoded: " + database},
      {kFolder + "zrv_words.db.zst", "decoded: " + database},
  };
  EXPECT_EQ(publishedFiles(folder / "repo"), expected);
  // The copies are the files themselves, smaller than the database, in the table's order.
  ASSERT_EQ(report.compressedSizes.size(), std::size(kPrecompressedFormats));
  for (std::size_t i = 0; i < report.compressedSizes.size(); ++i) {
    std::filesystem::path copy = report.folder / "zrv_words.db";
    copy += kPrecompressedFormats[i].suffix;
    EXPECT_EQ(report.compressedSizes[i], std::filesystem::file_size(copy));
    EXPECT_LT(report.compressedSizes[i], database.size());
  }
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
      {kFolder + "zrv_words.db.br", "decoded: " + second},
      {kFolder + "zrv_words.db.gz", "decoded: " + second},
      {kFolder + "zrv_words.db.zst", "decoded: " + second},
  };
  EXPECT_EQ(publishedFiles(folder / "repo"), expected);
}

TEST(Publisher, PublishingADatabaseThatIsNotThereWritesNothing) {
  zrv::test::TempDir folder;
  PublishReport report;
  std::string error;
  EXPECT_FALSE(publishWordsDatabase(folder / "none.db", folder / "repo", "1.3.0", report, error));
  EXPECT_EQ(error, "no database to publish at " + (folder / "none.db").string());
  EXPECT_FALSE(std::filesystem::exists(folder / "repo"));
}

TEST(Publisher, CompressesAnEmptyDatabaseToo) {
  for (const PrecompressedFormat& format : kPrecompressedFormats) {
    SCOPED_TRACE(format.encoding);
    std::string compressed;
    ASSERT_TRUE(compressBytes(format, "", compressed));
    EXPECT_EQ(decoded(format.encoding, compressed), "");
  }
}

TEST(Publisher, AnAtomicWriteReplacesTheFileOrFailsWithoutATrace) {
  zrv::test::TempDir folder;
  std::string error;
  zrv::test::writeFile(folder / "file.txt", "old contents that are longer");
  ASSERT_TRUE(writeFileAtomically(folder / "file.txt", "new", error)) << error;
  EXPECT_EQ(zrv::test::readFile(folder / "file.txt"), "new");
  EXPECT_FALSE(writeFileAtomically(folder / "no-such-folder" / "file.txt", "x", error));
  EXPECT_EQ(error.rfind("cannot create a temporary file beside " +
                            (folder / "no-such-folder" / "file.txt").string(),
                        0),
            0u)
      << error;
  EXPECT_EQ(zrv::test::filesUnder(folder.path()),
            (std::map<std::string, std::string>{{"file.txt", "new"}}));
}

}  // namespace
}  // namespace zrv::words_tool
