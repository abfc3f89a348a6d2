// The main window's three modes as tables: what each button says and does in each mode.

#include "ui/editor/blog_modes.h"

#include "ui/editor/frm_blog.h"

namespace quill::ui {

const ModeLayout& frmBlog::LayoutOf(ui::Mode mode) {
  static constexpr ModeLayout kLayouts[] = {
      {.title = "Ardentware Quillsmith : ",
       .editable = true,
       .nav = {{{"Review", &frmBlog::Review},
                {"Save", &frmBlog::SaveNewEntry, Offer::WhileTextIsThere},
                {"Output", &frmBlog::Output, Offer::WhileOutputIsDue},
                {"Synch", &frmBlog::Synch, Offer::WhileSynchIsDue}}},
       .done = {"Egress", &frmBlog::Egress},
       .setup = {"Setup", &frmBlog::OpenSetup},
       .enter = &frmBlog::StartNewEntry},
      {.title = "Ardentware Quillsmith - Review : ",
       .editable = false,
       .nav = {{{"Previous", &frmBlog::Previous},
                {"Edit", &frmBlog::Edit},
                {"Next", &frmBlog::Next},
                {""}}},
       .done = {"Blog", &frmBlog::BackToNewEntry},
       .setup = {"List", &frmBlog::OpenEntryList},
       .enter = &frmBlog::StartReview},
      {.title = "Ardentware Quillsmith - Edit : ",
       .editable = true,
       .nav = {{{"Save", &frmBlog::SaveEdit}, {""}, {"Date", &frmBlog::OpenDateDialog}, {""}}},
       .done = {"Cancel", &frmBlog::CancelEdit},
       .setup = {"Delete", &frmBlog::DeleteEntry},
       .enter = &frmBlog::StartEdit},
  };
  return kLayouts[static_cast<int>(mode)];
}

}  // namespace quill::ui
