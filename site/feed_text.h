#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/win1252_writer.h"

namespace quill::site {

// The plain text a feed item shows for an entry: its line breaks as spaces, then its markup
// stripped (StripMarkup), made in one pass in pieces of at most `size` bytes, so an entry of
// any size costs a fixed amount of memory. `piece` returns false to stop early; a reader that
// wants only the start asks for small pieces, so the rest is never made.
class PlainTextPieces {
 public:
  static constexpr std::size_t kPiece = 1 << 16;

  static void ForEach(std::string_view entry, const std::function<bool(std::string_view)>& piece,
                      std::size_t size = kPiece);
};

// The item title of an entry (ExtractEntryTitle of its plain text), read from the few dozen
// characters of the plain text that decide it.
std::string FeedItemTitle(std::string_view entry);

// Writes an entry's plain text as XmlText would make it, in pieces: the description of its
// feed item, with no copy of the whole text.
void WriteFeedDescription(std::string_view entry, core::Win1252Writer& writer);

}  // namespace quill::site
