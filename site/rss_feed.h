#pragma once

#include <cstdint>

#include "core/clock.h"
#include "core/project_settings.h"
#include "site/site_output.h"

namespace quill::store {
class EntryStore;
}

namespace quill::site {

// Writes rss.xml: an RSS 2.0 channel of the newest entries (Articles + 1 of them), each with
// a short title, the entry's plain text and its date. Returns the bytes written.
std::uint64_t WriteRssFeed(const core::ProjectSettings& settings, store::EntryStore& entries,
                           const core::Clock& clock, SiteOutput& output);

}  // namespace quill::site
