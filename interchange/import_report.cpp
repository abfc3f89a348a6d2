#include "interchange/import_report.h"

namespace quill::interchange {
namespace {

std::string Counted(std::int64_t n, const std::string& one, const std::string& many) {
  return CountText(n) + " " + (n == 1 ? one : many);
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& parts) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
    text += parts[i];
  }
  return text;
}

std::string Summary(const ImportReport& report) {
  std::string line = std::string(report.dry_run ? "Would import " : "Imported ") +
                     Counted(report.imported, "entry", "entries");
  std::vector<std::string> remarks;
  if (report.moved > 0) remarks.push_back(CountText(report.moved) + " moved one second");
  if (report.replaced > 0) remarks.push_back(CountText(report.replaced) + " replacing entries of the same date");
  if (report.present > 0) remarks.push_back(CountText(report.present) + " skipped as already present");
  if (!remarks.empty()) {
    line += " (";
    for (std::size_t i = 0; i < remarks.size(); ++i) line += (i > 0 ? ", " : "") + remarks[i];
    line += ")";
  }
  if (report.old_site_images > 0) {
    line += "; " + CountText(report.old_site_images) +
            (report.old_site_images == 1 ? " image links" : " images link") + " to the old site";
  }
  return line + ".";
}

}  // namespace

std::string CountText(std::int64_t n) {
  const std::string digits = std::to_string(n < 0 ? -n : n);
  std::string text = n < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

std::vector<std::string> DescribeImport(const ImportReport& report) {
  std::vector<std::string> lines{Summary(report)};
  std::vector<std::string> skipped;
  if (report.pages > 0) skipped.push_back(Counted(report.pages, "page", "pages"));
  if (report.attachments > 0) {
    skipped.push_back(Counted(report.attachments, "attachment", "attachments"));
  }
  if (report.other_items > 0) {
    skipped.push_back(Counted(report.other_items, "other item", "other items"));
  }
  if (report.unpublished > 0) {
    skipped.push_back(Counted(report.unpublished, "post", "posts") + " not published");
  }
  if (report.undated > 0) {
    skipped.push_back(Counted(report.undated, "post", "posts") + " without a usable date");
  }
  if (!skipped.empty()) lines.push_back("Skipped " + Listed(skipped) + ".");
  if (report.copied_images > 0 || !report.renamed_images.empty()) {
    std::string line = std::string(report.dry_run ? "Would copy " : "Copied ") +
                       Counted(report.copied_images, "picture", "pictures") +
                       " into the output folder";
    if (!report.renamed_images.empty()) {
      std::vector<std::string> renamed;
      for (const RenamedImage& image : report.renamed_images) {
        renamed.push_back(image.from + " as " + image.to);
      }
      line += "; renamed, as their names were taken: " + Listed(renamed);
    }
    lines.push_back(line + ".");
  }
  lines.insert(lines.end(), report.notes.begin(), report.notes.end());
  return lines;
}

}  // namespace quill::interchange
