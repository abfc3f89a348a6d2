#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "site/site_output.h"

namespace quill::site {

// The record of the files the generator made beside the blog pages — entry pages, archive
// pages, sitemap files — kept in the output folder as .quillsmith-made (a hidden file, which
// the uploader leaves at home). Only a file it lists, under a name of one of those forms, is
// ever removed, so a file of the user's stays whatever it is called. For an entry page it
// also keeps what the page came out as, so that an unchanged page is known without reading
// it.
class MadeFiles {
 public:
  static constexpr char kFileName[] = ".quillsmith-made";

  // What an entry page came out as, and the file's facts once it was written.
  struct Page {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t digest = 0;
  };

  // Reads the record; there being none lists nothing. Lines it cannot use are passed over.
  // Throws QuillError when the record is there but cannot be read.
  explicit MadeFiles(SiteOutput& output);

  // What the record says a page came out as last time, when it says.
  std::optional<Page> Known(std::string_view name) const;
  // Makes room for that many names to be planned or made when the record lists none (a
  // first build), so a long list is not copied as it grows.
  void Expect(std::size_t names);
  // This build is to make the file; what the record knows of it stays.
  void Plan(std::string_view name);
  // This build made the file; for an entry page, with what it came out as when known.
  void Made(std::string_view name, std::optional<Page> page = std::nullopt);

  // Writes the record with every name it listed and every name made since, so a build killed
  // from here on leaves no file it made unlisted. Writes nothing when no name is new.
  void Announce();
  // Removes every listed file this build did not make (an entry deleted or re-dated, a year
  // gone), then records what this build made.
  void Settle();
  // Removes every listed file and then the record itself.
  void RemoveAll();

  // How many listed files Settle() or RemoveAll() removed.
  std::size_t Removed() const { return removed_; }

 private:
  // A name of the generator's (never longer than 23 bytes), kept without an allocation.
  struct Item {
    char name[24] = {};
    std::uint8_t length = 0;
    bool listed = false;  // in the record as it was read or last written
    bool made = false;    // by this build
    bool has_page = false;
    Page page;
    std::string_view Name() const { return {name, length}; }
  };

  static std::optional<Item> ItemOf(std::string_view name);
  Item* Find(std::string_view name);
  // The item of a name this build makes, added when the record does not list it.
  Item* Mark(std::string_view name);
  void MergeAdded();
  void Write(bool made_only);

  SiteOutput& output_;
  std::vector<Item> items_;  // sorted by name
  std::vector<Item> added_;  // made, not yet in items_
  std::size_t removed_ = 0;
};

}  // namespace quill::site
