#include "interchange/site_export.h"

#include <filesystem>
#include <set>

#include "core/atomic_file.h"
#include "core/quill_error.h"
#include "core/utf8_writer.h"
#include "interchange/import_report.h"
#include "interchange/markup_links.h"
#include "project/project_session.h"
#include "site/entry_markup.h"
#include "store/entry_store.h"

namespace quill::interchange {
namespace fs = std::filesystem;
namespace {

using core::QuillError;

// A link to a file of the output folder: no site, no folder, no scheme.
bool IsBareName(std::string_view address) {
  const std::string_view file = address.substr(0, address.find_first_of("?#"));
  return !file.empty() && file.find_first_of("/\\:") == std::string_view::npos &&
         file.front() != '.';
}

std::string FileOf(std::string_view address) {
  return PercentDecoded(address.substr(0, address.find_first_of("?#")));
}

// The entry with its links to bare names made links from the site's root, the files they
// name added to `files`.
std::string WithRootLinks(std::string_view entry, std::set<std::string>& files) {
  return RewriteLinks(entry, [&](const MarkupLink& link) -> std::optional<std::string> {
    if ((link.attribute != "src" && link.attribute != "href") || !IsBareName(link.value)) {
      return std::nullopt;
    }
    files.insert(FileOf(link.value));
    return "/" + link.value;
  });
}

class Exporter {
 public:
  Exporter(project::ProjectSession& session, const std::string& folder,
           const ExportOptions& options, const TimeZone& zone)
      : session_(session), folder_(folder), options_(options), zone_(zone) {}

  ExportReport Run();

 private:
  // Every file the export writes, the entries' and static/'s included.
  std::vector<fs::path> Plan();
  void RefuseToReplace(const std::vector<fs::path>& targets) const;
  void WritePost(const core::Stamp& stamp, std::string_view entry);
  void WriteFile(const fs::path& path, std::string_view text) const;
  void CopyStatic(ExportReport& report) const;

  fs::path Posts() const { return folder_ / "content" / "posts"; }

  project::ProjectSession& session_;
  fs::path folder_;
  const ExportOptions& options_;
  const TimeZone& zone_;
  std::set<std::string> files_;  // bare names the entries link to
};

std::vector<fs::path> Exporter::Plan() {
  std::vector<fs::path> targets{folder_ / ConfigFileName(options_.layout), folder_ / "README.txt"};
  if (options_.layout == ExportLayout::Zola) targets.push_back(Posts() / "_index.md");
  store::EntryStore& entries = session_.Entries();
  const store::EntryStore::ReadBatch batch(entries);
  for (store::EntryStore::NewestFirst walk(entries); !walk.Done(); walk.Next()) {
    targets.push_back(Posts() / PostFileName(walk.Stamp(), options_.layout));
    WithRootLinks(walk.Content(), files_);
  }
  const fs::path output = session_.Project().OutputFolder;
  std::error_code error;
  for (const std::string& name : files_) {
    if (fs::is_regular_file(output / name, error)) targets.push_back(folder_ / "static" / name);
  }
  return targets;
}

void Exporter::RefuseToReplace(const std::vector<fs::path>& targets) const {
  std::vector<std::string> there;
  std::error_code error;
  for (const fs::path& target : targets) {
    if (fs::exists(fs::symlink_status(target, error))) {
      there.push_back(target.lexically_relative(folder_).generic_string());
    }
  }
  if (there.empty()) return;
  std::string list = there.front();
  if (there.size() > 1) list += " and " + CountText(static_cast<std::int64_t>(there.size()) - 1) + " more";
  throw QuillError("Nothing was exported: " + folder_.string() + " already holds " + list +
                   " of the files the export writes. Choose an empty folder, or ask for the "
                   "files there to be replaced.");
}

void Exporter::WriteFile(const fs::path& path, std::string_view text) const {
  core::AtomicFile file(path.string());
  file.Write(text);
  file.Commit();
}

void Exporter::WritePost(const core::Stamp& stamp, std::string_view entry) {
  core::AtomicFile file((Posts() / PostFileName(stamp, options_.layout)).string());
  const PostHeader header{ExportTitle(entry), stamp, zone_.OffsetAt(stamp)};
  file.Write(FrontMatter(header, options_.layout));
  // Markdown passes an HTML block through as it stands up to its first blank line, and the
  // paragraphs are one line.
  file.Write("<div>\n");
  core::Utf8Writer writer(file);
  site::WriteEntryParagraphs(writer, WithRootLinks(entry, files_));
  file.Write("</div>\n");
  file.Commit();
}

void Exporter::CopyStatic(ExportReport& report) const {
  const fs::path output = session_.Project().OutputFolder;
  for (const std::string& name : files_) {
    std::error_code error;
    if (!fs::is_regular_file(output / name, error)) {
      report.missing.push_back(name);
      continue;
    }
    fs::create_directories(folder_ / "static", error);
    fs::copy_file(output / name, folder_ / "static" / name,
                  fs::copy_options::overwrite_existing, error);
    if (error) {
      throw QuillError("Cannot copy " + (output / name).string() + " into " +
                       (folder_ / "static").string() + ": " + error.message());
    }
    ++report.files;
  }
}

ExportReport Exporter::Run() {
  if (folder_.empty()) throw QuillError("Nothing was exported: no folder was named.");
  const std::vector<fs::path> targets = Plan();
  if (!options_.force) RefuseToReplace(targets);
  std::error_code error;
  fs::create_directories(Posts(), error);
  if (error) {
    throw QuillError("Cannot make the folder " + Posts().string() + ": " + error.message());
  }
  ExportReport report{options_.layout, folder_.string(), 0, 0, {}};
  {
    store::EntryStore& entries = session_.Entries();
    const store::EntryStore::ReadBatch batch(entries);
    for (store::EntryStore::NewestFirst walk(entries); !walk.Done(); walk.Next(), ++report.entries) {
      WritePost(walk.Stamp(), walk.Content());
    }
  }
  CopyStatic(report);
  const core::ProjectSettings& settings = session_.Project();
  if (options_.layout == ExportLayout::Zola) WriteFile(Posts() / "_index.md", SectionIndexText(settings));
  WriteFile(folder_ / ConfigFileName(options_.layout), ConfigText(settings, options_.layout));
  WriteFile(folder_ / "README.txt", ReadmeText(settings, options_.layout));
  return report;
}

}  // namespace

ExportReport ExportEntries(project::ProjectSession& session, const std::string& folder,
                           const ExportOptions& options, const TimeZone& zone) {
  return Exporter(session, folder, options, zone).Run();
}

std::vector<std::string> DescribeExport(const ExportReport& report) {
  const bool hugo = report.layout == ExportLayout::Hugo;
  std::string line = "Exported " + CountText(report.entries) +
                     (report.entries == 1 ? " entry" : " entries") + " for " +
                     (hugo ? "Hugo" : "Zola") + " into " + report.folder;
  if (report.files > 0) {
    line += ", with " + CountText(report.files) + (report.files == 1 ? " file" : " files") +
            " in static/";
  }
  std::vector<std::string> lines{line + "."};
  if (!report.missing.empty()) {
    std::string names;
    for (const std::string& name : report.missing) names += (names.empty() ? "" : ", ") + name;
    lines.push_back("The entries link to " +
                    std::string(report.missing.size() == 1 ? "a file" : "files") +
                    " the output folder does not hold: " + names + ".");
  }
  return lines;
}

}  // namespace quill::interchange
