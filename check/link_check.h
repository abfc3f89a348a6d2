#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/external_links.h"

namespace quill::check {

// One reference the check has something to say about.
struct Finding {
  enum class Verdict {
    Problem,     // leads nowhere: the reader gets an error or the wrong place
    NotChecked,  // a part of the web this project does not build, or no web address at all
    External,    // another web site
  };
  Verdict verdict = Verdict::Problem;
  std::string page;       // the file it stands in, relative to the output folder
  std::string reference;  // as written there
  std::string reason;     // "no such file", "404 Not Found", …
  int line = 0;
  int entry = -1;           // the entry block of the page its text comes from; -1: none
  std::string entry_date;   // that entry's date line, as the page shows it
  std::string entry_stamp;  // that entry's stamp "YYYY-MM-DD HH:MM:SS", when known
  int count = 1;            // External: how many references name the address
};

struct CheckOptions {
  std::string blog_address;  // where the output folder is published (Docs, else Site)
  std::string site_address;  // the user's web site (Site)
  bool external = false;     // fetch the external addresses
  FetchOptions fetch;
};

struct CheckReport {
  int pages = 0;                      // pages, feeds and sitemaps read
  std::int64_t references = 0;        // references found in them
  std::int64_t external_fetched = 0;  // distinct external addresses fetched
  std::vector<Finding> findings;

  std::int64_t Count(Finding::Verdict verdict) const;
  std::int64_t Problems() const { return Count(Finding::Verdict::Problem); }
};

// Reads every page of the output folder (every .html file but the page template) and its
// feed and sitemaps, and follows each reference as a browser would on the published site.
// Never reads a file outside the folder: symbolic links are listed, not followed. Throws
// core::QuillError when the folder itself cannot be read.
CheckReport CheckSite(const std::string& folder, const CheckOptions& options);

// The report as lines of text: the problems, what was not checked, the external addresses,
// then a summary line.
std::vector<std::string> ReportLines(const CheckReport& report);

// One finding as one line, as the report and the editor's list show it.
std::string FindingLine(const Finding& finding);

// "3 links lead nowhere", "1 link leads nowhere".
std::string ProblemSummary(std::int64_t problems);

}  // namespace quill::check
