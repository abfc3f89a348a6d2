#pragma once

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quill::check {

// Runs `work` on each index of 0 … count − 1 on worker threads and hands the results over
// in index order, each as soon as it and those before it are done. Workers keep at most a
// few dozen results ahead of the reader, so memory stays flat however many there are.
template <class Result>
class OrderedWork {
 public:
  OrderedWork(std::size_t count, std::function<Result(std::size_t)> work)
      : count_(count), work_(std::move(work)), slots_(kAhead) {
    const unsigned cores = std::thread::hardware_concurrency();
    const unsigned workers = std::max(1u, std::min(cores == 0 ? 1u : cores, 4u));
    for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
  }
  ~OrderedWork() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    room_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }
  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;

  // The result for the next index, waiting for it as long as it takes.
  Result Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    std::optional<Result>& slot = slots_[taken_ % kAhead];
    done_.wait(lock, [&] { return slot.has_value(); });
    Result result = std::move(*slot);
    slot.reset();
    ++taken_;
    lock.unlock();
    room_.notify_all();
    return result;
  }

 private:
  static constexpr std::size_t kAhead = 32;

  void Work() {
    for (;;) {
      std::size_t index;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        room_.wait(lock, [&] { return stopping_ || next_ >= count_ || next_ - taken_ < kAhead; });
        if (stopping_ || next_ >= count_) return;
        index = next_++;
      }
      Result result = work_(index);
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        slots_[index % kAhead] = std::move(result);
      }
      done_.notify_all();
    }
  }

  const std::size_t count_;
  const std::function<Result(std::size_t)> work_;
  std::mutex mutex_;
  std::condition_variable room_;
  std::condition_variable done_;
  std::vector<std::optional<Result>> slots_;
  std::size_t next_ = 0;
  std::size_t taken_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace quill::check
