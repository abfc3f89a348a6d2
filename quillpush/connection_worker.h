#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace quill::push {

// Where the connections' threads leave word of each request they finished, for the thread
// that hands out the requests.
class FinishedRequests {
 public:
  struct Finished {
    int slot = 0;  // the connection that ran it
    int code = 0;  // libcurl's result
  };

  void Post(Finished finished);
  // What finished since the last call, waiting up to `wait` for the first.
  std::vector<Finished> Take(std::chrono::milliseconds wait);

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Finished> finished_;
};

// One connection to the server: a libcurl handle and a thread of its own that performs its
// requests, one at a time, so a connection waiting for the server's reply holds up no other.
// The connection stays open from one request to the next and closes with the worker, with
// its goodbye to the server.
class ConnectionWorker {
 public:
  ConnectionWorker(int slot, FinishedRequests& finished);
  ~ConnectionWorker();
  ConnectionWorker(const ConnectionWorker&) = delete;
  ConnectionWorker& operator=(const ConnectionWorker&) = delete;

  // The libcurl handle, to be set up between requests only: from Perform until the worker
  // posts its result, it is the worker's.
  void* Handle() const { return easy_; }
  // Performs the request set up on the handle; its result goes to `finished`.
  void Perform();
  // Asks the worker to close its connection once it is idle; the destructor waits for it.
  void Close();

 private:
  void Work();

  void* easy_;
  int slot_;
  FinishedRequests& finished_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool asked_ = false;
  bool closing_ = false;
  std::thread thread_;
};

}  // namespace quill::push
