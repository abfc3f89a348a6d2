#include "site/feed_text.h"

#include <algorithm>

#include "core/utf8.h"
#include "site/text_digest.h"
#include "site/xml_text.h"

namespace quill::site {
namespace {

// The steps of the plain text, each fed the bytes the one before lets through:
//   1. a line break (CR LF, bare LF, bare CR) becomes one space;
//   2. a tag becomes one space, and every '>' goes;
//   3. "&nbsp;" and "&nbsp" become a space;
//   4. a run of n spaces inside the text becomes ceil(n / 4) of them (the two rounds of
//      halving the whole-text version makes), and runs at either end go.
class PlainTextMaker {
 public:
  PlainTextMaker(const std::function<bool(std::string_view)>& piece, std::size_t size)
      : piece_(piece), size_(size) {
    out_.reserve(size_);
  }

  // False once the receiver has had enough.
  bool Feed(std::string_view entry) {
    for (const char c : entry) {
      if (c == '\r') {
        Unbroken(' ');
        after_cr_ = true;
        continue;
      }
      if (c != '\n' || !after_cr_) Unbroken(c == '\n' ? ' ' : c);
      after_cr_ = false;
      if (stopped_) return false;
    }
    return !stopped_;
  }

  void Finish() {
    if (matched_ == kNbsp.size()) {
      Spaced(' ');
    } else {
      for (std::size_t i = 0; i < matched_; ++i) Spaced(kNbsp[i]);
    }
    // Spaces still waiting end the text, so they go.
    Flush(true);
  }

 private:
  static constexpr std::string_view kNbsp = "&nbsp";

  void Unbroken(char c) {
    if (c == '<') {
      in_tag_ = true;
      Untagged(' ');
    } else if (c == '>') {
      in_tag_ = false;
    } else if (!in_tag_) {
      Untagged(c);
    }
  }

  void Untagged(char c) {
    if (matched_ == kNbsp.size()) {
      matched_ = 0;
      Spaced(' ');
      if (c == ';') return;
    }
    if (c == kNbsp[matched_]) {
      ++matched_;
      return;
    }
    // Only the '&' can start a match, so a broken one gives back all it held.
    for (std::size_t i = 0; i < matched_; ++i) Spaced(kNbsp[i]);
    matched_ = 0;
    if (c == '&') {
      matched_ = 1;
    } else {
      Spaced(c);
    }
  }

  void Spaced(char c) {
    if (c == ' ') {
      ++spaces_;
      return;
    }
    for (std::size_t left = started_ ? (spaces_ + 3) / 4 : 0; left != 0 && !stopped_;) {
      const std::size_t room = std::min(left, size_ - out_.size());
      out_.append(room, ' ');
      left -= room;
      Flush(false);
    }
    spaces_ = 0;
    started_ = true;
    out_ += c;
    Flush(false);
  }

  // Hands the piece on when it is full, or at the end.
  void Flush(bool end) {
    if (stopped_ || out_.empty() || (!end && out_.size() < size_)) return;
    stopped_ = !piece_(out_);
    out_.clear();
  }

  const std::function<bool(std::string_view)>& piece_;
  const std::size_t size_;
  std::string out_;
  bool after_cr_ = false;
  bool in_tag_ = false;
  std::size_t matched_ = 0;
  std::size_t spaces_ = 0;
  bool started_ = false;
  bool stopped_ = false;
};

// Gathers the start of the plain text until it settles the title. Nothing past the 64th
// character can change a title other than through two facts — whether a space stands there
// and whether the text goes on past it — so the gathering stops at the first character from
// the 64th on that is not a space, and keeps only one of the spaces before it.
class TitleStart {
 public:
  // False once the title is settled.
  bool Add(std::string_view piece) {
    for (const char c : piece) {
      if (c == ' ' && characters_ > kSettling && at_ == text_.size()) continue;
      text_ += c;
      if (Settled()) return false;
    }
    return true;
  }
  const std::string& Text() const { return text_; }

 private:
  static constexpr std::size_t kSettling = 64;

  // Decodes each character whose bytes are all here, as the whole text would read them.
  bool Settled() {
    while (at_ < text_.size()) {
      const auto lead = static_cast<unsigned char>(text_[at_]);
      const std::size_t needs = lead < 0xC2 || lead > 0xF4 ? 1
                                : lead < 0xE0              ? 2
                                : lead < 0xF0              ? 3
                                                           : 4;
      if (at_ + needs > text_.size()) return false;
      char32_t c = 0;
      const std::size_t length = core::DecodeUtf8(text_, at_, c);
      const bool space = length != 0 && c == U' ';
      at_ += length == 0 ? 1 : length;
      if (characters_++ >= kSettling && !space) {
        text_.resize(at_);
        return true;
      }
    }
    return false;
  }

  std::string text_;
  std::size_t at_ = 0;
  std::size_t characters_ = 0;
};

// Where the XML text of `text` may be cut so that its two parts convert exactly as the whole:
// before a byte that can neither continue a UTF-8 sequence nor a character reference. With no
// '&' in the text, before any byte that starts a character. 0 when there is no such place.
std::size_t XmlCut(std::string_view text) {
  const auto ends_nothing = [](unsigned char b) {
    const bool alnum = (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
    return (b < 0x80 || b >= 0xC0) && !alnum && b != ';' && b != '#';
  };
  const bool no_reference = text.find('&') == std::string_view::npos;
  for (std::size_t at = text.size(); at-- > 1;) {
    const auto b = static_cast<unsigned char>(text[at]);
    if (ends_nothing(b) || (no_reference && (b < 0x80 || b >= 0xC0))) return at;
  }
  return 0;
}

}  // namespace

void PlainTextPieces::ForEach(std::string_view entry,
                              const std::function<bool(std::string_view)>& piece,
                              std::size_t size) {
  PlainTextMaker maker(piece, std::max<std::size_t>(size, 1));
  if (maker.Feed(entry)) maker.Finish();
}

std::string FeedItemTitle(std::string_view entry) {
  // Pieces about the size of what settles a title, so a long entry is read no further.
  constexpr std::size_t kTitlePiece = 32;
  TitleStart start;
  PlainTextPieces::ForEach(
      entry, [&](std::string_view piece) { return start.Add(piece); }, kTitlePiece);
  return ExtractEntryTitle(start.Text());
}

void WriteFeedDescription(std::string_view entry, core::Win1252Writer& writer) {
  std::string carried;
  PlainTextPieces::ForEach(entry, [&](std::string_view piece) {
    carried += piece;
    if (const std::size_t cut = XmlCut(carried); cut != 0) {
      writer.WriteText(XmlText(std::string_view(carried).substr(0, cut)));
      carried.erase(0, cut);
    }
    return true;
  });
  writer.WriteText(XmlText(carried));
}

}  // namespace quill::site
