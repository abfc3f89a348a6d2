#include "core/win1252_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quill::core {
namespace {

// Where a long text first differs from the one expected, short enough to read; empty when
// they are the same.
std::string Difference(const std::string& got, const std::string& expected) {
  const auto at = static_cast<std::size_t>(
      std::mismatch(got.begin(), got.end(), expected.begin(), expected.end()).first - got.begin());
  if (at == got.size() && at == expected.size()) return "";
  return "at byte " + std::to_string(at) + ": " + ::testing::PrintToString(got.substr(at, 12)) +
         " where " + ::testing::PrintToString(expected.substr(at, 12)) + " belongs";
}

TEST(Win1252, KeepsWhatTheCodePageHoldsAndReferencesTheRest) {
  EXPECT_EQ(ToWin1252("plain <b>ASCII</b>"), "plain <b>ASCII</b>");
  EXPECT_EQ(ToWin1252("caf\xC3\xA9 \xC2\xA0\xC3\xBF"), "caf\xE9 \xA0\xFF");
  // The letters and signs Windows-1252 keeps in 0x80-0x9F.
  EXPECT_EQ(ToWin1252("\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D \xC5\xA0 \xC5\xB8 \xE2\x84\xA2"),
            "\x80 \x93q\x94 \x8A \x9F \x99");
  // Characters it lacks become references, astral ones included.
  EXPECT_EQ(ToWin1252("\xC5\x82\xC3\xB3"
                      "d\xC5\xBA"),
            "&#322;\xF3"
            "d&#378;");
  EXPECT_EQ(ToWin1252("\xF0\x9F\x98\x80"), "&#128512;");
  // Control characters no reader accepts are dropped; TAB, CR and LF stay.
  EXPECT_EQ(ToWin1252(std::string("a") + '\0' + "\x07\x0B\x0C\x1B\x7F\xC2\x81\t\r\nb"), "a\t\r\nb");
}

TEST(Win1252, BytesThatAreNotUtf8PassThrough) {
  EXPECT_EQ(ToWin1252("caf\xE9"), "caf\xE9");
  EXPECT_EQ(ToWin1252("\xC3"), "\xC3");                  // cut short at the end
  EXPECT_EQ(ToWin1252("\xC0\xAF"), "\xC0\xAF");          // overlong
  EXPECT_EQ(ToWin1252("\xED\xA0\x80"), "\xED\xA0\x80");  // a lone surrogate
}

TEST(Win1252Writer, EndsEveryLineWithCrLfAndCountsBytes) {
  StringSink sink;
  Win1252Writer writer(sink);
  writer.WriteLine("<p>\xE2\x82\xAC 5</p>");
  writer.WriteLine("");
  writer.WriteRaw("raw\n");
  EXPECT_EQ(sink.Data(), "<p>\x80 5</p>\r\n\r\nraw\n");
  EXPECT_EQ(writer.BytesWritten(), sink.Data().size());
}

TEST(Win1252Writer, ALineInPiecesOfAnyLengthReadsAsTheWholeLine) {
  // Long enough to be converted in slices; every kind of sequence, a stray byte and dropped
  // controls come to lie across a slice's end, and at every place in a word of eight bytes,
  // as the start shifts.
  const std::string unit =
      "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xC5\x82\xE9 plain ~te\x7Fxt and more text\x1F\t";
  const std::string unit_written = "a\xE9\x80&#128512;&#322;\xE9 plain ~text and more text\t";
  std::string mixed, written;
  for (int i = 0; i < 8000; ++i) {
    mixed += unit;
    written += unit_written;
  }
  for (int shift = 0; shift < 8; ++shift) {
    const std::string start(shift, 'x');
    const std::string text = start + mixed;
    StringSink sink;
    Win1252Writer writer(sink);
    const std::size_t cut = text.find('a', 100);
    writer.WriteText(text.substr(0, cut));
    writer.WriteText(text.substr(cut));
    writer.EndLine();
    EXPECT_EQ(sink.Data(), start + written + "\r\n") << shift;
  }
}

// A long line is converted 64 KiB at a time. Whatever way a character lies across the end of
// each of the first two 64 KiB, it is written as it would be anywhere else: two-, three- and
// four-byte ones, ones the code page holds and ones it writes as references, and a reference
// the user typed.
TEST(Win1252Writer, ACharacterAcrossEach64KiBBoundaryIsWrittenWhole) {
  struct Kind {
    std::string utf8, written;
  };
  const Kind kinds[] = {
      {"\xC3\xA9", "\xE9"},               // é
      {"\xC5\x81", "&#321;"},             // Ł
      {"\xE2\x82\xAC", "\x80"},           // €
      {"\xE2\x98\x83", "&#9731;"},        // ☃
      {"\xF0\x9F\x98\x80", "&#128512;"},  // 😀
      {"&#233;", "&#233;"},               // typed as a reference
  };
  constexpr std::size_t k64KiB = 1 << 16;
  for (const Kind& kind : kinds) {
    const std::size_t size = kind.utf8.size();
    std::string run, run_written;
    for (int i = 0; i < 8; ++i) {
      run += kind.utf8;
      run_written += kind.written;
    }
    // A run of eight of the kind across the first 64 KiB and one across the 64 KiB after the
    // first run's slice ends, each shifted to every place a character can stand against it.
    for (std::size_t first = 0; first < size; ++first) {
      for (std::size_t second = 0; second < size; ++second) {
        const std::string a(k64KiB - 4 * size + first, 'a');
        const std::string b(k64KiB - 8 * size + second, 'b');
        const std::string c(500, 'c');
        StringSink sink;
        Win1252Writer writer(sink);
        writer.WriteText(a + run + b + run + c);
        EXPECT_EQ(Difference(sink.Data(), a + run_written + b + run_written + c), "")
            << ::testing::PrintToString(kind.utf8) << " shifted " << first << ", " << second;
      }
    }
  }
}

}  // namespace
}  // namespace quill::core
