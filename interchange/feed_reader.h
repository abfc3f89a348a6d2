#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/feed_post.h"
#include "interchange/time_zone.h"
#include "interchange/xml_file_reader.h"

namespace quill::interchange {

// Turns the elements of a WordPress export (WXR), an RSS 2.0 feed or an Atom 1.0 feed into
// posts, one at a time, each handed on as soon as its item ends. Titles and contents come
// as markup: text escaped, HTML as it stands, XHTML written out again.
class FeedReader final : public XmlHandler {
 public:
  FeedReader(const TimeZone& zone, std::function<void(FeedPost&)> post)
      : zone_(zone), post_(std::move(post)) {}

  FeedFormat Format() const { return format_; }

  void StartElement(std::string_view name, const char** attributes) override;
  void EndElement(std::string_view name) override;
  void Text(std::string_view text) override;

 private:
  // The fields an item may have, each kept apart while the item is read.
  enum Field {
    kTitle, kEncoded, kDescription, kPubDate, kDcDate, kPostDate, kStatus, kPostType,
    kAtomContent, kAtomSummary, kPublished, kUpdated, kFieldCount, kNone = kFieldCount
  };
  // How a field's text becomes markup.
  enum class Kind { Text, Html, Xhtml, Skip };

  void StartDocument(std::string_view name);
  Field FieldNamed(std::string_view name) const;
  void StartField(Field field, const char** attributes);
  void WriteXhtmlStart(std::string_view name, const char** attributes);
  void FinishItem();
  // The field's text as markup; the text is gone from the field afterwards.
  std::string TakeMarkup(Field field);
  std::optional<core::Stamp> ItemStamp() const;

  const TimeZone& zone_;
  std::function<void(FeedPost&)> post_;
  FeedFormat format_ = FeedFormat::Unknown;
  int depth_ = 0;
  int item_depth_ = 0;  // of the item being read; 0 outside items
  std::int64_t items_ = 0;
  bool wordpress_item_ = false;
  Field field_ = kNone;  // the field being read
  std::array<std::string, kFieldCount> text_;
  std::array<Kind, kFieldCount> kinds_{};
  bool xhtml_wrapped_ = false;  // XHTML: the field's text came inside a <div>
};

}  // namespace quill::interchange
