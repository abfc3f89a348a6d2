#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quill::ui {

// The number a settings field starts with: the longest leading part of the text that reads
// as a decimal number ("40kb" is 40, "abc" is 0), rounded to the nearest whole number with
// halves to the even one, and kept within −32768…32767.
std::int16_t LeadingNumber(std::string_view text);

// The FTP host as the uploader wants it: no scheme, no slashes or backslashes.
// "ftp://MyHost/" gives "MyHost".
std::string NormaliseFtpHost(std::string_view host);

// The remote folder as the uploader wants it: forward slashes, no scheme, no leading host
// name and no leading slash. With the host myhost, "ftp://myhost/blog" gives "blog".
std::string NormaliseFtpPath(std::string_view path, std::string_view host);

// What a file name may not hold on a platform.
struct FileNameRules {
  std::string_view separators;
  std::string_view reserved;  // characters besides the separators and control characters
  bool device_names;          // CON, PRN, AUX, NUL, COM1-9, LPT1-9 name devices
};
inline constexpr FileNameRules kWindowsFileNames = {"/\\", "<>:\"|?*", true};
inline constexpr FileNameRules kPosixFileNames = {"/", "", false};
#ifdef _WIN32
inline constexpr FileNameRules kPlatformFileNames = kWindowsFileNames;
#else
inline constexpr FileNameRules kPlatformFileNames = kPosixFileNames;
#endif

// Why a page file base name cannot be used, or empty when it can: pages are written into the
// output folder, so the name may hold no folder separator, may not be "." or "..", and holds
// nothing the platform's file names refuse. "my..blog" is a fine name.
std::string PageNameProblem(std::string_view name, const FileNameRules& rules = kPlatformFileNames);

// What a project cannot go without, in the order the user is told: "Output Folder REQUIRED!"
// while the folder is empty, then "Blog Title REQUIRED!"; empty when both are there.
std::string MissingRequirement(std::string_view output_folder, std::string_view title);

// "1.00.01.42": major, minor as two digits, then the revision in hundredths as "00.00".
std::string SetupVersionText(int major, int minor, int revision);

}  // namespace quill::ui
