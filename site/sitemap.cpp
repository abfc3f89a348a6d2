#include "site/sitemap.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "core/text.h"
#include "core/win1252_writer.h"
#include "site/blog_pages.h"
#include "site/site_names.h"
#include "site/xml_text.h"

namespace quill::site {
namespace {

constexpr std::string_view kXmlLine = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr std::string_view kNamespace = " xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">";

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void AppendEscape(std::string& out, unsigned char byte) {
  char escape[4];
  std::snprintf(escape, sizeof escape, "%%%02X", byte);
  out += escape;
}

// W3C date and time with the offset from UTC: "2026-12-08T09:55:44+01:00".
std::string W3cDate(const core::Stamp& stamp, int utc_offset_seconds) {
  const int minutes = (utc_offset_seconds < 0 ? -utc_offset_seconds : utc_offset_seconds) / 60;
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", stamp.year,
                stamp.month, stamp.day, stamp.hour, stamp.minute, stamp.second,
                utc_offset_seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
  return text;
}

// Every address of the site in the sitemap's order, one at a time.
class Addresses {
 public:
  Addresses(const core::ProjectSettings& settings, const EntryIndex& index,
            const std::vector<std::string>& archive_pages, int blog_pages)
      : settings_(settings), index_(index), archive_(archive_pages), blog_pages_(blog_pages) {}

  std::size_t Count() const {
    return index_.Size() + archive_.size() + static_cast<std::size_t>(blog_pages_);
  }
  // The i-th: its file name and, for an entry page, its stamp.
  std::string Name(std::size_t i, const core::Stamp** stamp) {
    *stamp = nullptr;
    if (i < index_.Size()) {
      stamp_ = index_.At(index_.Size() - 1 - i);
      *stamp = &stamp_;
      return EntryPageName(stamp_);
    }
    i -= index_.Size();
    if (i < archive_.size()) return archive_[archive_.size() - 1 - i];
    i -= archive_.size();
    const int last = blog_pages_ - 1;
    return PageName(settings_, last - static_cast<int>(i), last);
  }

 private:
  const core::ProjectSettings& settings_;
  const EntryIndex& index_;
  const std::vector<std::string>& archive_;
  int blog_pages_;
  core::Stamp stamp_;
};

void WriteUrlSet(SiteOutput& output, const std::string& name, const std::string& base,
                 Addresses& addresses, std::size_t from, std::size_t to, int offset) {
  const auto file = output.Create(name);
  core::Win1252Writer writer(*file);
  writer.WriteLine(kXmlLine);
  writer.WriteLine("<urlset" + std::string(kNamespace));
  for (std::size_t i = from; i < to; ++i) {
    const core::Stamp* stamp = nullptr;
    std::string line = "<url><loc>" + XmlText(AbsoluteAddress(base, addresses.Name(i, &stamp)));
    line += "</loc>";
    if (stamp != nullptr) line += "<lastmod>" + W3cDate(*stamp, offset) + "</lastmod>";
    writer.WriteLine(line + "</url>");
  }
  writer.WriteLine("</urlset>");
  file->Commit();
}

}  // namespace

std::string SiteAddress(const core::ProjectSettings& settings) {
  return core::Trim(settings.Docs.empty() ? settings.Site : settings.Docs);
}

std::string AbsoluteAddress(std::string_view base, std::string_view name) {
  std::string out;
  std::string_view trimmed = base;
  while (!trimmed.empty() && trimmed.back() == '/') trimmed.remove_suffix(1);
  for (std::size_t i = 0; i < trimmed.size(); ++i) {
    const auto c = static_cast<unsigned char>(trimmed[i]);
    const bool escape_start =
        c == '%' && i + 2 < trimmed.size() && IsHex(trimmed[i + 1]) && IsHex(trimmed[i + 2]);
    const bool unsafe =
        std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) != std::string_view::npos;
    if (c <= 0x20 || c >= 0x7F || unsafe || (c == '%' && !escape_start)) {
      AppendEscape(out, c);
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '/';
  for (const char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out += c;
    } else {
      AppendEscape(out, static_cast<unsigned char>(c));
    }
  }
  return out;
}

std::vector<std::string> SitemapNames(std::size_t addresses) {
  std::vector<std::string> names{kSitemapFile};
  if (addresses > kSitemapAddresses) {
    for (std::size_t n = 1; (n - 1) * kSitemapAddresses < addresses; ++n) {
      names.push_back(SitemapPartName(n));
    }
  }
  return names;
}

std::vector<std::string> WriteSitemap(const core::ProjectSettings& settings,
                                      const EntryIndex& index,
                                      const std::vector<std::string>& archive_pages, int blog_pages,
                                      int utc_offset_seconds, SiteOutput& output) {
  const std::string base = SiteAddress(settings);
  if (base.empty()) return {};
  Addresses addresses(settings, index, archive_pages, blog_pages);
  const std::size_t count = addresses.Count();
  const std::vector<std::string> names = SitemapNames(count);
  if (names.size() == 1) {
    WriteUrlSet(output, kSitemapFile, base, addresses, 0, count, utc_offset_seconds);
    return names;
  }
  for (std::size_t n = 1; n < names.size(); ++n) {
    WriteUrlSet(output, names[n], base, addresses, (n - 1) * kSitemapAddresses,
                std::min(count, n * kSitemapAddresses), utc_offset_seconds);
  }
  const auto file = output.Create(kSitemapFile);
  core::Win1252Writer writer(*file);
  writer.WriteLine(kXmlLine);
  writer.WriteLine("<sitemapindex" + std::string(kNamespace));
  for (std::size_t n = 1; n < names.size(); ++n) {
    writer.WriteLine("<sitemap><loc>" + XmlText(AbsoluteAddress(base, names[n])) +
                     "</loc></sitemap>");
  }
  writer.WriteLine("</sitemapindex>");
  file->Commit();
  return names;
}

}  // namespace quill::site
