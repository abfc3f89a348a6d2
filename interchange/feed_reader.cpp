#include "interchange/feed_reader.h"

#include "core/quill_error.h"
#include "core/text.h"
#include "interchange/entry_text.h"
#include "interchange/feed_date.h"

namespace quill::interchange {
namespace {

constexpr std::string_view kAtom = "http://www.w3.org/2005/Atom";
constexpr std::string_view kContent = "http://purl.org/rss/1.0/modules/content/";
constexpr std::string_view kDublinCore = "http://purl.org/dc/elements/1.1/";

// A name as libexpat gives it: its namespace and its local name.
struct Name {
  std::string_view space;
  std::string_view local;
};

Name Split(std::string_view name) {
  const std::size_t blank = name.rfind(' ');
  if (blank == std::string_view::npos) return {{}, name};
  return {name.substr(0, blank), name.substr(blank + 1)};
}

// WordPress names its namespace after the export format's version:
// "http://wordpress.org/export/1.2/" (its excerpt namespace adds "excerpt/").
bool IsWordPressSpace(std::string_view space) {
  for (std::string_view start : {"http://wordpress.org/export/", "https://wordpress.org/export/"}) {
    if (!space.starts_with(start)) continue;
    const std::string_view version = space.substr(start.size());
    return !version.empty() && version.back() == '/' &&
           version.find_first_not_of("0123456789.") == version.size() - 1;
  }
  return false;
}

bool IsVoidElement(std::string_view name) {
  for (std::string_view empty : {"area", "base", "br", "col", "embed", "hr", "img", "input",
                                 "link", "meta", "param", "source", "track", "wbr"}) {
    if (name == empty) return true;
  }
  return false;
}

std::string_view Attribute(const char** attributes, std::string_view wanted) {
  for (const char** a = attributes; *a != nullptr; a += 2) {
    if (Split(a[0]).local == wanted && Split(a[0]).space.empty()) return a[1];
  }
  return {};
}

std::string OneLineTrimmed(std::string_view text) {
  std::string line = core::OneLine(text);
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t") + 1 - first);
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == text.npos; }

}  // namespace

void FeedReader::StartDocument(std::string_view name) {
  const Name root = Split(name);
  if (root.space.empty() && root.local == "rss") {
    format_ = FeedFormat::Rss;
  } else if (root.space == kAtom && root.local == "feed") {
    format_ = FeedFormat::Atom;
  } else {
    throw core::QuillError("it is neither a WordPress export nor an RSS 2.0 or Atom 1.0 feed "
                           "(its first element is <" + std::string(root.local) + ">)");
  }
}

FeedReader::Field FeedReader::FieldNamed(std::string_view name) const {
  const Name field = Split(name);
  if (format_ == FeedFormat::Atom) {
    if (field.space != kAtom) return kNone;
    if (field.local == "title") return kTitle;
    if (field.local == "content") return kAtomContent;
    if (field.local == "summary") return kAtomSummary;
    if (field.local == "published") return kPublished;
    if (field.local == "updated") return kUpdated;
    return kNone;
  }
  if (field.space.empty()) {
    if (field.local == "title") return kTitle;
    if (field.local == "description") return kDescription;
    if (field.local == "pubDate") return kPubDate;
  } else if (field.space == kContent && field.local == "encoded") {
    return kEncoded;
  } else if (field.space == kDublinCore && field.local == "date") {
    return kDcDate;
  } else if (IsWordPressSpace(field.space)) {
    if (field.local == "post_date") return kPostDate;
    if (field.local == "status") return kStatus;
    if (field.local == "post_type") return kPostType;
  }
  return kNone;
}

void FeedReader::StartField(Field field, const char** attributes) {
  field_ = field;
  text_[field].clear();
  Kind kind = field == kEncoded || field == kDescription ? Kind::Html : Kind::Text;
  if (field == kPostDate || field == kStatus || field == kPostType) wordpress_item_ = true;
  if (format_ == FeedFormat::Atom && (field == kTitle || field == kAtomContent || field == kAtomSummary)) {
    // Atom says how its text constructs are to be read; content elsewhere is none of ours.
    const std::string_view type = Attribute(attributes, "type");
    if (type.empty() || type == "text") {
      kind = Kind::Text;
    } else if (type == "html" || type == "text/html") {
      kind = Kind::Html;
    } else if (type == "xhtml") {
      kind = Kind::Xhtml;
    } else {
      kind = type.starts_with("text/") ? Kind::Text : Kind::Skip;
    }
    if (!Attribute(attributes, "src").empty()) kind = Kind::Skip;
  }
  kinds_[field] = kind;
  xhtml_wrapped_ = false;
}

void FeedReader::StartElement(std::string_view name, const char** attributes) {
  ++depth_;
  if (depth_ == 1) {
    StartDocument(name);
  } else if (item_depth_ == 0) {
    const Name element = Split(name);
    const bool item = format_ == FeedFormat::Atom
                          ? depth_ == 2 && element.space == kAtom && element.local == "entry"
                          : depth_ == 3 && element.space.empty() && element.local == "item";
    if (item) {
      item_depth_ = depth_;
      wordpress_item_ = false;
      for (std::string& text : text_) text.clear();
    }
  } else if (field_ != kNone) {
    if (kinds_[field_] == Kind::Xhtml) WriteXhtmlStart(name, attributes);
  } else if (depth_ == item_depth_ + 1) {
    if (const Field field = FieldNamed(name); field != kNone) StartField(field, attributes);
  }
}

// Atom's XHTML comes wrapped in one <div>, which is not part of the text.
void FeedReader::WriteXhtmlStart(std::string_view name, const char** attributes) {
  const std::string_view local = Split(name).local;
  if (depth_ == item_depth_ + 2 && local == "div") {
    xhtml_wrapped_ = true;
    return;
  }
  std::string& out = text_[field_];
  out += '<';
  out += local;
  for (const char** a = attributes; *a != nullptr; a += 2) {
    out += ' ';
    out += Split(a[0]).local;
    out += "=\"";
    out += MarkupOfText(a[1]);
    out += '"';
  }
  out += IsVoidElement(local) ? " />" : ">";
}

void FeedReader::EndElement(std::string_view name) {
  if (field_ != kNone) {
    if (depth_ == item_depth_ + 1) {
      field_ = kNone;
    } else if (kinds_[field_] == Kind::Xhtml) {
      const std::string_view local = Split(name).local;
      const bool wrapper = depth_ == item_depth_ + 2 && xhtml_wrapped_;
      if (!wrapper && !IsVoidElement(local)) {
        text_[field_] += "</";
        text_[field_] += local;
        text_[field_] += '>';
      }
    }
  } else if (item_depth_ != 0 && depth_ == item_depth_) {
    item_depth_ = 0;
    FinishItem();
  }
  --depth_;
}

void FeedReader::Text(std::string_view text) {
  if (field_ == kNone) return;
  if (kinds_[field_] != Kind::Xhtml) {
    text_[field_] += text;
  } else if (depth_ >= item_depth_ + 2) {
    // Text beside the wrapping <div> is only the file's indentation.
    text_[field_] += MarkupOfText(text);
  }
}

std::string FeedReader::TakeMarkup(Field field) {
  switch (kinds_[field]) {
    case Kind::Text:
      return MarkupOfText(text_[field]);
    case Kind::Html:
    case Kind::Xhtml:
      return std::move(text_[field]);
    case Kind::Skip:
      break;
  }
  return {};
}

std::optional<core::Stamp> FeedReader::ItemStamp() const {
  // WordPress keeps the post's date in the old blog's local time already.
  if (wordpress_item_) {
    if (const auto stamp = core::Stamp::FromText(OneLineTrimmed(text_[kPostDate]))) return stamp;
  }
  for (const Field field : {kPublished, kUpdated, kPubDate, kDcDate}) {
    const std::string& text = text_[field];
    if (text.empty()) continue;
    auto date = field == kPubDate ? ParseRfc822Date(text) : std::nullopt;
    if (!date) date = ParseRfc3339Date(text);
    if (date) return LocalStamp(*date, zone_);
  }
  return std::nullopt;
}

void FeedReader::FinishItem() {
  if (wordpress_item_) format_ = FeedFormat::WordPress;
  FeedPost post;
  post.number = ++items_;
  const std::string type = OneLineTrimmed(text_[kPostType]);
  const std::string status = OneLineTrimmed(text_[kStatus]);
  if (!type.empty() && type != "post") {
    post.kind = type == "page"         ? FeedPost::Kind::Page
                : type == "attachment" ? FeedPost::Kind::Attachment
                                       : FeedPost::Kind::Other;
  }
  if (!status.empty() && status != "publish") {
    post.status = status == "draft" || status == "future" ? FeedPost::Status::Draft
                                                          : FeedPost::Status::Withheld;
  }
  post.stamp = ItemStamp();
  post.title = OneLineTrimmed(TakeMarkup(kTitle));
  const bool atom = format_ == FeedFormat::Atom;
  post.content = TakeMarkup(atom ? kAtomContent : kEncoded);
  if (IsBlank(post.content)) post.content = TakeMarkup(atom ? kAtomSummary : kDescription);
  post_(post);
}

}  // namespace quill::interchange
