#include "check/external_links.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "support/http_server.h"
#include "support/temp_dir.h"

namespace quill::check {
namespace {

using testing::HttpServer;

class ExternalLinksTest : public ::testing::Test {
 protected:
  ExternalLinksTest() {
    options_.timeout_ms = 1500;
    options_.cache_file = dir_.File("links.tsv");
    options_.now = 1'800'000'000;
  }

  long Times(const std::string& request) const {
    const std::vector<std::string> requests = server_.Requests();
    return std::count(requests.begin(), requests.end(), request);
  }

  HttpServer server_{{
      {"/ok", {{"", {200}}}},
      {"/moved", {{"", {301, "/ok"}}}},
      {"/missing", {{"", {404}}}},
      {"/no-head", {{"HEAD", {405}}, {"GET", {200}}}},
      {"/gone-for-get", {{"HEAD", {403}}, {"GET", {410}}}},
      {"/loop", {{"", {302, "/loop"}}}},
      {"/stall", {{"", {0}}}},
  }};
  testing::TempDir dir_;
  FetchOptions options_;
};

TEST_F(ExternalLinksTest, EachAddressIsAskedOnceAndWhatFailsSaysWhy) {
  const std::vector<std::string> addresses = {
      server_.Address("/ok"),      server_.Address("/moved"),        server_.Address("/missing"),
      server_.Address("/no-head"), server_.Address("/gone-for-get"), server_.Address("/loop"),
      server_.Address("/stall"),   server_.Address("/ok"),           "http://127.0.0.1:1/closed"};
  const auto started = std::chrono::steady_clock::now();
  const auto results = FetchAddresses(addresses, options_);
  // The stalled address ends at its timeout; the others go meanwhile, side by side.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(6));

  EXPECT_TRUE(results.at(server_.Address("/ok")).ok);
  EXPECT_TRUE(results.at(server_.Address("/moved")).ok);
  EXPECT_TRUE(results.at(server_.Address("/no-head")).ok);
  EXPECT_EQ(results.at(server_.Address("/missing")).reason, "404 Not Found");
  EXPECT_EQ(results.at(server_.Address("/gone-for-get")).reason, "410 Gone");
  EXPECT_EQ(results.at(server_.Address("/loop")).reason, "more than 5 redirects");
  EXPECT_EQ(results.at(server_.Address("/stall")).reason, "timed out after 1.5 s");
  EXPECT_EQ(results.at("http://127.0.0.1:1/closed").reason.rfind("unreachable: ", 0), 0u);

  EXPECT_EQ(Times("HEAD /ok"), 2);  // once for itself, once at the end of the redirect
  EXPECT_EQ(Times("GET /ok"), 0);
  EXPECT_EQ(Times("HEAD /moved"), 1);
  EXPECT_EQ(Times("HEAD /missing"), 1);
  EXPECT_EQ(Times("GET /missing"), 1);  // a refused HEAD is asked again with GET
  EXPECT_EQ(Times("GET /no-head"), 1);
  EXPECT_EQ(Times("HEAD /stall"), 1);
  EXPECT_EQ(Times("GET /stall"), 0);  // a timeout is not waited for twice
}

TEST_F(ExternalLinksTest, ResultsAreKeptForADay) {
  const std::vector<std::string> addresses = {server_.Address("/ok"), server_.Address("/missing")};
  FetchAddresses(addresses, options_);
  const std::size_t first = server_.Requests().size();

  options_.now += 24 * 60 * 60 - 1;
  auto results = FetchAddresses(addresses, options_);
  EXPECT_EQ(server_.Requests().size(), first);
  EXPECT_TRUE(results.at(server_.Address("/ok")).ok);
  EXPECT_EQ(results.at(server_.Address("/missing")).reason, "404 Not Found");

  options_.now += 1;
  results = FetchAddresses(addresses, options_);
  EXPECT_EQ(server_.Requests().size(), 2 * first);

  // A damaged cache is only a cache: everything is asked again.
  testing::WriteFile(options_.cache_file, "quillsmith link cache 1\nnonsense\n\t\t\n");
  results = FetchAddresses(addresses, options_);
  EXPECT_EQ(server_.Requests().size(), 3 * first);
  EXPECT_TRUE(results.at(server_.Address("/ok")).ok);
}

}  // namespace
}  // namespace quill::check
