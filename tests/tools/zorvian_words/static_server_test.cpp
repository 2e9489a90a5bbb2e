#include "static_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <thread>

#include "files.h"
#include "publisher.h"

namespace zrv::words_tool {
namespace {

// A StaticServer on an ephemeral loopback port, answering in a thread for the test's lifetime.
class ServedRepository : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string database(200'000, '\0');
    for (std::size_t i = 0; i < database.size(); ++i) {
      database[i] = static_cast<char>((i * 37) >> 3);
    }
    zrv::test::writeFile(folder_ / "zrv_words.db", database);
    std::string error;
    ASSERT_TRUE(publishWordsDatabase(folder_ / "zrv_words.db", root(), "1.3.0", published_, error))
        << error;
    ASSERT_TRUE(server_.bind(root(), 0, error)) << error;
    ASSERT_GT(server_.port(), 0);
    thread_ = std::thread([this] { server_.serve(); });
  }
  void TearDown() override {
    server_.stop();
    if (thread_.joinable()) {
      thread_.join();
    }
  }

  std::filesystem::path root() const { return folder_ / "repo"; }
  std::string urlPath(std::string_view file) const {
    return "/" + std::string(kRepositoryFolder) + "/" + std::string(file);
  }
  httplib::Client client() const {
    httplib::Client c(kLoopbackAddress, server_.port());
    c.set_connection_timeout(5);
    c.set_read_timeout(10);
    c.set_decompress(false);  // see the bytes exactly as they travel
    return c;
  }

  zrv::test::TempDir folder_;
  PublishReport published_;
  StaticServer server_;
  std::thread thread_;
};

TEST_F(ServedRepository, ServesEveryPublishedFileByteForByteToAClientThatAcceptsNoEncoding) {
  for (std::string_view file : {kDatabaseFileName, kDigestFileName, kToolVersionFileName}) {
    const std::string expected = zrv::test::readFile(published_.folder / file);
    for (const httplib::Headers& headers :
         {httplib::Headers{}, httplib::Headers{{"Accept-Encoding", "identity"}},
          httplib::Headers{{"Accept-Encoding", "deflate, compress"}}}) {
      auto response = client().Get(urlPath(file), headers);
      ASSERT_TRUE(response) << file;
      EXPECT_EQ(response->status, 200) << file;
      EXPECT_FALSE(response->has_header("Content-Encoding")) << file;
      EXPECT_EQ(response->body, expected) << file;
    }
  }
}

TEST_F(ServedRepository, SendsThePrecompressedCopyThatTheRequestAccepts) {
  struct Case {
    const char* acceptEncoding;
    const char* expectedEncoding;  // "": the plain file
  };
  const Case cases[] = {
      {"gzip", "gzip"},
      {"br", "br"},
      {"zstd", "zstd"},
      {"gzip, deflate, br, zstd", "zstd"},  // what libcurl offers: the fastest to decode
      {"gzip, deflate, br", "br"},          // a libcurl without zstd: the smaller of the rest
      {"GZIP", "gzip"},
      {"zstd;q=0, br;q=0, gzip;q=0.5", "gzip"},
      {"br; q=0.0 ,gzip ; q=0", ""},
      {"*", "zstd"},
      {"*;q=0, gzip", "gzip"},
      {"*;q=0", ""},
      {"x-gzip-like", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.acceptEncoding);
    const httplib::Headers headers{{"Accept-Encoding", c.acceptEncoding}};
    auto response = client().Get(urlPath(kDatabaseFileName), headers);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 200);
    EXPECT_EQ(response->get_header_value("Content-Encoding"), c.expectedEncoding);
    EXPECT_EQ(response->get_header_value("Vary"), "Accept-Encoding");
    std::filesystem::path sent = published_.folder / kDatabaseFileName;
    const std::string encoding = c.expectedEncoding;
    sent += encoding == "zstd"   ? ".zst"
            : encoding == "br"   ? ".br"
            : encoding == "gzip" ? ".gz"
                                 : "";
    EXPECT_EQ(response->body, zrv::test::readFile(sent));
  }
  // The files without copies go out plain whatever the request accepts.
  for (std::string_view file : {kDigestFileName, kToolVersionFileName}) {
    auto response = client().Get(urlPath(file), {{"Accept-Encoding", "gzip, br"}});
    ASSERT_TRUE(response) << file;
    EXPECT_FALSE(response->has_header("Content-Encoding")) << file;
    EXPECT_EQ(response->body, zrv::test::readFile(published_.folder / file)) << file;
  }
  // A HEAD tells the same headers without the body.
  auto head = client().Head(urlPath(kDatabaseFileName), {{"Accept-Encoding", "gzip"}});
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_EQ(head->get_header_value("Content-Encoding"), "gzip");
  EXPECT_EQ(head->body, "");
}

TEST_F(ServedRepository, ACopyIsNeverAKeyToFilesOutsideTheRoot) {
  zrv::test::writeFile(folder_ / "secret", "outside");
  zrv::test::writeFile(folder_ / "secret.gz", "outside, compressed");
  for (const std::string& path : {std::string("/../secret"), std::string("/2.0/../../secret"),
                                  std::string("/%2e%2e/secret")}) {
    auto response = client().Get(path, {{"Accept-Encoding", "gzip"}});
    ASSERT_TRUE(response) << path;
    EXPECT_NE(response->status, 200) << path;
    EXPECT_EQ(response->body.find("outside"), std::string::npos) << path;
  }
}

TEST_F(ServedRepository, AnswersNotFoundForAnythingButAFile) {
  for (const std::string& path : {urlPath("missing.db"), std::string("/2.0/../../etc/passwd"),
                                  std::string("/nothing"), urlPath("zrv_words.db.publishing")}) {
    auto response = client().Get(path);
    ASSERT_TRUE(response) << path;
    EXPECT_NE(response->status, 200) << path;
  }
}

TEST_F(ServedRepository, ASecondServerCannotTakeTheSamePort) {
  StaticServer second;
  std::string error;
  EXPECT_FALSE(second.bind(root(), server_.port(), error));
  EXPECT_EQ(error, "cannot bind 127.0.0.1:" + std::to_string(server_.port()));
  EXPECT_EQ(second.port(), 0);
}

TEST(StaticServer, ARootThatIsNoFolderCannotBeServed) {
  zrv::test::TempDir folder;
  StaticServer server;
  std::string error;
  EXPECT_FALSE(server.bind(folder / "absent", 0, error));
  EXPECT_EQ(error, "no folder to serve at " + (folder / "absent").string());
}

}  // namespace
}  // namespace zrv::words_tool
