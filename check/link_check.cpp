#include "check/link_check.h"

#include <fcntl.h>
#include <libxml/parser.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "check/address.h"
#include "check/ordered_work.h"
#include "check/page_scan.h"
#include "check/site_tree.h"
#include "core/file_names.h"
#include "core/quill_error.h"

namespace quill::check {
namespace {

using Verdict = Finding::Verdict;

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  for (std::size_t i = 0; i < end.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i]) {
      return false;
    }
  }
  return true;
}

bool IsPage(std::string_view name) {
  return (EndsWithNoCase(name, ".html") || EndsWithNoCase(name, ".htm")) &&
         name != core::kTemplateFile;  // the generator's input, not a page of the site
}

bool IsFeed(std::string_view name) {
  return name == core::kFeedFile ||
         (name.starts_with("sitemap") && name.ends_with(".xml") && name.find('/') == name.npos);
}

// The stamp an entry page's name carries: "2026-12-08-095544.html" is 2026-12-08 09:55:44.
std::string StampOfEntryPage(std::string_view name) {
  name = name.substr(name.rfind('/') + 1);
  constexpr std::string_view kForm = "dddd-dd-dd-dddddd.html";
  if (name.size() != kForm.size()) return {};
  for (std::size_t i = 0; i < kForm.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (kForm[i] == 'd' ? !digit : name[i] != kForm[i]) return {};
  }
  return std::string(name.substr(0, 10)) + " " + std::string(name.substr(11, 2)) + ":" +
         std::string(name.substr(13, 2)) + ":" + std::string(name.substr(15, 2));
}

Finding Made(Verdict verdict, std::string page, std::string reference, std::string reason) {
  Finding finding;
  finding.verdict = verdict;
  finding.page = std::move(page);
  finding.reference = std::move(reference);
  finding.reason = std::move(reason);
  return finding;
}

// A finding about `reference` in `page`, with the entry its text comes from.
Finding FindingAt(const std::string& page, const Reference& reference,
                  const std::vector<EntryBlock>& entries, std::string reason) {
  Finding finding = Made(Verdict::Problem, page, reference.value, std::move(reason));
  finding.line = reference.line;
  finding.entry = reference.entry;
  if (reference.entry >= 0) {
    const EntryBlock& block = entries[static_cast<std::size_t>(reference.entry)];
    finding.entry_date = block.date;
    finding.entry_stamp = StampOfEntryPage(page);
    if (finding.entry_stamp.empty()) finding.entry_stamp = StampOfEntryPage(block.link);
  }
  return finding;
}

// Reads a file of the walk, by its name in the output folder `folder` (open), refusing a
// symbolic link put in its place since. A read that gives less than it was asked for has
// reached the end of a regular file: a small page takes one read.
std::optional<std::string> ReadWhole(int folder, const std::string& name, std::string& why) {
  const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return std::nullopt;
  }
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      why = std::strerror(errno);
      ::close(fd);
      return std::nullopt;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (static_cast<std::size_t>(n) < sizeof buffer) break;
  }
  ::close(fd);
  return bytes;
}

// A folder held open, so that its files are opened by their names in it.
struct OpenFolder {
  explicit OpenFolder(const std::string& path)
      : fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd < 0) {
      throw core::QuillError("Cannot read the folder " + path + ": " + std::strerror(errno));
    }
  }
  ~OpenFolder() { ::close(fd); }
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;
  const int fd;
};

// A page's id values and <a name>s, sorted, each once.
using Anchors = std::vector<std::string>;

// What one page or feed gave, worked out on a worker thread: every reference followed as far
// as the page alone tells, in page order. What needs other pages (a fragment in a page not
// read yet) or the network is left to the reader of the results.
struct Examined {
  enum class Step { Settled, Fragment, External };
  struct Item {
    Step step = Step::Settled;
    Finding finding;
    std::string reached;   // Fragment: the page whose anchors decide it
    std::string fragment;  // Fragment
    std::string address;   // External
  };
  std::string name;
  bool read = false;
  Anchors anchors;
  std::int64_t references = 0;
  std::vector<Item> items;
  // Unless they are fetched, an external address is listed once: only its first item on the
  // page is kept, counting the others.
  std::unordered_map<std::string, std::size_t> external_items;
};

