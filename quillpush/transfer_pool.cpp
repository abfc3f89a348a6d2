#include "quillpush/transfer_pool.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "core/quill_error.h"

namespace quill::push {
namespace {

using Clock = std::chrono::steady_clock;

// A request whose connection broke goes again this many times, after these pauses.
constexpr std::array<std::chrono::milliseconds, 3> kPauses{std::chrono::milliseconds(500),
                                                           std::chrono::milliseconds(1000),
                                                           std::chrono::milliseconds(2000)};
// How often the listener hears the bytes sent while transfers are under way.
constexpr auto kReportEvery = std::chrono::milliseconds(100);
// A listing larger than this is no listing of a web site's folder.
constexpr std::size_t kMostBody = std::size_t{256} << 20;

bool StartsWith(const std::string& text, std::string_view start) { return text.starts_with(start); }

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Whether a failure is the connection's rather than the request's: it broke, timed out or
// could not be opened, or the server answered with a passing trouble (4xx) of its own.
bool ConnectionTrouble(int code, long response) {
  switch (static_cast<CURLcode>(code)) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_PARTIAL_FILE:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_SSH:
      return true;
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
      return response >= 400 && response < 500;
    default:
      return false;
  }
}

// What the server says when it takes no more connections: 421 before the login, or a login
// refused for the number of users.
bool SaysTooMany(const std::string& reply) {
  if (StartsWith(reply, "421")) return true;
  if (!StartsWith(reply, "530")) return false;
  const std::string lower = Lower(reply);
  for (const char* word : {"too many", "maximum", "limit", "connections"}) {
    if (lower.find(word) != std::string::npos) return true;
  }
  return false;
}

curl_slist* CommandList(const std::vector<std::string>& commands) {
  curl_slist* list = nullptr;
  for (const std::string& command : commands) {
    curl_slist* longer = curl_slist_append(list, command.c_str());
    if (longer == nullptr) {
      curl_slist_free_all(list);
      throw core::QuillError("Cannot start the upload client: out of memory.");
    }
    list = longer;
  }
  return list;
}

}  // namespace

std::string Outcome::LastReply() const { return replies.empty() ? std::string() : replies.back(); }

struct TransferPool::Slot {
  TransferPool* pool = nullptr;
  int index = 0;
  bool busy = false;
  bool retired = false;  // the server refused this connection: it takes no more requests
  Job job;
  // From Perform until the worker posts its result, these are the worker's thread's.
  Outcome outcome;
  char error[CURL_ERROR_SIZE] = "";
  FileHandle source{nullptr, &std::fclose};
  std::unique_ptr<curl_slist, void (*)(curl_slist*)> commands{nullptr, &curl_slist_free_all};
  std::unique_ptr<curl_slist, void (*)(curl_slist*)> after{nullptr, &curl_slist_free_all};
  std::atomic<std::uint64_t> sent = 0;
  std::unique_ptr<ConnectionWorker> worker;  // last: it goes first, while the above still live

  CURL* Easy() const { return static_cast<CURL*>(worker->Handle()); }

  static std::size_t Reply(char* buffer, std::size_t size, std::size_t count, void* data) {
    std::string line(buffer, size * count);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (!line.empty()) static_cast<Slot*>(data)->outcome.replies.push_back(std::move(line));
    return size * count;
  }
  static std::size_t Body(char* buffer, std::size_t size, std::size_t count, void* data) {
    std::string& body = static_cast<Slot*>(data)->outcome.body;
    if (body.size() + size * count > kMostBody) return 0;
    body.append(buffer, size * count);
    return size * count;
  }
  static std::size_t Read(char* buffer, std::size_t size, std::size_t count, void* data) {
    return std::fread(buffer, size, count, static_cast<Slot*>(data)->source.get());
  }
  static int Progress(void* data, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
    auto* slot = static_cast<Slot*>(data);
    slot->PauseWhenSpinning(static_cast<std::uint64_t>(received + sent));
    slot->sent = static_cast<std::uint64_t>(sent);
    return slot->pool->cancelled_ ? 1 : 0;
  }

