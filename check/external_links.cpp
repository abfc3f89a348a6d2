#include "check/external_links.h"

#include <curl/curl.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "core/atomic_file.h"
#include "core/product.h"

namespace quill::check {
namespace {

constexpr char kCacheHeader[] = "quillsmith link cache 1";

struct StatusName {
  long status;
  const char* name;
};

constexpr StatusName kStatusNames[] = {
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {402, "Payment Required"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {406, "Not Acceptable"},
    {407, "Proxy Authentication Required"},
    {408, "Request Timeout"},
    {409, "Conflict"},
    {410, "Gone"},
    {429, "Too Many Requests"},
    {451, "Unavailable For Legal Reasons"},
    {500, "Internal Server Error"},
    {501, "Not Implemented"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
    {504, "Gateway Timeout"},
};

// One address on its way: its HEAD request first, then perhaps a GET.
struct Transfer {
  std::string address;
  bool get = false;
  char error[CURL_ERROR_SIZE] = {};
};

// A GET is sent only for its status: the body is cut off at its first bytes.
std::size_t CutBody(char*, std::size_t, std::size_t, void*) { return 0; }

CURL* StartTransfer(Transfer& transfer, const FetchOptions& options) {
  CURL* easy = curl_easy_init();
  if (easy == nullptr) return nullptr;
  static const std::string agent =
      std::string("Quillsmith link check/") + std::to_string(core::kVersionMajor) + "." +
      std::to_string(core::kVersionMinor) + "." + std::to_string(core::kVersionRevision);
  curl_easy_setopt(easy, CURLOPT_URL, transfer.address.c_str());
  curl_easy_setopt(easy, CURLOPT_PRIVATE, &transfer);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer.error);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, options.max_redirects);
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, options.timeout_ms);
  curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(easy, CURLOPT_NOBODY, transfer.get ? 0L : 1L);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, CutBody);
  return easy;
}

std::string Seconds(long ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", static_cast<double>(ms) / 1000.0);
  return text;
}

// What one finished request says; nullopt when a GET should follow the HEAD.
std::optional<FetchResult> Outcome(CURL* easy, CURLcode code, const Transfer& transfer,
                                   const FetchOptions& options) {
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  // A GET cut short after its headers has its status all the same.
  const bool answered = code == CURLE_OK || (transfer.get && code == CURLE_WRITE_ERROR && status);
  if (answered) {
    if (status < 400) return FetchResult{true, {}};
    if (!transfer.get) return std::nullopt;
    return FetchResult{false, StatusText(status)};
  }
  if (code == CURLE_OPERATION_TIMEDOUT) {
    return FetchResult{false, "timed out after " + Seconds(options.timeout_ms)};
  }
  if (code == CURLE_TOO_MANY_REDIRECTS) {
    return FetchResult{false, "more than " + std::to_string(options.max_redirects) + " redirects"};
  }
  const std::string why = transfer.error[0] != '\0' ? transfer.error : curl_easy_strerror(code);
  return FetchResult{false, "unreachable: " + why};
}

using Results = std::map<std::string, FetchResult>;
struct Kept {
  std::int64_t when;
  FetchResult result;
};

std::map<std::string, Kept> ReadCache(const std::string& path) {
  std::map<std::string, Kept> kept;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!std::getline(in, line) || line != kCacheHeader) return kept;
  while (std::getline(in, line)) {
    // when, tab, "ok" or the reason, tab, address
    const std::size_t first = line.find('\t');
    const std::size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
    if (second == std::string::npos) continue;
    try {
      const std::int64_t when = std::stoll(line.substr(0, first));
      const std::string verdict = line.substr(first + 1, second - first - 1);
      kept[line.substr(second + 1)] = {when, {verdict == "ok", verdict == "ok" ? "" : verdict}};
    } catch (const std::exception&) {
      continue;  // a damaged line is fetched again
    }
  }
  return kept;
}

bool Fits(const std::string& text) { return text.find_first_of("\t\r\n") == std::string::npos; }

void WriteCache(const std::string& path, const std::map<std::string, Kept>& kept) {
  std::ostringstream text;
  text << kCacheHeader << '\n';
  for (const auto& [address, entry] : kept) {
    if (!Fits(address) || !Fits(entry.result.reason)) continue;
    text << entry.when << '\t' << (entry.result.ok ? "ok" : entry.result.reason) << '\t' << address
         << '\n';
  }
  try {
    core::AtomicFile file(path);
    file.Write(text.str());
    file.Commit();
  } catch (const std::exception&) {
    // The cache only saves time: a run that cannot keep it still checked every address.
  }
}

void FetchAll(std::vector<Transfer>& transfers, const FetchOptions& options, Results& results) {
  CURLM* multi = curl_multi_init();
  std::size_t next = 0;
  int running = 0;
  const auto add = [&](Transfer& transfer) {
    if (CURL* easy = StartTransfer(transfer, options)) {
      curl_multi_add_handle(multi, easy);
      ++running;
    } else {
      results[transfer.address] = {false, "unreachable: libcurl could not start a request"};
    }
  };
  while (next < transfers.size() && running < options.parallel) add(transfers[next++]);
  while (running > 0) {
    int still = 0;
    curl_multi_perform(multi, &still);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg != CURLMSG_DONE) continue;
      CURL* easy = message->easy_handle;
      Transfer* transfer = nullptr;
      curl_easy_getinfo(easy, CURLINFO_PRIVATE, reinterpret_cast<char**>(&transfer));
      const std::optional<FetchResult> outcome =
          Outcome(easy, message->data.result, *transfer, options);
      curl_multi_remove_handle(multi, easy);
      curl_easy_cleanup(easy);
      --running;
      if (outcome) {
        results[transfer->address] = *outcome;
      } else {
        transfer->get = true;  // HEAD refused: ask again with GET
        add(*transfer);
      }
    }
    while (next < transfers.size() && running < options.parallel) add(transfers[next++]);
    if (running > 0) curl_multi_poll(multi, nullptr, 0, 100, nullptr);
  }
  curl_multi_cleanup(multi);
}

}  // namespace

std::string StatusText(long status) {
  for (const StatusName& name : kStatusNames) {
    if (name.status == status) return std::to_string(status) + " " + name.name;
  }
  return "HTTP " + std::to_string(status);
}

std::map<std::string, FetchResult> FetchAddresses(const std::vector<std::string>& addresses,
                                                  const FetchOptions& options) {
  std::map<std::string, Kept> kept;
  if (!options.cache_file.empty()) kept = ReadCache(options.cache_file);
  Results results;
  std::vector<Transfer> transfers;
  for (const std::string& address : addresses) {
    const auto found = kept.find(address);
    if (found != kept.end() && options.now - found->second.when < options.cache_seconds &&
        found->second.when <= options.now) {
      results[address] = found->second.result;
    } else if (!results.contains(address)) {
      transfers.push_back({address});
      results[address] = {};
    }
  }
  if (transfers.empty()) return results;
  curl_global_init(CURL_GLOBAL_DEFAULT);
  FetchAll(transfers, options, results);
  if (!options.cache_file.empty()) {
    for (const Transfer& transfer : transfers) {
      kept[transfer.address] = {options.now, results[transfer.address]};
    }
    // Results past their time are dropped, so the file never grows without end.
    std::erase_if(kept, [&](const auto& entry) {
      return options.now - entry.second.when >= options.cache_seconds;
    });
    WriteCache(options.cache_file, kept);
  }
  return results;
}

}  // namespace quill::check
