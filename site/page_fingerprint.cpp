#include "site/page_fingerprint.h"

#include <algorithm>
#include <cstring>

namespace quill::site {
namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kSalt = 0xA0761D6478BD642Full;

// Folds the 128-bit product of two words into one, as wyhash and rapidhash mix.
std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

std::uint64_t LoadWord(const unsigned char* bytes) {
  std::uint64_t word = 0;
  for (int i = 7; i >= 0; --i) word = (word << 8) | bytes[i];  // the same on every machine
  return word;
}

}  // namespace

void PageFingerprint::Mix(std::uint64_t word) { state_ = Fold(state_ ^ word ^ kSalt, kMultiplier); }

void PageFingerprint::Write(std::string_view bytes) {
  size_ += bytes.size();
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t left = bytes.size();
  if (tail_size_ > 0) {
    const std::size_t n = std::min(left, sizeof tail_ - tail_size_);
    std::memcpy(tail_ + tail_size_, data, n);
    tail_size_ += n;
    data += n;
    left -= n;
    if (tail_size_ < sizeof tail_) return;
    Mix(LoadWord(tail_));
    tail_size_ = 0;
  }
  for (; left >= 8; data += 8, left -= 8) Mix(LoadWord(data));
  std::memcpy(tail_, data, left);
  tail_size_ = left;
}

std::uint64_t PageFingerprint::Digest() const {
  unsigned char last[8] = {};
  std::memcpy(last, tail_, tail_size_);
  return Fold(Fold(state_ ^ LoadWord(last), kMultiplier ^ size_), kSalt);
}

}  // namespace quill::site
