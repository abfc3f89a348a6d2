// The floor under a build that changes every page: replaces each page of a site folder
// (index.html and blogN.html) with its own bytes, safely, in a plain loop — a temporary file
// beside it, one write, close, rename over the page — and prints the loop's wall time. The
// pages are read into memory before the clock starts.
//
//   replace-floor FOLDER

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Page {
  std::string path;
  std::string bytes;
};

std::vector<Page> ReadPages(const std::filesystem::path& folder) {
  const std::regex page_name(R"(index\.html|blog[0-9]+\.html)");
  std::vector<Page> pages;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!std::regex_match(entry.path().filename().string(), page_name)) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    pages.push_back({entry.path().string(), bytes.str()});
  }
  return pages;
}

bool Replace(const Page& page) {
  const std::string temp = page.path + ".floor";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return false;
  const bool written =
      ::write(fd, page.bytes.data(), page.bytes.size()) == static_cast<ssize_t>(page.bytes.size());
  const bool closed = ::close(fd) == 0;
  return written && closed && ::rename(temp.c_str(), page.path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("Usage: replace-floor FOLDER\n", stderr);
    return 1;
  }
  const std::vector<Page> pages = ReadPages(argv[1]);
  const auto started = std::chrono::steady_clock::now();
  for (const Page& page : pages) {
    if (!Replace(page)) {
      std::perror(page.path.c_str());
      return 1;
    }
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
  std::printf("%zu pages replaced in %.2f s\n", pages.size(), seconds.count());
  return 0;
}