  // libcurl's SFTP goes round without waiting while libssh2 awaits the server's reply (to
  // the opening or closing of a file), calling here each time with nothing sent since: a
  // connection awaiting its reply would hold a core, and four of them starve each other on a
  // small machine. A call that comes again at once with no byte moved either way waits a
  // millisecond.
  void PauseWhenSpinning(std::uint64_t moved) {
    const auto now = std::chrono::steady_clock::now();
    if (moved == last_moved && now - last_progress < std::chrono::microseconds(250)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    last_moved = moved;
    last_progress = now;
  }
  // The worker's thread's.
  std::uint64_t last_moved = 0;
  std::chrono::steady_clock::time_point last_progress;
};

TransferPool::TransferPool(int connections, std::function<void(void*, int)> shared,
                           std::string where)
    : shared_(std::move(shared)), where_(std::move(where)), limit_(std::max(1, connections)) {
  // Before any connection's thread starts.
  curl_global_init(CURL_GLOBAL_DEFAULT);
  try {
    for (int i = 0; i < limit_; ++i) {
      auto slot = std::make_unique<Slot>();
      slot->pool = this;
      slot->index = i;
      slot->worker = std::make_unique<ConnectionWorker>(i, finished_);
      slots_.push_back(slot.release());
    }
  } catch (...) {
    CloseAll();
    throw;
  }
}

TransferPool::~TransferPool() {
  // A request still under way (Run left by an exception) is cut short.
  if (busy_ > 0) cancelled_ = true;
  CloseAll();
}

// The connections close side by side, each with its goodbye to the server.
void TransferPool::CloseAll() {
  for (Slot* slot : slots_) slot->worker->Close();
  for (Slot* slot : slots_) delete slot;
  slots_.clear();
  curl_global_cleanup();
}

void TransferPool::Add(Request request) { queue_.push_back({std::move(request), 0, {}}); }

void TransferPool::Run(SendListener& listener) {
  auto reported = Clock::now() - kReportEvery;
  while (Unfinished()) {
    if (!failure_ && !cancelled_) StartReady();
    if (Unfinished()) {
      for (const FinishedRequests::Finished& finished : finished_.Take(Wait())) {
        Finish(*slots_[static_cast<std::size_t>(finished.slot)], finished.code);
      }
    }
    if (Clock::now() - reported >= kReportEvery) {
      if (!cancelled_ && !listener.Progress(BytesSoFar())) cancelled_ = true;
      reported = Clock::now();
    }
  }
  if (!cancelled_ && !failure_ && !listener.Progress(BytesSoFar())) cancelled_ = true;
  queue_.clear();
  finished_bytes_ = 0;
  if (!limit_reply_.empty() && !limit_told_) {
    limit_told_ = true;
    listener.Warn("The server at " + where_ + " refused one more connection (\"" + limit_reply_ +
                  "\"), so quillpush went on with " + std::to_string(limit_) +
                  (limit_ == 1 ? " connection." : " connections at once."));
  }
  if (cancelled_) {
    cancelled_ = false;
    failure_ = nullptr;
    throw core::QuillError("The upload was cancelled.");
  }
  if (failure_) {
    const std::exception_ptr failure = failure_;
    failure_ = nullptr;
    std::rethrow_exception(failure);
  }
}

bool TransferPool::Unfinished() const {
  return busy_ > 0 || (!queue_.empty() && !failure_ && !cancelled_);
}

void TransferPool::StartReady() {
  const auto now = Clock::now();
  while (busy_ < limit_ && !failure_) {
    const auto ready = std::find_if(queue_.begin(), queue_.end(),
                                    [&](const Job& job) { return job.not_before <= now; });
    if (ready == queue_.end()) return;
    Job job = std::move(*ready);
    queue_.erase(ready);
    const auto free = std::find_if(slots_.begin(), slots_.end(),
                                   [](const Slot* s) { return !s->busy && !s->retired; });
    Start(**free, std::move(job));
  }
}

void TransferPool::Start(Slot& slot, Job job) {
  CURL* easy = slot.Easy();
  // A reset keeps the connection; only the last request's options go.
  curl_easy_reset(easy);
  shared_(easy, slot.index);
  slot.outcome = Outcome{};
  slot.outcome.slot = slot.index;
  slot.error[0] = '\0';
  slot.sent = 0;
  const Request& request = job.request;
  if (request.file != nullptr) {
    try {
      slot.source = OpenSiteFile(request.file->path);
    } catch (...) {
      failure_ = std::current_exception();
      queue_.clear();
      return;
    }
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &Slot::Read);
    curl_easy_setopt(easy, CURLOPT_READDATA, &slot);
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(request.file->size));
  }
  slot.commands.reset(CommandList(request.commands));
  if (slot.commands) curl_easy_setopt(easy, CURLOPT_QUOTE, slot.commands.get());
  slot.after.reset(CommandList(request.after));
  if (slot.after) curl_easy_setopt(easy, CURLOPT_POSTQUOTE, slot.after.get());
  curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Slot::Reply);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &slot);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Slot::Body);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &slot);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, slot.error);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Slot::Progress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &slot);
  // Timeouts without signals, which would reach any of the threads.
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  if (request.options) request.options(easy);
  slot.job = std::move(job);
  slot.busy = true;
  ++busy_;
  slot.worker->Perform();
}

