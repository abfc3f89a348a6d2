#pragma once

#include <cstdint>
#include <string_view>

#include "core/byte_sink.h"

namespace quill::site {

// A 64-bit digest and the size of the bytes written into it, to tell whether a page came
// out as it did last time without reading the old page. Not for anything an adversary
// chooses: it only has to tell a page from its next version.
class PageFingerprint final : public core::ByteSink {
 public:
  void Write(std::string_view bytes) override;

  std::uint64_t Size() const { return size_; }
  // The digest of everything written so far.
  std::uint64_t Digest() const;

 private:
  void Mix(std::uint64_t word);

  std::uint64_t state_ = 0x243F6A8885A308D3ull;
  std::uint64_t size_ = 0;
  unsigned char tail_[8] = {};
  std::size_t tail_size_ = 0;
};

// Writes everything into two sinks.
class TeeSink final : public core::ByteSink {
 public:
  TeeSink(core::ByteSink& first, core::ByteSink& second) : first_(first), second_(second) {}
  void Write(std::string_view bytes) override {
    first_.Write(bytes);
    second_.Write(bytes);
  }

 private:
  core::ByteSink& first_;
  core::ByteSink& second_;
};

}  // namespace quill::site