// What following a reference needs of the page it stands in.
struct PageContext {
  std::string_view base;  // the page's <base href>
  const std::vector<EntryBlock>* entries = nullptr;
  const Anchors* anchors = nullptr;  // its own, for its own fragments
  // A reference written again on the page leads where it led the first time: to a place that
  // is there, or to an external address listed once (the index of its item). Keyed by the
  // references as the page's scan holds them.
  std::unordered_set<std::string_view> fine;
  std::unordered_map<std::string_view, std::size_t> external;
};

class SiteChecker {
 public:
  SiteChecker(const std::string& folder, const CheckOptions& options)
      : options_(options), tree_(folder), resolver_(options.blog_address, options.site_address) {}

  CheckReport Run();

 private:
  // Reads every page, feed and sitemap on worker threads and takes what each gave in name
  // order.
  void ExamineAll();
  // Reads and follows one file; safe on any thread, as it reads only what never changes.
  Examined Examine(const std::string& name) const;
  void Follow(Examined& examined, const Reference& reference, PageContext& context) const;
  // Why a file or folder of the output folder does not serve the reference; empty when it
  // does. `reached` is the page that answers it.
  std::string ReasonInside(const std::string& path, std::string& reached) const;
  static std::string ReasonForFragment(const Anchors& anchors, const std::string& reached,
                                       const std::string& fragment);
  void Take(Examined examined);
  void External(Finding finding, const std::string& address);
  void AddExternalFindings();

  const CheckOptions& options_;
  SiteTree tree_;
  int folder_fd_ = -1;  // the output folder, open while its files are read
  AddressResolver resolver_;
  CheckReport report_;
  // Pages built from one template mostly share their anchors: each set is kept once.
  std::set<Anchors> anchor_sets_;
  // The pages, feeds and sitemaps in name order, and the anchors of each once it is read.
  std::vector<const std::string*> names_;
  std::vector<const Anchors*> anchors_;
  const Anchors* unknown_ = nullptr;
  // The slot of a page among them (`unknown_` for a name that is none of them).
  const Anchors*& AnchorsOf(const std::string& name);
  // A fragment of a page not read yet: its finding waits in its place among the others.
  struct Pending {
    std::size_t finding;
    std::string reached;
    std::string fragment;
  };
  std::vector<Pending> pending_;
  std::map<std::string, std::vector<Finding>> external_;
};

CheckReport SiteChecker::Run() {
  for (const std::string& link : tree_.Links()) {
    report_.findings.push_back(
        Made(Verdict::NotChecked, link, "", "a symbolic link: not followed, and not uploaded"));
  }
  for (const std::string& name : tree_.Files()) {
    if (IsPage(name) || IsFeed(name)) names_.push_back(&name);
  }
  anchors_.assign(names_.size(), nullptr);
  // The parser's own set-up is done once, before any thread parses.
  xmlInitParser();
  ExamineAll();
  for (const Pending& pending : pending_) {
    const Anchors* anchors = AnchorsOf(pending.reached);
    // A page that could not be read is said so already.
    report_.findings[pending.finding].reason =
        anchors == nullptr ? std::string()
                           : ReasonForFragment(*anchors, pending.reached, pending.fragment);
  }
  std::erase_if(report_.findings, [](const Finding& finding) { return finding.reason.empty(); });
  AddExternalFindings();
  std::stable_sort(report_.findings.begin(), report_.findings.end(),
                   [](const Finding& a, const Finding& b) {
                     return a.page != b.page ? a.page < b.page : a.line < b.line;
                   });
  return std::move(report_);
}

void SiteChecker::ExamineAll() {
  const OpenFolder folder(tree_.Folder());
  folder_fd_ = folder.fd;
  // Pages go to the workers a few at a time: handing each over on its own would cost the
  // threads more in waking each other than most pages take to read.
  constexpr std::size_t kBatch = 8;
  const std::size_t batches = (names_.size() + kBatch - 1) / kBatch;
  OrderedWork<std::vector<Examined>> work(batches, [&](std::size_t batch) {
    std::vector<Examined> done;
    const std::size_t end = std::min(names_.size(), (batch + 1) * kBatch);
    for (std::size_t i = batch * kBatch; i < end; ++i) done.push_back(Examine(*names_[i]));
    return done;
  });
  for (std::size_t batch = 0; batch < batches; ++batch) {
    for (Examined& examined : work.Next()) Take(std::move(examined));
  }
}

