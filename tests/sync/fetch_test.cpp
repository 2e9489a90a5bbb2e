#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "app/run_state.h"
#include "repository_server.h"
#include "sync/remote_fetch.h"

namespace zrv::test {
namespace {

/// A run state for the fetch layer alone, printing into `out`.
struct FetchBench {
  std::istringstream in;
  std::ostringstream out;
  Console console{in, out};
  RunState state{console, RepositorySettings{"", 3}};
};

TEST(TransferErrorReport, EndsTheLineOnceWhateverTheErrorTextEndsWith) {
  struct Case {
    const char* name;
    const char* errorText;
    std::string expected;
  };
  const Case cases[] = {
      {"plain text", "Couldn't connect to server",
       "earlier line\n[ERROR] cURL: Couldn't connect to server\n"},
      {"text that ends with a line break", "Recv failure\n",
       "earlier line\n[ERROR] cURL: Recv failure\n"},
      {"empty text", "", "earlier line\n[ERROR] cURL: \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FetchBench bench;
    std::strcpy(bench.state.curlErrorBuffer, c.errorText);
    // The report follows what was printed before it on the same stream.
    bench.out << "earlier line\n";
    reportTransferError(bench.state);
    EXPECT_EQ(bench.out.str(), c.expected);
  }
}

TEST(CurlWriteCallback, AppendsEveryByteAndReportsThemAllTaken) {
  std::string target("ab", 2);
  const std::string piece("\0x\0\xff\r\n", 6);
  std::string data = piece;
  EXPECT_EQ(curlWriteCallback(data.data(), 3, 2, &target), 6u);
  EXPECT_EQ(curlWriteCallback(data.data(), 1, 0, &target), 0u);
  EXPECT_EQ(target, std::string("ab", 2) + piece);
}

TEST(RemoteFetch, TakesWholeBodiesOfAnyStatusAndOnlyAppendsToTheTarget) {
  RepositoryServer server(0);
  const std::string binary("zero\0bytes\0inside", 17);
  server.always("/missing", Reply::withStatus(404, "<h1>Not Found</h1>"));
  server.always("/binary", Reply::ok(binary));
  FetchBench bench;
  ASSERT_EQ(openCurlHandle(bench.state), PhaseResult::kGoOn);

  std::string page;
  configureAndFetch(bench.state, server.baseUrl() + "/missing", page);
  EXPECT_EQ(bench.state.curlResult, CURLE_OK);
  EXPECT_EQ(page, "<h1>Not Found</h1>");

  std::string body = "kept:";
  fetchInto(bench.state, server.baseUrl() + "/binary", body);
  EXPECT_EQ(bench.state.curlResult, CURLE_OK);
  repeatFetch(bench.state);
  EXPECT_EQ(bench.state.curlResult, CURLE_OK);
  EXPECT_EQ(body, "kept:" + binary + binary);
  EXPECT_EQ(server.requests("/binary"), 2);

  closeCurlHandle(bench.state);
  EXPECT_EQ(bench.state.curlHandle, nullptr);
  EXPECT_EQ(bench.out.str(), "");
}

TEST(RemoteFetch, FailsATransferThatIsCutShortAndLeavesAnErrorText) {
  RepositoryServer server(0);
  server.always("/cut", Reply::cutMidBody("first part"));
  FetchBench bench;
  ASSERT_EQ(openCurlHandle(bench.state), PhaseResult::kGoOn);
  std::string body;
  configureAndFetch(bench.state, server.baseUrl() + "/cut", body);
  EXPECT_NE(bench.state.curlResult, CURLE_OK);
  EXPECT_NE(std::strlen(bench.state.curlErrorBuffer), 0u);
  closeCurlHandle(bench.state);
}

}  // namespace
}  // namespace zrv::test