void TransferPool::Finish(Slot& slot, int code) {
  CURL* easy = slot.Easy();
  slot.busy = false;
  --busy_;
  slot.source.reset();
  Outcome& outcome = slot.outcome;
  outcome.code = code;
  if (code != CURLE_OK)
    outcome.error =
        slot.error[0] != '\0' ? slot.error : curl_easy_strerror(static_cast<CURLcode>(code));
  curl_off_t uploaded = 0;
  curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &uploaded);
  outcome.uploaded = uploaded > 0 ? static_cast<std::uint64_t>(uploaded) : 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &outcome.response);
  curl_off_t length = -1;
  curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  outcome.length = length;
  long connects = 0;
  curl_easy_getinfo(easy, CURLINFO_NUM_CONNECTS, &connects);
  // An FTP server greets a connection first; an SFTP connection says nothing of the kind.
  const std::string first = outcome.replies.empty() ? "" : outcome.replies.front();
  outcome.opened =
      outcome.replies.empty() ? connects > 0 : StartsWith(first, "220") || StartsWith(first, "421");
  Job job = std::move(slot.job);
  outcome.tries = job.tries + 1;
  if (code == CURLE_OK) {
    proven_ = true;
    if (job.request.file != nullptr) finished_bytes_ += outcome.uploaded;
    Hear(job.request, outcome);
    return;
  }
  if (cancelled_ || failure_) return;  // the run ends; what did not arrive goes next time
  if (RefusedForLimit(outcome) && (busy_ > 0 || proven_) && limit_ > 1) {
    --limit_;
    slot.retired = true;
    limit_reply_ = outcome.LastReply();
    Retry(std::move(job), false);
    return;
  }
  // A server that never answered is not waited for: only a connection lost during the run is.
  if (proven_ && ConnectionTrouble(code, outcome.response) &&
      job.tries < static_cast<int>(kPauses.size())) {
    Retry(std::move(job), true);
    return;
  }
  Hear(job.request, outcome);
}

bool TransferPool::RefusedForLimit(const Outcome& outcome) {
  if (!outcome.opened) return false;
  for (const std::string& reply : outcome.replies) {
    if (StartsWith(reply, "230")) return false;  // logged in: this is no refusal
    if (SaysTooMany(reply)) return true;
  }
  // A connection of SFTP's that broke before it was of any use.
  return outcome.replies.empty() && ConnectionTrouble(outcome.code, 0);
}

void TransferPool::Retry(Job job, bool count) {
  job.not_before = Clock::now();
  if (count) job.not_before += kPauses[static_cast<std::size_t>(job.tries++)];
  queue_.push_front(std::move(job));
}

void TransferPool::Hear(const Request& request, const Outcome& outcome) {
  if (!request.done) return;
  try {
    request.done(outcome);
  } catch (...) {
    if (!failure_) failure_ = std::current_exception();
    queue_.clear();
  }
}

std::uint64_t TransferPool::BytesSoFar() const {
  std::uint64_t bytes = finished_bytes_;
  for (const Slot* slot : slots_) {
    if (slot->busy && slot->job.request.file != nullptr) bytes += slot->sent;
  }
  return bytes;
}

std::chrono::milliseconds TransferPool::Wait() const {
  if (busy_ > 0 || queue_.empty()) return kReportEvery;
  auto soonest = queue_.front().not_before;
  for (const Job& job : queue_) soonest = std::min(soonest, job.not_before);
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(soonest - Clock::now());
  return std::clamp(wait, std::chrono::milliseconds(1), kReportEvery);
}

}  // namespace quill::push
