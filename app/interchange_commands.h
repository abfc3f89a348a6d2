#pragma once

#include <string>
#include <string_view>

namespace quill::project {
class ProjectSession;
}

namespace quill::app {

// What quillsmith-build was asked to bring into a project or take out of it.
struct InterchangeRequest {
  std::string import_file;    // --import FILE
  std::string export_folder;  // --export DIR
  std::string images;         // --fetch-images DIR
  bool dry_run = false;
  bool drafts = false;
  bool replace = false;
  bool toml = false;
  bool force = false;

  bool Any() const { return !import_file.empty() || !export_folder.empty(); }
};

// The lines the usage text gives these options: the forms of the command, and what each
// option does. Both are empty where the program is built without import and export.
struct InterchangeUsage {
  const char* forms;
  const char* options;
};
InterchangeUsage InterchangeUsageText();

enum class Taken { No, Yes, ValueMissing };
// Takes the option at argv[at], and its value from argv[at + 1], moving `at` past it.
Taken TakeInterchangeOption(int argc, char** argv, int& at, InterchangeRequest& request);
// Why the options cannot go together; empty when they can.
std::string InterchangeProblem(const InterchangeRequest& request, bool support_files);

// Imports or exports for the open project and prints the report. Throws core::QuillError.
void RunInterchange(project::ProjectSession& session, const InterchangeRequest& request);

}  // namespace quill::app
