// The check's report as text, for the command line and the editor's list.

#include <string>
#include <vector>

#include "check/link_check.h"

namespace quill::check {
namespace {

constexpr std::size_t kLongest = 200;  // a longer reference is shown by its start

std::string Counted(std::int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Shown(const std::string& reference) {
  if (reference.size() <= kLongest) return reference;
  std::size_t cut = kLongest - 40;
  while (cut > 0 && (static_cast<unsigned char>(reference[cut]) & 0xC0) == 0x80) --cut;
  return reference.substr(0, cut) + "\xE2\x80\xA6 (" + std::to_string(reference.size()) +
         " characters)";
}

std::string Where(const Finding& finding) {
  std::string where = finding.page;
  if (!finding.entry_stamp.empty()) {
    where += ", entry " + finding.entry_stamp;
  } else if (finding.entry >= 0) {
    where += ", entry of " + finding.entry_date;
  }
  return where;
}

}  // namespace

std::string FindingLine(const Finding& finding) {
  std::string line;
  switch (finding.verdict) {
    case Finding::Verdict::Problem:
      break;
    case Finding::Verdict::NotChecked:
      line = "not checked: ";
      break;
    case Finding::Verdict::External:
      return "external, not fetched: " + Shown(finding.reference) + " (" +
             Counted(finding.count, "reference", "references") + ", first in " + Where(finding) +
             ")";
  }
  line += Where(finding) + ": ";
  if (!finding.reference.empty()) line += Shown(finding.reference) + ": ";
  return line + finding.reason;
}

std::string ProblemSummary(std::int64_t problems) {
  return Counted(problems, "link leads", "links lead") + " nowhere";
}

std::vector<std::string> ReportLines(const CheckReport& report) {
  std::vector<std::string> lines;
  for (const Finding::Verdict verdict :
       {Finding::Verdict::Problem, Finding::Verdict::NotChecked, Finding::Verdict::External}) {
    for (const Finding& finding : report.findings) {
      if (finding.verdict == verdict) lines.push_back(FindingLine(finding));
    }
  }
  std::string summary = Counted(report.pages, "page", "pages") + " read, " +
                        Counted(report.references, "reference", "references") + ": " +
                        Counted(report.Problems(), "problem", "problems") + ", " +
                        std::to_string(report.Count(Finding::Verdict::NotChecked)) +
                        " not checked, ";
  if (report.external_fetched > 0) {
    summary +=
        Counted(report.external_fetched, "external address", "external addresses") + " fetched";
  } else {
    summary += Counted(report.Count(Finding::Verdict::External), "external address",
                       "external addresses") +
               " not fetched";
  }
  lines.push_back(summary + ".");
  return lines;
}

}  // namespace quill::check
