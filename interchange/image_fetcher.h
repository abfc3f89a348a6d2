#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quill::interchange {

// An image whose bare name had to differ from its own.
struct RenamedImage {
  std::string from;  // where it was found, relative to the folder it came from
  std::string to;    // its name in the output folder
};

// Copies the images an import links to from a local folder (the old blog's uploads, copied
// from its host) into the project's output folder, as they are, under bare names. A name
// already taken by another file with other content gets the folders it came from in front
// ("2019/05/photo.jpg" becomes "2019-05-photo.jpg", then "2019-05-photo-2.jpg", …): nothing
// is ever overwritten. The copies wait under hidden names until Place(), and go again unless
// Keep() follows, so an import that fails leaves the folder as it was.
class ImageFetcher {
 public:
  // `output` ends with a directory separator. With `dry_run`, names are chosen and counted
  // but nothing is copied.
  ImageFetcher(std::string uploads, std::string output, bool dry_run);
  ~ImageFetcher();
  ImageFetcher(const ImageFetcher&) = delete;
  ImageFetcher& operator=(const ImageFetcher&) = delete;

  // The bare name of the image the address names, once copied; nothing when the folder does
  // not hold it. Throws core::QuillError when it cannot be copied.
  std::optional<std::string> Fetch(std::string_view address);
  // Gives every copy its name.
  void Place();
  // The import is stored: the copies stay.
  void Keep();

  std::int64_t Copied() const { return copied_; }
  const std::vector<RenamedImage>& Renamed() const { return renamed_; }

 private:
  struct Copy {
    std::filesystem::path temp, target;
    bool placed = false;
  };

  std::optional<std::string> NameFor(const std::filesystem::path& source,
                                     const std::vector<std::string>& parts);
  // Whether `name` can hold the source: free, or already holding the same bytes.
  enum class Fit { Free, Same, Taken };
  Fit FitOf(const std::string& name, const std::filesystem::path& source) const;
  void CopyIn(const std::filesystem::path& source, const std::string& name);

  std::filesystem::path uploads_;
  std::filesystem::path output_;
  bool dry_run_;
  std::unordered_map<std::string, std::string> names_;    // source path -> bare name
  std::unordered_map<std::string, std::string> sources_;  // bare name -> source path
  std::vector<Copy> copies_;
  std::vector<RenamedImage> renamed_;
  std::int64_t copied_ = 0;
};

}  // namespace quill::interchange
