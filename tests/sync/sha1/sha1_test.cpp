// The digest family as its callers see it: digest texts of strings and files, the self-test,
// the error texts, and the 32-bit piecing of long texts.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "sync/sha1/add_in_pieces.h"
#include "sync/sha1/hl_exception.h"
#include "sync/sha1/sha1wrapper.h"

namespace zrv {
namespace {

// Varied bytes, so that a slip in byte or word order changes the digest.
const std::string kPattern =
    "The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs! "
    "0123456789";

std::string patternPrefix(std::size_t length) {
  std::string text;
  while (text.size() < length) {
    text += kPattern;
  }
  return text.substr(0, length);
}

// Deterministic bytes covering all 256 values, zero and high bytes included.
std::string mixedBytes(std::size_t length) {
  std::string bytes(length, '\0');
  std::uint32_t state = 12345;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 23);
  }
  return bytes;
}

std::string repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) {
    text += piece;
  }
  return text;
}

bool isLowerHexDigest(const std::string& text) {
  return text.size() == 40 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// A file in the temporary folder that is removed again when the test ends.
class TempFile {
 public:
  TempFile(const std::string& name, const std::string& content)
      : path_(std::filesystem::temp_directory_path() /
              ("zrv_sha1_" + std::to_string(::getpid()) + "_" + name)) {
    std::ofstream out(path_, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

struct DigestCase {
  const char* name;
  std::string text;
  const char* digest;
};

TEST(Sha1Digest, PublishedVectorsGiveTheirDigests) {
  const DigestCase cases[] = {
      // FIPS 180-4 examples (NIST CSRC "SHA1.pdf") and RFC 3174 section 7.3 TEST1 to TEST4.
      {"abc", "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"448 bits", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {"one million a", std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
      {"RFC 3174 TEST4", repeat("01234567", 80), "dea356a2cddd90c7a7ecedc5ebb563934f460452"},
      // FIPS 180-2 additional example: the 896-bit message.
      {"896 bits",
       "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlm"
       "nopqrsmnopqrstnopqrstu",
       "a49b2446a02c645bf419f995b67091253a04a259"},
      // The widely published digest of the pangram (e.g. the SHA-1 article's examples).
      {"quick brown fox", "The quick brown fox jumps over the lazy dog",
       "2fd4e1c67a2d28fced849ee1bb76e7391b93eb12"},
      // SHA-1 of the empty message, as published with the algorithm's test vectors.
      {"empty", "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
  };
  sha1wrapper hasher;
  for (const DigestCase& c : cases) {
    EXPECT_EQ(hasher.digestOfString(c.text), c.digest) << c.name;
  }
}

TEST(Sha1Digest, TextsAroundTheBlockBoundariesGiveTheStandardDigests) {
  // Expected digests computed with Python's hashlib.sha1 over the same bytes.
  const struct {
    std::size_t length;
    const char* digest;
  } cases[] = {
      {1, "c2c53d66948214258a26ca9ca845d7ac0c17f8e7"},
      {55, "b61e4bac1f29b31f0aaa09b657c7530f05a5aba8"},  // padding still fits in one block
      {56, "fdeb518dded36477c4c03e415395ea84f4620cf0"},  // the length needs a second block
      {57, "baf17fe3a50992b81803b63066d0088139b1b87a"},
      {63, "7d8bf7638c84ea3257db3d4675fa989a5a924ad0"},
      {64, "315c5bc02b09bafbec944d9146c7de4cb36bae26"},  // padding is a block of its own
      {65, "337166f77b05d8123947121b601c5be471ddb769"},
      {119, "9fae154a3791010c171c6bd5cb4f71072b1bb58c"},
      {120, "d6fd22b2070e81463e572ba7b1380c32388c4ef7"},
      {128, "00db0808f8c0c7a69208bb59fe0158155bfce84d"},
  };
  sha1wrapper hasher;
  for (const auto& c : cases) {
    EXPECT_EQ(hasher.digestOfString(patternPrefix(c.length)), c.digest) << c.length << " bytes";
  }
}

TEST(Sha1Digest, ZeroBytesInsideATextAreDigestedLikeAnyOther) {
  // Expected digests computed with Python's hashlib.sha1.
  const DigestCase cases[] = {
      {"zero in the middle", std::string("ab\0cd", 5), "cf76bf81edbf067731a98c6b7d2eb28824d38027"},
      {"one zero byte", std::string(1, '\0'), "5ba93c9db0cff93f52b521d7420e43f6eda2784f"},
      {"a block of zeros", std::string(64, '\0'), "c8d7d0ef0eedfa82d2ea1aa592845b9a6d4b02b7"},
      {"65 zeros", std::string(65, '\0'), "f0fa45906bd0f4c3668fcd0d8f68d4b298b30e5b"},
  };
  sha1wrapper hasher;
  for (const DigestCase& c : cases) {
    EXPECT_EQ(hasher.digestOfString(c.text), c.digest) << c.name;
  }
}

TEST(Sha1Digest, DigestTextIsFortyLowerCaseHexDigitsWithLeadingZeros) {
  sha1wrapper hasher;
  for (std::size_t length : {0u, 3u, 100u, 1000u}) {
    EXPECT_TRUE(isLowerHexDigest(hasher.digestOfString(mixedBytes(length)))) << length;
  }

  unsigned char bytes[20];
  for (int i = 0; i < 20; ++i) {
    bytes[i] = static_cast<unsigned char>(i);
  }
  EXPECT_EQ(hasher.digestToHex(bytes), "000102030405060708090a0b0c0d0e0f10111213");
  const unsigned char high[20] = {0xff, 0xfe, 0xab, 0xcd, 0xef, 0x80, 0x7f, 0x10, 0x0f, 0x00,
                                  0xa0, 0x0a, 0xde, 0xad, 0xbe, 0xef, 0x01, 0x99, 0xc3, 0x3c};
  EXPECT_EQ(hasher.digestToHex(high), "fffeabcdef807f100f00a00adeadbeef0199c33c");
}

TEST(Sha1Digest, FileAndStringOfTheSameBytesGiveTheSameDigest) {
  const std::size_t sizes[] = {0, 1, 64, 1000, 1023, 1024, 1025, 2048, 3072, 4097, 10000};
  sha1wrapper hasher;
  for (std::size_t size : sizes) {
    const std::string content = mixedBytes(size);
    const TempFile file("file_" + std::to_string(size) + ".bin", content);
    EXPECT_EQ(hasher.digestOfFile(file.path()), hasher.digestOfString(content)) << size;
  }
}

TEST(Sha1Digest, FileDigestMatchesAPublishedVector) {
  const TempFile file("million_a.txt", std::string(1000000, 'a'));
  sha1wrapper hasher;
  EXPECT_EQ(hasher.digestOfFile(file.path()), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(Sha1Digest, MissingFileThrowsCodeOneNamingTheFileAsGiven) {
  const std::string names[] = {"no_such_file.db", "./missing dir/with space/zrv_words.db", ""};
  sha1wrapper hasher;
  for (const std::string& name : names) {
    try {
      hasher.digestOfFile(name);
      ADD_FAILURE() << "no exception for \"" << name << "\"";
    } catch (const hlException& error) {
      EXPECT_EQ(error.errorCode, 1);
      EXPECT_EQ(error.errorText, "Cannot read file \"" + name + "\".");
    }
  }
}

TEST(Sha1Digest, ConsecutiveDigestsOnOneObjectAreIndependent) {
  sha1wrapper hasher;
  const TempFile file("independent.bin", patternPrefix(70));
  // A string that leaves bytes waiting in the block, then others: nothing carries over.
  EXPECT_EQ(hasher.digestOfString(patternPrefix(65)), "337166f77b05d8123947121b601c5be471ddb769");
  EXPECT_EQ(hasher.digestOfString("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(hasher.digestOfFile(file.path()), sha1wrapper().digestOfString(patternPrefix(70)));
  EXPECT_EQ(hasher.digestOfString(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(hasher.digestOfString("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

TEST(Sha1Digest, SecondFinishWithoutNewStartRepeatsTheText) {
  sha1wrapper hasher;
  hasher.startContext();
  hasher.addToContext(reinterpret_cast<const unsigned char*>("abc"), 3);
  EXPECT_EQ(hasher.finishDigest(), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(hasher.finishDigest(), "a9993e364706816aba3e25717850c26c9cd0d89d");
  // Input after the finish is refused, so the text stays that of "abc".
  hasher.addToContext(reinterpret_cast<const unsigned char*>("def"), 3);
  EXPECT_EQ(hasher.finishDigest(), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

TEST(Sha1Digest, PiecewiseAdditionsEqualOneAddition) {
  const std::string text = mixedBytes(3000);
  const std::uint32_t pieces[] = {1, 7, 55, 63, 64, 65, 1000};
  sha1wrapper hasher;
  const std::string whole = hasher.digestOfString(text);
  for (std::uint32_t piece : pieces) {
    hasher.startContext();
    for (std::size_t at = 0; at < text.size(); at += piece) {
      const std::size_t count = std::min<std::size_t>(piece, text.size() - at);
      hasher.addToContext(reinterpret_cast<const unsigned char*>(text.data()) + at,
                          static_cast<std::uint32_t>(count));
    }
    EXPECT_EQ(hasher.finishDigest(), whole) << "pieces of " << piece;
  }
}

TEST(Sha1SelfTest, PassesOnSha1) {
  sha1wrapper hasher;
  EXPECT_EQ(hasher.selfTestDigest(), "2fd4e1c67a2d28fced849ee1bb76e7391b93eb12");
  EXPECT_NO_THROW(hasher.selfTest());
}

// A hash kind whose known digest is wrong, to see the self-test's failure report.
class WrongSelfTestDigest : public sha1wrapper {
 public:
  std::string selfTestDigest() override { return "0123456789abcdef0123456789abcdef01234567"; }
};

TEST(Sha1SelfTest, MismatchThrowsCodeTwoWithBothTexts) {
  WrongSelfTestDigest hasher;
  try {
    hasher.selfTest();
    ADD_FAILURE() << "no exception";
  } catch (const hlException& error) {
    EXPECT_EQ(error.errorCode, 2);
    EXPECT_EQ(error.errorText,
              "hashlib test-error: \"2fd4e1c67a2d28fced849ee1bb76e7391b93eb12\" is not "
              "\"0123456789abcdef0123456789abcdef01234567\" as supposed to be.");
  }
}

TEST(Sha1Wrapper, WorksThroughTheBaseAndIsDestroyedThroughIt) {
  std::unique_ptr<hashwrapper> hasher = std::make_unique<sha1wrapper>();
  EXPECT_EQ(hasher->digestOfString("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  hasher.reset();  // the virtual destructor frees the engine; sanitizer builds would flag a leak
}

// Records the count of every addToContext call before passing it on.
class RecordingSha1 : public sha1wrapper {
 public:
  void addToContext(const unsigned char* data, std::uint32_t count) override {
    counts.push_back(count);
    sha1wrapper::addToContext(data, count);
  }
  std::vector<std::uint32_t> counts;
};

TEST(Sha1LongTexts, StringWithinOneCountGoesInOneAddition) {
  const struct {
    std::string text;
    std::vector<std::uint32_t> counts;
  } cases[] = {
      {"", {0}},
      {"abc", {3}},
      {std::string(100000, 'x'), {100000}},
  };
  for (const auto& c : cases) {
    RecordingSha1 hasher;
    hasher.digestOfString(c.text);
    EXPECT_EQ(hasher.counts, c.counts) << c.text.size() << " bytes";
  }
}

TEST(Sha1LongTexts, TextLongerThanThePieceLimitIsDigestedWhole) {
  // The same splitting that lets a 4 GiB text through 32-bit counts, at sizes a test can afford.
  const std::string fox = "The quick brown fox jumps over the lazy dog";
  const struct {
    std::uint32_t limit;
    std::vector<std::uint32_t> counts;
  } cases[] = {
      {7, {7, 7, 7, 7, 7, 7, 1}},
      {43, {43}},
      {20, {20, 20, 3}},
      {0, std::vector<std::uint32_t>(43, 1)},
  };
  for (const auto& c : cases) {
    RecordingSha1 hasher;
    hasher.startContext();
    addInPieces(hasher, reinterpret_cast<const unsigned char*>(fox.data()), fox.size(), c.limit);
    EXPECT_EQ(hasher.finishDigest(), "2fd4e1c67a2d28fced849ee1bb76e7391b93eb12") << c.limit;
    EXPECT_EQ(hasher.counts, c.counts) << c.limit;
  }

  RecordingSha1 hasher;
  hasher.startContext();
  const std::string million(1000000, 'a');
  addInPieces(hasher, reinterpret_cast<const unsigned char*>(million.data()), million.size(),
              4096 + 5);
  EXPECT_EQ(hasher.finishDigest(), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
  EXPECT_EQ(hasher.counts.size(), 1000000u / 4101u + 1u);
}

}  // namespace
}  // namespace zrv
