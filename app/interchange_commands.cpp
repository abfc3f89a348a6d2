// quillsmith-build's --import and --export.

#include "app/interchange_commands.h"

#include <cstdio>
#include <vector>

#include "interchange/entry_import.h"
#include "interchange/site_export.h"
#include "interchange/time_zone.h"
#include "project/project_session.h"

namespace quill::app {
namespace {

void Print(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
}

}  // namespace

InterchangeUsage InterchangeUsageText() {
  return {
      "       quillsmith-build --import FILE [--dry-run] [--drafts] [--replace]\n"
      "                        [--fetch-images DIR] PROJECT\n"
      "       quillsmith-build --export DIR [--toml] [--force] PROJECT\n",
      "  --import FILE    bring the posts of a WordPress export (WXR), an RSS 2.0 feed or\n"
      "                   an Atom 1.0 feed into the project's entries, all or none\n"
      "  --dry-run        with --import: count what would come in, change nothing\n"
      "  --drafts         with --import: WordPress drafts and scheduled posts too\n"
      "  --replace        with --import: replace entries of the same date and time\n"
      "  --fetch-images DIR  with --import: copy the pictures the posts show from DIR (a\n"
      "                   copy of the old blog's uploads folder) into the output folder\n"
      "  --export DIR     write every entry into DIR for Hugo\n"
      "  --toml           with --export: for Zola instead\n"
      "  --force          with --export: replace files already in DIR\n"};
}

Taken TakeInterchangeOption(int argc, char** argv, int& at, InterchangeRequest& request) {
  const std::string_view option = argv[at];
  const struct {
    std::string_view name;
    bool* flag;
  } flags[] = {{"--dry-run", &request.dry_run}, {"--drafts", &request.drafts},
               {"--replace", &request.replace}, {"--toml", &request.toml},
               {"--force", &request.force}};
  for (const auto& [name, flag] : flags) {
    if (option == name) {
      *flag = true;
      return Taken::Yes;
    }
  }
  const struct {
    std::string_view name;
    std::string* value;
  } values[] = {{"--import", &request.import_file},
                {"--export", &request.export_folder},
                {"--fetch-images", &request.images}};
  for (const auto& [name, value] : values) {
    if (option != name) continue;
    if (at + 1 >= argc || std::string_view(argv[at + 1]).empty()) return Taken::ValueMissing;
    *value = argv[++at];
    return Taken::Yes;
  }
  return Taken::No;
}

std::string InterchangeProblem(const InterchangeRequest& request, bool support_files) {
  const bool importing = !request.import_file.empty();
  const bool exporting = !request.export_folder.empty();
  if (importing && exporting) return "import or export, not both at once";
  if (support_files && (importing || exporting)) {
    return "--support-files goes alone, without --import or --export";
  }
  if (!importing && (request.dry_run || request.drafts || request.replace || !request.images.empty())) {
    return "--dry-run, --drafts, --replace and --fetch-images go with --import";
  }
  if (!exporting && (request.toml || request.force)) return "--toml and --force go with --export";
  return {};
}

void RunInterchange(project::ProjectSession& session, const InterchangeRequest& request) {
  const interchange::SystemTimeZone zone;
  if (!request.import_file.empty()) {
    interchange::ImportOptions options;
    options.drafts = request.drafts;
    options.replace = request.replace;
    options.dry_run = request.dry_run;
    options.images = request.images;
    Print(DescribeImport(ImportEntries(session, request.import_file, options, zone)));
  } else {
    interchange::ExportOptions options;
    options.layout = request.toml ? interchange::ExportLayout::Zola : interchange::ExportLayout::Hugo;
    options.force = request.force;
    Print(DescribeExport(ExportEntries(session, request.export_folder, options, zone)));
  }
}

}  // namespace quill::app
