#pragma once

#include <string>

#include "ui/page_templates.h"
#include "ui/win/modal_page.h"

namespace brennick::win {

// A page around one folder text (the destination folder, the Start-menu
// folder): the edit, its Browse button, and the accept button that stores
// the text back into the folder the page was given.
class FolderTextPage : public ModalPage {
 public:
  FolderTextPage(Program& program, PageLook look, std::string& folder)
      : ModalPage(program), look_(look), folder_(folder) {}

 protected:
  // Fills the edit with the folder, at most 259 characters long.
  void FillFolderEdit();
  // The edit's text as a path of ours.
  std::string FolderText() const;

  virtual void TextChanged() = 0;
  virtual void Browse() = 0;
  // Whether the text may be taken (the accept button may be reached by
  // Enter while it is disabled).
  virtual bool Acceptable(const std::string&) const { return true; }

  PageLook look_;

 private:
  bool OnCommand(int id, int code) final;

  std::string& folder_;
};

}  // namespace brennick::win
