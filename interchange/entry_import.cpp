#include "interchange/entry_import.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <unordered_set>

#include "core/html_references.h"
#include "core/quill_error.h"
#include "core/text.h"
#include "interchange/entry_text.h"
#include "interchange/feed_reader.h"
#include "interchange/markup_links.h"
#include "project/project_session.h"
#include "site/text_digest.h"
#include "store/entry_store.h"

namespace quill::interchange {
namespace {

using core::QuillError;
using core::Stamp;

bool IsImageAddress(std::string_view address) {
  address = address.substr(0, address.find_first_of("?#"));
  const std::size_t dot = address.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = address.substr(dot + 1);
  for (std::string_view image : {"jpg", "jpeg", "png", "gif", "webp", "svg", "avif", "bmp"}) {
    if (core::EqualsIgnoringCase(extension, image)) return true;
  }
  return false;
}

// A post's title as the notes name it.
std::string Named(const FeedPost& post) {
  std::string title = core::DecodeReferences(site::StripMarkup(post.title));
  if (title.empty()) return "Post " + CountText(post.number);
  return "Post " + CountText(post.number) + " (\"" + title + "\")";
}

// Takes the posts as the file yields them and stores those that become entries.
class Importer {
 public:
  // A dry run only reads what is stored, and a project without entries may have no file yet
  // (`stored`).
  Importer(store::EntryStore& entries, bool stored, const ImportOptions& options,
           ImageFetcher* images, ImportReport& report)
      : entries_(entries), options_(options), images_(images), report_(report), stored_(stored) {
    if (!options.dry_run) batch_.emplace(entries);
  }

  void Take(FeedPost& post);
  void Commit() {
    if (batch_) batch_->Commit();
  }

 private:
  bool Wanted(const FeedPost& post);
  std::string WithImages(std::string text);
  void Store(const FeedPost& post, const std::string& text);
  bool Has(const Stamp& stamp) {
    if (batch_) return batch_->Has(stamp);
    return stored_ && entries_.HasEntry(stamp);
  }

  store::EntryStore& entries_;
  const ImportOptions& options_;
  ImageFetcher* images_;
  ImportReport& report_;
  bool stored_;
  std::optional<store::EntryStore::WriteBatch> batch_;
  // Every second a post of this import stands at, skipped ones too.
  std::unordered_set<UtcSeconds> taken_;
};

bool Importer::Wanted(const FeedPost& post) {
  switch (post.kind) {
    case FeedPost::Kind::Page:
      ++report_.pages;
      return false;
    case FeedPost::Kind::Attachment:
      ++report_.attachments;
      return false;
    case FeedPost::Kind::Other:
      ++report_.other_items;
      return false;
    case FeedPost::Kind::Post:
      break;
  }
  if (post.status == FeedPost::Status::Withheld ||
      (post.status == FeedPost::Status::Draft && !options_.drafts)) {
    ++report_.unpublished;
    return false;
  }
  if (!post.stamp) {
    ++report_.undated;
    report_.notes.push_back(Named(post) + " was skipped: it has no date that can be read.");
    return false;
  }
  return true;
}

std::string Importer::WithImages(std::string text) {
  const auto counts = [](const MarkupLink& link) {
    return link.tag == "img" && link.attribute == "src" && !link.value.starts_with("data:");
  };
  if (images_ == nullptr) {
    ForEachLink(text, [&](const MarkupLink& link) {
      if (counts(link)) ++report_.old_site_images;
    });
    return text;
  }
  return RewriteLinks(text, [&](const MarkupLink& link) -> std::optional<std::string> {
    const bool image = counts(link);
    if (!image && !(link.tag == "a" && link.attribute == "href" && IsImageAddress(link.value))) {
      return std::nullopt;
    }
    auto name = images_->Fetch(link.value);
    if (!name && image) ++report_.old_site_images;
    return name;
  });
}

void Importer::Store(const FeedPost& post, const std::string& text) {
  Stamp at = *post.stamp;
  bool moved = false;
  while (taken_.contains(AsUtc(at))) {
    const auto next = CivilOfUtc(AsUtc(at) + 1);
    if (!next) {
      ++report_.undated;
      report_.notes.push_back(Named(post) + " was skipped: other posts hold every second from " +
                              post.stamp->ToText() + " to the last a date can have.");
      return;
    }
    at = *next;
    moved = true;
  }
  taken_.insert(AsUtc(at));
  if (Has(at)) {
    if (!options_.replace) {
      ++report_.present;
      return;
    }
    ++report_.replaced;
  }
  if (batch_) batch_->Put(at, text);
  ++report_.imported;
  if (moved) {
    ++report_.moved;
    report_.notes.push_back(Named(post) + " moved on to " + at.ToText() + ": another post has " +
                            post.stamp->ToText() + ".");
  }
}

void Importer::Take(FeedPost& post) {
  if (!Wanted(post)) return;
  std::string text = EntryTextOf(post.title, post.content);
  post.content.clear();
  post.content.shrink_to_fit();
  Store(post, WithImages(std::move(text)));
}

}  // namespace

ImportReport ImportEntries(project::ProjectSession& session, const std::string& path,
                           const ImportOptions& options, const TimeZone& zone) {
  ImportReport report;
  report.dry_run = options.dry_run;
  XmlFileReader reader(path);
  std::int64_t post_number = 0;
  bool in_post = false;  // the failure came while a post was being stored
  try {
    const core::ProjectSettings& project = session.Project();
    const std::string& folder = project.OutputFolder;
    if (folder.empty()) throw QuillError("the project has no output folder yet");
    std::error_code error;
    if (!options.dry_run && !std::filesystem::create_directories(folder, error) && error) {
      throw QuillError("cannot make the output folder " + folder + ": " + error.message());
    }
    std::unique_ptr<ImageFetcher> images;
    if (!options.images.empty()) {
      images = std::make_unique<ImageFetcher>(options.images, folder, options.dry_run);
    }
    const bool stored = std::filesystem::exists(project.DatabasePath, error);
    Importer importer(session.Entries(), stored, options, images.get(), report);
    FeedReader feed(zone, [&](FeedPost& post) {
      post_number = post.number;
      in_post = true;
      importer.Take(post);
      in_post = false;
    });
    reader.Read(feed);
    report.format = feed.Format();
    if (images) images->Place();
    importer.Commit();
    if (images) {
      images->Keep();
      report.copied_images = images->Copied();
      report.renamed_images = images->Renamed();
    }
  } catch (const std::exception& error) {
    const std::string where =
        in_post ? " (stopped at the file's item " + CountText(post_number) + ", byte " +
                              CountText(reader.Byte()) + ")"
                        : "";
    throw QuillError("Nothing was imported from " + path + ": " + error.what() + where + ".");
  }
  if (!options.dry_run && report.imported > 0 && !session.Settings().StampSave()) {
    report.notes.push_back("The entries are stored, but the time of the change could not be "
                           "recorded: " + session.Settings().LastFailure());
  }
  return report;
}

}  // namespace quill::interchange
