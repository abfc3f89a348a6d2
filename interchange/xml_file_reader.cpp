#include "interchange/xml_file_reader.h"

// libexpat as Debian builds it reads document type declarations, and has the limits on
// entity expansion that come with them; its header declares those only when told.
#define XML_DTD 1
#include <expat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#include "core/quill_error.h"
#include "core/text.h"
#include "core/win1252_writer.h"

namespace quill::interchange {

namespace {

constexpr int kChunk = 1 << 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
struct ParserFree {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

// Windows-1252, which older blogs declare and libexpat does not know by itself.
int XMLCALL UnknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
  const std::string_view wanted = name;
  if (!core::EqualsIgnoringCase(wanted, "windows-1252") &&
      !core::EqualsIgnoringCase(wanted, "cp1252")) {
    return XML_STATUS_ERROR;
  }
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t c = core::FromWin1252(static_cast<unsigned char>(byte));
    // The five bytes the code page leaves unused stand for the control characters of the
    // same number, as Windows reads them.
    info->map[byte] = c == 0 && byte != 0 ? byte : static_cast<int>(c);
  }
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return XML_STATUS_OK;
}

// The fault in the reader's words, for the faults a user may meet.
std::string Fault(XML_Error code, bool started) {
  switch (code) {
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
      return "its entities expand to far more text than the file holds (an entity bomb), "
             "so it is refused";
    case XML_ERROR_UNKNOWN_ENCODING:
      return "it declares an encoding that cannot be read (UTF-8, UTF-16, ISO-8859-1, "
             "US-ASCII and Windows-1252 can)";
    case XML_ERROR_NO_ELEMENTS:
      if (!started) return "it holds no XML elements (empty, or cut off before its first)";
      [[fallthrough]];
    case XML_ERROR_UNCLOSED_TOKEN:
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
      return "it ends in the middle of an element (cut off?)";
    case XML_ERROR_INVALID_TOKEN:
      return "it is not well-formed XML: it holds bytes that are not text in the encoding it "
             "declares, or markup that is not XML";
    default:
      return std::string("it is not well-formed XML (") + XML_ErrorString(code) + ")";
  }
}

}  // namespace

// libexpat calls C functions; exceptions must not pass through it, so each callback keeps
// the first one and stops the parser.
struct XmlCallbacks {
  XmlFileReader& reader;
  XmlHandler& handler;
  XML_Parser parser;
  std::exception_ptr failure;
  bool started = false;  // an element has begun

  template <typename Call>
  void Guard(Call&& call) {
    if (failure) return;
    try {
      reader.byte_ = XML_GetCurrentByteIndex(parser);
      call();
    } catch (...) {
      failure = std::current_exception();
      XML_StopParser(parser, XML_FALSE);
    }
  }

  static void XMLCALL Start(void* self, const XML_Char* name, const XML_Char** attributes) {
    auto& me = *static_cast<XmlCallbacks*>(self);
    me.started = true;
    me.Guard([&] { me.handler.StartElement(name, attributes); });
  }
  static void XMLCALL End(void* self, const XML_Char* name) {
    auto& me = *static_cast<XmlCallbacks*>(self);
    me.Guard([&] { me.handler.EndElement(name); });
  }
  static void XMLCALL Characters(void* self, const XML_Char* text, int length) {
    auto& me = *static_cast<XmlCallbacks*>(self);
    me.Guard([&] { me.handler.Text({text, static_cast<std::size_t>(length)}); });
  }
};

void XmlFileReader::Read(XmlHandler& handler) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path_.c_str(), "rb"));
  if (!file) throw core::QuillError(std::string("it cannot be read: ") + std::strerror(errno));
  std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreateNS(nullptr, ' '));
  if (!parser) throw core::QuillError("there is no memory left to read it");
  XML_Parser p = parser.get();
  XmlCallbacks callbacks{*this, handler, p, nullptr, false};
  XML_SetUserData(p, &callbacks);
  XML_SetElementHandler(p, &XmlCallbacks::Start, &XmlCallbacks::End);
  XML_SetCharacterDataHandler(p, &XmlCallbacks::Characters);
  XML_SetUnknownEncodingHandler(p, &UnknownEncoding, nullptr);
  XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
  // libexpat's own limits, set here so that no build of it can leave them off.
  XML_SetBillionLaughsAttackProtectionMaximumAmplification(p, 100.0f);
  XML_SetBillionLaughsAttackProtectionActivationThreshold(p, 8u << 20);

  for (bool last = false; !last;) {
    void* buffer = XML_GetBuffer(p, kChunk);
    if (buffer == nullptr) throw core::QuillError("there is no memory left to read it");
    const std::size_t got = std::fread(buffer, 1, kChunk, file.get());
    if (std::ferror(file.get())) {
      throw core::QuillError(std::string("it cannot be read: ") + std::strerror(errno));
    }
    last = got == 0;
    if (XML_ParseBuffer(p, static_cast<int>(got), last) == XML_STATUS_OK) continue;
    if (callbacks.failure) std::rethrow_exception(callbacks.failure);
    throw core::QuillError(Fault(XML_GetErrorCode(p), callbacks.started) +
                           ", at line " + std::to_string(XML_GetCurrentLineNumber(p)) +
                           ", column " + std::to_string(XML_GetCurrentColumnNumber(p) + 1) +
                           " (byte " + std::to_string(XML_GetCurrentByteIndex(p)) + ")");
  }
}

}  // namespace quill::interchange
