#include "quillpush/connection_worker.h"

#include <curl/curl.h>

#include "core/quill_error.h"

namespace quill::push {

void FinishedRequests::Post(Finished finished) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    finished_.push_back(finished);
  }
  posted_.notify_one();
}

std::vector<FinishedRequests::Finished> FinishedRequests::Take(std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  posted_.wait_for(lock, wait, [this] { return !finished_.empty(); });
  std::vector<Finished> taken(finished_.begin(), finished_.end());
  finished_.clear();
  return taken;
}

ConnectionWorker::ConnectionWorker(int slot, FinishedRequests& finished)
    : easy_(curl_easy_init()), slot_(slot), finished_(finished) {
  if (easy_ == nullptr) throw core::QuillError("Cannot start the upload client.");
  thread_ = std::thread([this] { Work(); });
}

ConnectionWorker::~ConnectionWorker() {
  Close();
  thread_.join();
}

void ConnectionWorker::Perform() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    asked_ = true;
  }
  wake_.notify_one();
}

void ConnectionWorker::Close() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  wake_.notify_one();
}

void ConnectionWorker::Work() {
  CURL* easy = static_cast<CURL*>(easy_);
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return asked_ || closing_; });
      if (!asked_) break;  // closing, with nothing asked
      asked_ = false;
    }
    const CURLcode code = curl_easy_perform(easy);
    finished_.Post({slot_, static_cast<int>(code)});
  }
  // The connection closes here, each worker's beside the others'.
  curl_easy_cleanup(easy);
}

}  // namespace quill::push
