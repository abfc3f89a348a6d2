#include "core/utf8_writer.h"

#include <gtest/gtest.h>

namespace quill::core {
namespace {

TEST(Utf8Writer, ValidTextPassesStrayBytesAreWindows1252AndControlsGo) {
  StringSink sink;
  Utf8Writer writer(sink);
  writer.WriteLine("caf\xC3\xA9 \xF0\x9F\x98\x80 caf\xE9 \x80\x81 a\x01\x7F" "b\t");
  EXPECT_EQ(sink.Data(), "caf\xC3\xA9 \xF0\x9F\x98\x80 caf\xC3\xA9 \xE2\x82\xAC ab\t\n");
}

TEST(Utf8Writer, ALongLineConvertsInSlicesAsAWhole) {
  // Three-byte characters from an odd start, so some slice's end falls inside one.
  std::string text = "x";
  for (int i = 0; i < 50000; ++i) text += "\xE2\x82\xAC";
  StringSink sink;
  Utf8Writer writer(sink, "\r\n");
  writer.WriteText(text);
  writer.EndLine();
  EXPECT_EQ(sink.Data(), text + "\r\n");
}

}  // namespace
}  // namespace quill::core
