#pragma once

#include <string>

#include "package/message_ids.h"
#include "startup/win/program.h"
#include "ui/page_templates.h"

namespace brennick::win {

// The code page the language strings are written in.
constexpr unsigned kLanguageCodePage = 1252;

// Sets a window's or a control's text: through the wide-character function
// when the text converts in the language code page, else as 8-bit text.
void SetWindowTextInLanguage(HWND window, const std::string& text);
void SetItemText(HWND dialog, int id, const std::string& text);

// A control's text as the user typed it.
std::wstring ItemTextWide(HWND control);

// The set-up every page and the progress page share: the Close entry of the
// system menu enabled, the program's icons when the product asks for them,
// and the dialog centred on the screen (kept on it when it is larger).
void InitPage(Program& program, HWND dialog);
// The same without touching the system menu.
void PlacePage(Program& program, HWND dialog);

// Caption and headings: the banner look shows the banner caption in the
// title bar and the heading and title in the banner; the others show the
// title in the title bar. The picture of the look is painted into its
// control (side picture or banner).
void SetPageTitles(Program& program, HWND dialog, PageLook look, const std::string& title,
                   const std::string& bannerCaption, const std::string& heading);

// The heading arguments every wizard page uses: title = language string
// `title`, banner caption = string 65, heading = the product's window title.
void SetWizardPageTitles(Program& program, HWND dialog, PageLook look, MessageId title);

// A button's label from a language string; with button pictures on, the
// button also gets its picture and the label a leading blank.
void SetButtonLabel(Program& program, HWND dialog, int id, MessageId label, int pictureId);
void SetButtonLabel(Program& program, HWND dialog, int id, const std::string& label, int pictureId);

}  // namespace brennick::win
