#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "quillpush/connection_worker.h"
#include "quillpush/remote_site.h"
#include "quillpush/site_files.h"

namespace quill::push {

// What one request brought back from the server.
struct Outcome {
  int code = 0;                      // libcurl's result (a CURLcode); 0 is success
  std::string error;                 // libcurl's own explanation of a failure
  std::vector<std::string> replies;  // the server's reply lines, in order
  std::string body;                  // what a listing or a size request brought
  std::uint64_t uploaded = 0;        // bytes of the file that went
  long response = 0;                 // the code of the server's last reply
  std::int64_t length = -1;          // the size of the remote file, when the request asked it
  int slot = 0;                      // which of the pool's handles ran it
  bool opened = false;               // it opened a connection of its own
  int tries = 1;                     // how often it went

  // The server's last reply line, or "".
  std::string LastReply() const;
};

// One request for a connection of the pool.
struct Request {
  std::string url;
  const SiteFile* file = nullptr;     // sent, when set
  std::vector<std::string> commands;  // remote commands sent first; "*" before one lets it fail
  std::vector<std::string> after;     // remote commands sent after the transfer, alike
  // Sets what this request needs beyond what every request shares.
  std::function<void(void* curl)> options;
  // Hears how it went, once: a success, or a failure that trying again did not mend. May
  // throw QuillError, which ends the run once the requests under way have ended.
  std::function<void(const Outcome&)> done;
};

// Runs requests over a few connections to one server at once, each connection on a thread of
// its own (libcurl waits for an FTP transfer's last reply blocking, so connections that shared
// a thread would wait for each other's); every `done` runs on the calling thread. A connection
// stays open from one request to the next, so each is logged in once; a request whose
// connection broke is tried again on a new one after a growing pause, a few times; and a
// server that refuses one more connection while others are open gets no more than it took,
// and the listener is told so once.
class TransferPool {
 public:
  // `shared` sets what every request shares (account, security, timeouts) on a handle, given
  // the handle's slot; `where` names the server in messages.
  TransferPool(int connections, std::function<void(void* curl, int slot)> shared,
               std::string where);
  ~TransferPool();
  TransferPool(const TransferPool&) = delete;
  TransferPool& operator=(const TransferPool&) = delete;

  // Queues a request; during Run, a `done` may queue more, and Run waits for them too.
  void Add(Request request);
  // Runs what is queued until every request has ended. `listener` hears the bytes the batch
  // has sent (false cancels: Run then throws QuillError "The upload was cancelled."). Rethrows
  // the first failure a `done` threw, after the requests under way have ended.
  void Run(SendListener& listener);

  // How many connections the pool opens at most now.
  int Connections() const { return limit_; }

 private:
  struct Job {
    Request request;
    int tries = 0;
    std::chrono::steady_clock::time_point not_before;
  };
  struct Slot;

  // Whether requests are under way, or queued ones may still start.
  bool Unfinished() const;
  void StartReady();
  void Start(Slot& slot, Job job);
  void Finish(Slot& slot, int code);
  // Whether a failure on a fresh connection looks like the server's limit on connections.
  static bool RefusedForLimit(const Outcome& outcome);
  void Retry(Job job, bool count);
  void Hear(const Request& request, const Outcome& outcome);
  std::uint64_t BytesSoFar() const;
  // How long Run may wait for a request to finish before it has more to do.
  std::chrono::milliseconds Wait() const;
  void CloseAll();

  FinishedRequests finished_;
  std::vector<Slot*> slots_;
  std::function<void(void*, int)> shared_;
  std::string where_;
  std::deque<Job> queue_;
  int limit_;
  int busy_ = 0;
  bool proven_ = false;      // some request got through on a connection of its own or a reused one
  std::string limit_reply_;  // what the server said when it refused a connection
  bool limit_told_ = false;
  std::atomic<bool> cancelled_ = false;  // read by the connections' threads
  std::exception_ptr failure_;
  std::uint64_t finished_bytes_ = 0;
};

}  // namespace quill::push