Examined SiteChecker::Examine(const std::string& name) const {
  Examined examined;
  examined.name = name;
  std::string why;
  const std::optional<std::string> bytes = ReadWhole(folder_fd_, name, why);
  if (!bytes) {
    Examined::Item item;
    item.finding = Made(Verdict::NotChecked, name, "", "cannot be read: " + why);
    examined.items.push_back(std::move(item));
    return examined;
  }
  examined.read = true;
  if (!IsPage(name)) {
    const std::vector<EntryBlock> entries;
    PageContext context{{}, &entries, &examined.anchors, {}, {}};
    const std::vector<Reference> references = ScanFeed(*bytes);
    for (const Reference& reference : references) Follow(examined, reference, context);
    return examined;
  }
  PageScan scan = ScanPage(*bytes);
  Anchors& anchors = examined.anchors;
  anchors = std::move(scan.anchors);
  std::sort(anchors.begin(), anchors.end());
  anchors.erase(std::unique(anchors.begin(), anchors.end()), anchors.end());
  PageContext context{scan.base, &scan.entries, &anchors, {}, {}};
  for (const Reference& reference : scan.references) Follow(examined, reference, context);
  return examined;
}

void SiteChecker::Follow(Examined& examined, const Reference& reference,
                         PageContext& context) const {
  ++examined.references;
  const std::string_view value = reference.value;
  if (context.fine.contains(value)) return;
  if (const auto known = context.external.find(value); known != context.external.end()) {
    ++examined.items[known->second].finding.count;
    return;
  }
  const std::string& page = examined.name;
  const Target target = resolver_.Resolve(value, page, context.base);
  std::string reached;
  std::string reason;
  if (target.kind == Target::Kind::External && !options_.external) {
    const auto at = examined.external_items.find(target.address);
    if (at != examined.external_items.end()) {
      ++examined.items[at->second].finding.count;
      context.external.emplace(value, at->second);
      return;
    }
    examined.external_items.emplace(target.address, examined.items.size());
    context.external.emplace(value, examined.items.size());
  }
  if (target.kind == Target::Kind::Inside) {
    reason = ReasonInside(target.path, reached);
    const bool fragment = reason.empty() && target.has_fragment && IsPage(reached);
    if (fragment && reached == page) {
      reason = ReasonForFragment(*context.anchors, page, target.fragment);
    }
    // Most references lead where they should: nothing more to keep of them.
    if (reason.empty() && !(fragment && reached != page)) {
      context.fine.insert(value);
      return;
    }
  }

  Examined::Item item;
  Finding& finding = item.finding;
  finding = FindingAt(page, reference, *context.entries, std::move(reason));
  switch (target.kind) {
    case Target::Kind::NotChecked:
      finding.verdict = Verdict::NotChecked;
      finding.reason = target.why;
      break;
    case Target::Kind::External:
      finding.verdict = Verdict::External;
      item.step = Examined::Step::External;
      item.address = target.address;
      break;
    case Target::Kind::Inside:
      if (finding.reason.empty()) {
        item.step = Examined::Step::Fragment;
        item.reached = reached;
        item.fragment = target.fragment;
      }
      break;
  }
  examined.items.push_back(std::move(item));
}

void SiteChecker::Take(Examined examined) {
  if (examined.read) {
    ++report_.pages;
    AnchorsOf(examined.name) = &*anchor_sets_.insert(std::move(examined.anchors)).first;
  }
  report_.references += examined.references;
  for (Examined::Item& item : examined.items) {
    switch (item.step) {
      case Examined::Step::Settled:
        report_.findings.push_back(std::move(item.finding));
        break;
      case Examined::Step::External:
        External(std::move(item.finding), item.address);
        break;
      case Examined::Step::Fragment: {
        if (const Anchors* anchors = AnchorsOf(item.reached)) {
          item.finding.reason = ReasonForFragment(*anchors, item.reached, item.fragment);
          if (!item.finding.reason.empty()) report_.findings.push_back(std::move(item.finding));
        } else {
          pending_.push_back({report_.findings.size(), item.reached, item.fragment});
          report_.findings.push_back(std::move(item.finding));
        }
        break;
      }
    }
  }
}

