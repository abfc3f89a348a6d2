#pragma once

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/quill_error.h"
#include "site/site_output.h"

namespace quill::testing {

// An output folder in memory. It can be told to fail once a given number of bytes has been
// written into one file, as a full disk would.
class MemoryOutput final : public site::SiteOutput {
 public:
  std::map<std::string, std::string> files;  // committed files only
  std::size_t fail_after_bytes = SIZE_MAX;
  std::vector<std::string> committed;  // every commit's file, in order

  std::unique_ptr<core::FileSink> Create(const std::string& name) override {
    return std::make_unique<File>(*this, name);
  }
  bool Exists(const std::string& name) const override { return files.count(name) != 0; }
  // A file's version counts as its modification time.
  std::optional<FileFacts> Facts(const std::string& name) const override {
    const auto found = files.find(name);
    if (found == files.end()) return std::nullopt;
    return FileFacts{found->second.size(), versions_.at(name)};
  }
  std::optional<std::string> Read(const std::string& name) const override {
    const auto found = files.find(name);
    return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
  }
  void Remove(const std::string& name) override { files.erase(name); }

  // The file's lines; every line must end with CR LF.
  std::vector<std::string> Lines(const std::string& name) const {
    std::vector<std::string> lines;
    const auto found = files.find(name);
    if (found == files.end()) throw std::runtime_error("no file " + name);
    const std::string& bytes = found->second;
    std::size_t at = 0;
    while (at < bytes.size()) {
      const auto end = bytes.find("\r\n", at);
      if (end == std::string::npos) throw std::runtime_error(name + ": last line without CR LF");
      std::string line = bytes.substr(at, end - at);
      if (line.find('\n') != std::string::npos) throw std::runtime_error(name + ": bare LF");
      lines.push_back(std::move(line));
      at = end + 2;
    }
    return lines;
  }

 private:
  class File final : public core::FileSink {
   public:
    File(MemoryOutput& output, std::string name) : output_(output), name_(std::move(name)) {}
    void Write(std::string_view bytes) override {
      if (data_.size() + bytes.size() > output_.fail_after_bytes) {
        throw core::QuillError("Cannot write " + name_ + ": No space left on device");
      }
      data_ += bytes;
    }
    void Commit() override {
      output_.files[name_] = data_;
      output_.versions_[name_] = ++output_.version_;
      output_.committed.push_back(name_);
    }

   private:
    MemoryOutput& output_;
    std::string name_;
    std::string data_;
  };

  std::map<std::string, std::int64_t> versions_;
  std::int64_t version_ = 0;
};

}  // namespace quill::testing
