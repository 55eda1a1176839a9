// The destination folder page: the folder, the space the installation needs
// on its drive and the space that drive has.

#include "engine/win/install_folder.h"
#include "foundation/byte_size.h"
#include "foundation/path_text.h"
#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "run/folder_rules.h"
#include "startup/installer_settings.h"
#include "ui/win/folder_browser.h"
#include "ui/win/folder_text_page.h"
#include "ui/win/page_setup.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

namespace {

// Free bytes on the drive of `folder`; nothing when there is no such drive.
std::optional<std::int64_t> FreeSpaceOfDrive(const std::string& folder) {
  const char letter = DriveLetterOfFolder(PathBody(folder));
  if (letter == 0 || ::GetDriveTypeA(DriveRoot(letter).c_str()) == DRIVE_NO_ROOT_DIR) return std::nullopt;
  const std::int64_t available = FreeSpace(std::string(PathBody(folder)));
  if (available < 0) return std::nullopt;
  return available;
}

class FolderPage final : public FolderTextPage {
 public:
  using FolderTextPage::FolderTextPage;

 private:
  void OnInit() override {
    InstallerState& state = program_.state;
    InitPage(program_, dialog_);
    SetWizardPageTitles(program_, dialog_, look_, MessageId::kFolderPageTitle);
    SetItemText(dialog_, IDC_PAGE_TEXT, Message(state, MessageId::kFolderPrompt));
    const bool startMenuFollows = HasFlag(state.Settings.ProductFlags, flags::kAskStartMenu);
    SetButtonLabel(program_, dialog_, IDC_ACCEPT, startMenuFollows ? MessageId::kNextButton : MessageId::kInstallButton,
                   IDB_ACCEPT);
    SetButtonLabel(program_, dialog_, IDC_CANCEL_PAGE, MessageId::kCancelButton, IDB_CANCEL);
    SetButtonLabel(program_, dialog_, IDC_BROWSE, MessageId::kBrowseButton, IDB_BROWSE);
    FillFolderEdit();
    TextChanged();
  }

  // The space lines follow the drive of the text.
  void TextChanged() override {
    InstallerState& state = program_.state;
    const std::string folder = FolderText();
    const std::int64_t required = ComputeRequiredSpace(program_, folder);
    SetItemText(dialog_, IDC_SPACE_REQUIRED,
                Message(state, MessageId::kRequiredSpaceLabel) + " " + FormatByteSize(required));
    const std::optional<std::int64_t> available = FreeSpaceOfDrive(folder);
    SetItemText(dialog_, IDC_SPACE_AVAILABLE,
                available ? Message(state, MessageId::kAvailableSpaceLabel) + " " +
                                FormatByteSize(std::max<std::int64_t>(*available, 0))
                          : std::string());
  }

  void Browse() override {
    const HWND edit = Item(IDC_FOLDER);
    const std::wstring prompt = ToWide(Message(program_.state, MessageId::kFolderPrompt), kLanguageCodePage);
    if (const auto chosen = BrowseForFolder(dialog_, prompt, ItemTextWide(edit), kWholeNamespace)) {
      ::SetWindowTextW(edit, chosen->c_str());
    }
  }
};

}  // namespace

PageResult ShowFolderPage(Program& program, std::string& folder) {
  const std::uint32_t style = program.state.Settings.PageStyles[static_cast<int>(PageKind::kFolder)];
  FolderPage page(program, TemplateLook(PageKind::kFolder, style), folder);
  return page.Run(PageTemplateName(PageKind::kFolder, style)) == IDC_ACCEPT ? PageResult::Continue : PageResult::Cancel;
}

}  // namespace brennick::win
