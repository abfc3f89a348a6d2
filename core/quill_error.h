#pragma once

#include <stdexcept>

namespace quill::core {

// Every failure the plain C++ layers report is a QuillError whose message already says what
// failed and where (path, SQL, reason), ready to be shown to the user as it stands.
class QuillError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quill::core
