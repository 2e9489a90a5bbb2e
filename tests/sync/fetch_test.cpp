#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <cstring>
#include <sstream>
#include <string>
#include <thread>

#include "app/run_state.h"
#include "idle_listener.h"
#include "repository_server.h"
#include "sync/remote_fetch.h"
#include "sync/transfer_limits.h"

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

/// A transfer of `url` into `body` with the bounds of the digest file.
Transfer smallFile(const std::string& url, std::string& body) {
  return Transfer{url, &body, kMaxSmallFileBytes, 0};
}

TEST(CurlWriteCallback, AppendsEveryByteUpToTheBoundAndFailsPastIt) {
  std::string target("ab", 2);
  Transfer transfer{"", &target, 10, 0};
  const std::string piece("\0x\0\xff\r\n", 6);
  std::string data = piece;
  EXPECT_EQ(curlWriteCallback(data.data(), 3, 2, &transfer), 6u);
  EXPECT_EQ(curlWriteCallback(data.data(), 1, 0, &transfer), 0u);
  EXPECT_EQ(target, std::string("ab", 2) + piece);
  EXPECT_EQ(curlWriteCallback(data.data(), 1, 2, &transfer), 2u);  // exactly at the bound
  EXPECT_EQ(curlWriteCallback(data.data(), 1, 1, &transfer), 0u);  // one past it
  EXPECT_EQ(target.size(), 10u);
}

TEST(RemoteFetch, TakesWholeBodiesOfAnyStatusAndOnlyAppendsToTheTarget) {
  RepositoryServer server(0);
  const std::string binary("zero\0bytes\0inside", 17);
  server.always("/missing", Reply::withStatus(404, "<h1>Not Found</h1>"));
  server.always("/binary", Reply::ok(binary));
  FetchBench bench;
  ASSERT_EQ(openCurlHandle(bench.state), PhaseResult::kGoOn);
  const CurlHandleOwner owner(bench.state);

  std::string page;
  Transfer missing = smallFile(server.baseUrl() + "/missing", page);
  configureAndFetch(bench.state, missing);
  EXPECT_EQ(bench.state.curlResult, CURLE_OK);
  EXPECT_EQ(page, "<h1>Not Found</h1>");

  std::string body = "kept:";
  Transfer binaryTransfer = smallFile(server.baseUrl() + "/binary", body);
  fetchInto(bench.state, binaryTransfer);
  EXPECT_EQ(bench.state.curlResult, CURLE_OK);
  repeatFetch(bench.state);
  EXPECT_EQ(bench.state.curlResult, CURLE_OK);
  EXPECT_EQ(body, "kept:" + binary + binary);
  EXPECT_EQ(server.requests("/binary"), 2);

  EXPECT_EQ(bench.out.str(), "");
}

TEST(RemoteFetch, FailsATransferThatIsCutShortAndLeavesAnErrorText) {
  RepositoryServer server(0);
  server.always("/cut", Reply::cutMidBody("first part"));
  FetchBench bench;
  ASSERT_EQ(openCurlHandle(bench.state), PhaseResult::kGoOn);
  const CurlHandleOwner owner(bench.state);
  std::string body;
  Transfer cut = smallFile(server.baseUrl() + "/cut", body);
  configureAndFetch(bench.state, cut);
  EXPECT_NE(bench.state.curlResult, CURLE_OK);
  EXPECT_NE(std::strlen(bench.state.curlErrorBuffer), 0u);
}

TEST(CurlHandleOwner, ReleasesTheHandleWhenItsScopeEnds) {
  FetchBench bench;
  {
    ASSERT_EQ(openCurlHandle(bench.state), PhaseResult::kGoOn);
    const CurlHandleOwner owner(bench.state);
    EXPECT_NE(bench.state.curlHandle, nullptr);
  }
  EXPECT_EQ(bench.state.curlHandle, nullptr);
  // An owner of a handle that was never made has nothing to do.
  { const CurlHandleOwner owner(bench.state); }
  EXPECT_EQ(bench.state.curlHandle, nullptr);
}

TEST(RemoteFetch, TakesOnlyHttpAndHttpsAddresses) {
  IdleListener other;
  FetchBench bench;
  ASSERT_EQ(openCurlHandle(bench.state), PhaseResult::kGoOn);
  const CurlHandleOwner owner(bench.state);
  for (const std::string scheme : {"ftp", "gopher", "telnet", "dict"}) {
    SCOPED_TRACE(scheme);
    std::string body;
    Transfer transfer =
        smallFile(scheme + "://127.0.0.1:" + std::to_string(other.port()) + "/x", body);
    configureAndFetch(bench.state, transfer);
    EXPECT_EQ(bench.state.curlResult, CURLE_UNSUPPORTED_PROTOCOL);
  }
  EXPECT_EQ(other.takeConnections(), 0);
}

// A certificate for 127.0.0.1 made for the test, and the key that signed it.
struct TestIdentity {
  TestIdentity() {
    key = EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256");
    certificate = X509_new();
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), 0);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 3600);
    X509_set_pubkey(certificate, key);
    X509_NAME* name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    X509_sign(certificate, key, EVP_sha256());
  }
  ~TestIdentity() {
    X509_free(certificate);
    EVP_PKEY_free(key);
  }
  TestIdentity(const TestIdentity&) = delete;
  TestIdentity& operator=(const TestIdentity&) = delete;

  EVP_PKEY* key = nullptr;
  X509* certificate = nullptr;
};

TEST(RemoteFetch, FollowsARedirectFromHttpsOnlyToHttps) {
  RepositoryServer plain(0);
  plain.always("/target", Reply::ok("sent in the clear"));
  TestIdentity identity;
  httplib::SSLServer tls(identity.certificate, identity.key);
  ASSERT_TRUE(tls.is_valid());
  const int tlsPort = tls.bind_to_any_port("127.0.0.1");
  const std::string tlsBase = "https://127.0.0.1:" + std::to_string(tlsPort);
  tls.Get("/down", [&](const httplib::Request&, httplib::Response& response) {
    response.set_redirect(plain.baseUrl() + "/target");
  });
  tls.Get("/shouting", [&](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("HTTP://127.0.0.1:" + std::to_string(plain.port()) + "/target");
  });
  tls.Get("/across", [&](const httplib::Request&, httplib::Response& response) {
    response.set_redirect(tlsBase + "/same");
  });
  tls.Get("/relative", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/same");
  });
  tls.Get("/same", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("sent encrypted", "application/octet-stream");
  });
  std::thread serving([&] { tls.listen_after_bind(); });
  while (!tls.is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  struct Case {
    const char* path;
    bool followed;
  };
  const Case cases[] = {
      {"/across", true}, {"/relative", true}, {"/down", false}, {"/shouting", false}};
  FetchBench bench;
  ASSERT_EQ(openCurlHandle(bench.state), PhaseResult::kGoOn);
  const CurlHandleOwner owner(bench.state);
  // The test's own certificate is not one the system trusts.
  curl_easy_setopt(bench.state.curlHandle, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(bench.state.curlHandle, CURLOPT_SSL_VERIFYHOST, 0L);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string body;
    Transfer transfer = smallFile(tlsBase + c.path, body);
    configureAndFetch(bench.state, transfer);
    EXPECT_EQ(bench.state.curlResult == CURLE_OK, c.followed);
    EXPECT_EQ(body, c.followed ? "sent encrypted" : "");
  }
  EXPECT_EQ(plain.requests("/target"), 0);
  tls.stop();
  serving.join();
}

}  // namespace
}  // namespace zrv::test
