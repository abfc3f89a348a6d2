#pragma once

#include <cstdint>
#include <string>

#include "quillpush/site_files.h"
#include "quillpush/transport_security.h"

namespace quill::core {
class Clock;
class SettingsStore;
}  // namespace quill::core

namespace quill::push {

// Hears how an upload goes.
class PushObserver {
 public:
  virtual ~PushObserver() = default;
  // What is to be sent: `files` of the site's `total` files, `bytes` in all.
  virtual void Starting(std::size_t files, std::size_t total, std::uint64_t bytes) = 0;
  virtual void Sending(const SiteFile& file) = 0;
  // `bytes` sent so far in this run; false cancels the upload.
  virtual bool Progress(std::uint64_t bytes) = 0;
  virtual void Sent(const SiteFile& file) = 0;
  // Something the user should know although the upload goes on.
  virtual void Warn(const std::string& message) = 0;
};

struct PushReport {
  std::size_t sent = 0;
  std::size_t unchanged = 0;
  std::uint64_t bytes = 0;
  std::string where;
};

// Sends the open project's changed site files to its FTP server, newest pages last, and
// records the upload stamps once everything arrived. Throws QuillError on any failure,
// with no stamp written and the manifest listing exactly what did arrive.
PushReport Push(core::SettingsStore& settings, PushObserver& observer,
                const TransportOptions& options = {});

}  // namespace quill::push
