#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quill::interchange {

// What a reader of an XML file is told, element by element, as the file streams past. Names
// of elements and attributes in a namespace come as "namespace-address local-name", others as
// the plain name. A handler reports failure by throwing; the reading stops there.
class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  // `attributes`: name, value, name, value, …, ended by a null.
  virtual void StartElement(std::string_view name, const char** attributes) = 0;
  virtual void EndElement(std::string_view name) = 0;
  // Character data, CDATA sections included, in pieces of any size.
  virtual void Text(std::string_view text) = 0;
};

// Reads an XML file with libexpat in pieces of 64 KB, so a file of any size needs only the
// memory its handler keeps. Files in UTF-8, UTF-16, ISO-8859-1, US-ASCII and Windows-1252
// are read; no external file is ever loaded, and entities that expand far beyond the text
// that declares them are refused, as libexpat's limits say.
class XmlFileReader {
 public:
  explicit XmlFileReader(std::string path) : path_(std::move(path)) {}

  // Throws core::QuillError saying what is wrong with the file and where (line, column,
  // byte), for the caller to put after the file's name; passes on what the handler threw.
  void Read(XmlHandler& handler);
  // Where the reading stands: the byte offset of the event being handled.
  std::int64_t Byte() const { return byte_; }

 private:
  std::string path_;
  std::int64_t byte_ = 0;
  friend struct XmlCallbacks;
};

}  // namespace quill::interchange
