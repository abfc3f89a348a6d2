#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quill::check {

struct FetchOptions {
  int parallel = 8;          // addresses fetched at the same time
  long timeout_ms = 10'000;  // for each request, from connecting to the last byte wanted
  long max_redirects = 5;
  std::string cache_file;  // where results are kept; empty: nothing is kept
  std::int64_t cache_seconds = 24 * 60 * 60;
  std::int64_t now = 0;  // the time, in seconds since 1970, that results are kept from
};

// What fetching an address found: nothing wrong, or why not.
struct FetchResult {
  bool ok = false;
  std::string reason;  // "404 Not Found", "unreachable: …", "timed out after 10 s"
};

// Fetches each address once with libcurl's multi interface: a HEAD request, and a GET when
// the server refuses HEAD (some answer it with an error of their own), following up to
// `max_redirects` redirects. Results younger than `cache_seconds` come from the cache file
// instead; every fetched result is written back to it.
std::map<std::string, FetchResult> FetchAddresses(const std::vector<std::string>& addresses,
                                                  const FetchOptions& options);

// "404 Not Found", "503 Service Unavailable"; "HTTP 499" for a status without a common name.
std::string StatusText(long status);

}  // namespace quill::check