const Anchors*& SiteChecker::AnchorsOf(const std::string& name) {
  const auto at =
      std::lower_bound(names_.begin(), names_.end(), name,
                       [](const std::string* a, const std::string& b) { return *a < b; });
  if (at == names_.end() || **at != name) return unknown_ = nullptr;
  return anchors_[static_cast<std::size_t>(at - names_.begin())];
}

std::string SiteChecker::ReasonInside(const std::string& path, std::string& reached) const {
  const bool folder_wanted = path.empty() || path.back() == '/';
  const std::string_view name = std::string_view(path).substr(
      0, folder_wanted && !path.empty() ? path.size() - 1 : path.size());
  const SiteTree::Kind kind = name.empty() ? SiteTree::Kind::Folder : tree_.KindOf(name);
  switch (kind) {
    case SiteTree::Kind::File:
      if (folder_wanted) return "a file, not a folder";
      reached = name;
      return {};
    case SiteTree::Kind::Folder: {
      reached = name.empty() ? "index.html" : std::string(name) + "/index.html";
      if (tree_.KindOf(reached) == SiteTree::Kind::File) return {};
      return "no index.html in " +
             (name.empty() ? std::string("the output folder") : std::string(name) + "/");
    }
    case SiteTree::Kind::Link:
      return "a symbolic link, which is not uploaded";
    case SiteTree::Kind::Withheld:
      return "never uploaded";
    case SiteTree::Kind::Missing:
      break;
  }
  const std::vector<std::string> variants = tree_.CaseVariants(name);
  if (!variants.empty()) return "differs only in letter case from " + variants.front();
  return "no such file";
}

std::string SiteChecker::ReasonForFragment(const Anchors& anchors, const std::string& reached,
                                           const std::string& fragment) {
  // An empty fragment and "top" take the reader to the top of any page.
  if (fragment.empty() || fragment == "top" || fragment == "TOP" || fragment == "Top") return {};
  const auto has = [&](const std::string& id) {
    return std::binary_search(anchors.begin(), anchors.end(), id);
  };
  if (has(fragment) || has(PercentDecoded(fragment))) return {};
  return "no element with id " + PercentDecoded(fragment) + " in " + reached;
}

void SiteChecker::External(Finding finding, const std::string& address) {
  std::vector<Finding>& uses = external_[address];
  if (!options_.external && !uses.empty()) {
    uses.front().count += finding.count;  // listed once; every use only reports failures
    return;
  }
  uses.push_back(std::move(finding));
}

void SiteChecker::AddExternalFindings() {
  if (!options_.external) {
    for (auto& [address, uses] : external_) {
      Finding& first = uses.front();
      first.reference = address;
      first.reason = "not fetched";
      report_.findings.push_back(std::move(first));
    }
    return;
  }
  std::vector<std::string> addresses;
  for (const auto& entry : external_) addresses.push_back(entry.first);
  const auto results = FetchAddresses(addresses, options_.fetch);
  report_.external_fetched = static_cast<std::int64_t>(addresses.size());
  for (auto& [address, uses] : external_) {
    const FetchResult& result = results.at(address);
    if (result.ok) continue;
    for (Finding& use : uses) {
      use.verdict = Verdict::Problem;
      use.reason = result.reason;
      report_.findings.push_back(std::move(use));
    }
  }
}

}  // namespace

std::int64_t CheckReport::Count(Finding::Verdict verdict) const {
  return std::count_if(findings.begin(), findings.end(),
                       [&](const Finding& finding) { return finding.verdict == verdict; });
}

CheckReport CheckSite(const std::string& folder, const CheckOptions& options) {
  SiteChecker checker(folder, options);
  CheckReport report = checker.Run();
  return report;
}

}  // namespace quill::check
