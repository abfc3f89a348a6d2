#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/byte_sink.h"
#include "core/text_writer.h"

namespace quill::site {

// The character set a page is written in. The generator's own text (titles, navigation,
// entries) goes into the bytes of the user's template, so it must be written in the set the
// template declares, or a browser shows it garbled.
enum class PageCharset { Windows1252, Utf8 };

// The set a template declares: a UTF-8 byte order mark, else the first `charset` of a
// <meta> element (<meta charset="utf-8">, or inside http-equiv's content), in any letter
// case and with spaces around its parts. "utf-8" (or "utf8") is UTF-8; "iso-8859-1",
// "windows-1252", anything else and no declaration at all are Windows-1252, as pages have
// always been written (browsers read iso-8859-1 as windows-1252).
PageCharset DeclaredCharset(std::string_view template_bytes);

// The program's own UTF-8 text in the set: Windows-1252 with character references for what
// it cannot hold, or clean UTF-8.
using PageEncoder = std::string (*)(std::string_view utf8);
PageEncoder EncoderFor(PageCharset charset);

// Writes lines of a page in the set, each ending with CR LF.
std::unique_ptr<core::TextWriter> PageTextWriter(PageCharset charset, core::ByteSink& sink);

}  // namespace quill::site
