#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/stamp.h"

namespace quill::core {

// Keeps what the user typed and has not saved yet, so that no click, crash or closed window
// loses it: per project, the new entry being written and the changed text of stored entries,
// each keyed by the entry's stamp. Every draft is a file of its own, replaced whole, in a
// folder only the user can enter; drafts never touch the entry database.
class DraftStore {
 public:
  // `folder` is the product's state folder (see DefaultStateFolder); drafts go below it.
  explicit DraftStore(std::string folder);

  // The draft, byte for byte as it was kept; nullopt when there is none. An unreadable
  // draft throws QuillError naming the file and the reason.
  std::optional<std::string> NewEntry(std::string_view project) const;
  std::optional<std::string> Edit(std::string_view project, const Stamp& entry) const;

  // Writes the draft in place of the one before; an empty new entry is no draft and removes
  // it. Throws QuillError naming the file and the reason; the old draft then stays.
  void KeepNewEntry(std::string_view project, std::string_view text);
  void KeepEdit(std::string_view project, const Stamp& entry, std::string_view text);

  void DropNewEntry(std::string_view project);
  void DropEdit(std::string_view project, const Stamp& entry);
  // The entry's draft follows it to its new stamp.
  void MoveEdit(std::string_view project, const Stamp& from, const Stamp& to);

  // The folder holding a project's drafts. Project names that differ only in the case of
  // ASCII letters name the same project, as everywhere else in the program.
  std::string ProjectFolder(std::string_view project) const;

 private:
  std::string NewEntryPath(std::string_view project) const;
  std::string EditPath(std::string_view project, const Stamp& entry) const;
  void Write(std::string_view project, const std::string& path, std::string_view text);
  void MakeFolders(std::string_view project) const;

  std::string folder_;
};

// $XDG_STATE_HOME/quillsmith/, or $HOME/.local/state/quillsmith/ when XDG_STATE_HOME is unset
// or empty; with a trailing separator.
std::string DefaultStateFolder(const char* xdg_state_home, const char* home);

}  // namespace quill::core
