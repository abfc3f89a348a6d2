#pragma once

#include <array>

namespace quill::ui {

class frmBlog;

// The main window's modes, numbered as the window reports them.
enum class Mode { NewEntry = 0, Review = 1, Edit = 2 };

// When a button shows its caption and can be clicked.
enum class Offer {
  Always,            // whenever it has a caption
  WhileTextIsThere,  // while the text holds more than spaces
  WhileOutputIsDue,  // while entries were saved after the site was last generated
  WhileSynchIsDue,   // while the uploader is there and the site awaits uploading
};

// One command button in one mode.
struct ButtonRole {
  const char* caption;                 // empty: the button is blank and disabled
  void (frmBlog::*click)() = nullptr;  // nullptr: a click does nothing
  Offer offer = Offer::Always;
};

// What the main window shows and does in one mode.
struct ModeLayout {
  const char* title;  // the window caption, before the project name
  bool editable;      // the text can be changed, and the toolbar is shown
  std::array<ButtonRole, 4> nav;
  ButtonRole done;
  ButtonRole setup;
  void (frmBlog::*enter)();  // the rest of entering the mode: the date label and the text
};

}  // namespace quill::ui
