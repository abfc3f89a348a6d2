#pragma once

#include <string_view>

namespace quill::core {

// The product's fixed values, shared by the generated pages, the feed and the windows.
inline constexpr std::string_view kProductName = "Ardentware Quillsmith";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 142;
// Help pages and the footer link are relative to the home page.
inline constexpr std::string_view kHomePage = "https://www.ardentware.example/quillsmith/";
inline constexpr std::string_view kMakerSite = "https://www.ardentware.example/";
// The name the desktop knows the editor by: its desktop entry, icon and metainfo.
inline constexpr std::string_view kDesktopId = "example.ardentware.Quillsmith";

}  // namespace quill::core
