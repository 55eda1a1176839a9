// uidriver.exe - test tool: inspects and operates another process's windows.
//
//   uidriver.exe windows       <pid> [--timeout <ms>] [--wait-class <class>] [--wait-text <text>]
//   uidriver.exe click         <pid> <id | caption>   [--timeout <ms>]
//   uidriver.exe type          <pid> <id> <text>      [--timeout <ms>]
//   uidriver.exe select        <pid> <id> <entry>     [--timeout <ms>]
//   uidriver.exe dblclick-item <pid> <id> <entry>     [--timeout <ms>]
//   uidriver.exe check         <pid> <id> <0 | 1>     [--timeout <ms>]
//   uidriver.exe key           <pid> <keys>           [--timeout <ms>] [--wait-class <c>] [--wait-text <t>]
//   uidriver.exe close         <pid>                  [--timeout <ms>] [--wait-class <c>] [--wait-text <t>]
//   uidriver.exe wait-gone     <pid> --wait-text <text> [--timeout <ms>]
//   uidriver.exe watch         <pid> <id>             [--timeout <ms>] [--wait-class <c>] [--wait-text <t>]
//
// Every command polls (every 100 ms, default timeout 15000 ms) until what it
// needs is there, prints JSON (UTF-8) on stdout and exits 0.
//
// windows: waits until the process shows a visible top-level window (of class
//   --wait-class, and with --wait-text in its caption or in a control's text),
//   then prints all its visible top-level windows:
//     [{"hwnd": n, "class": s, "caption": s,
//       "rect": [left, top, right, bottom],   <- screen coordinates
//       "client": [width, height], "dpi": n,  <- LOGPIXELSY of the screen, as the window's program sees it
//       "enabled": b, "active": b,            <- active: its thread's active window
//       "controls": [
//        {"id": n, "class": s, "text": s, "visible": b, "enabled": b, "checked": b,
//         "rect": [x, y, width, height],      <- in the top-level window's client area
//         "style": n, "focused": b,           <- focused: has its thread's keyboard focus
//         "items": [s...], "selected": n,     <- ListBox, ComboBox only
//         "position": n, "range": [min, max]  <- progress bars only
//        }]}]
//   Controls are all descendants of the window, hidden ones too.
// click:  presses (BM_CLICK) a Button with that control id (all digits) or
//   whose text, without '&' accelerator marks, equals the argument exactly.
//   Prints {"clicked": id}.
// type:   replaces the text of the Edit control with that id. Prints {"typed": id}.
// select: selects the entry with exactly that text in the ListBox or ComboBox
//   with that id and tells the parent as a user's choice would
//   (LBN_SELCHANGE / CBN_SELCHANGE). Prints {"id": id, "selected": index}.
// dblclick-item: as select, for a ListBox, then tells the parent LBN_DBLCLK as
//   a double click does. A list box without LBS_NOTIFY tells its parent nothing
//   of a double click: the command fails. Prints {"id": id, "selected": index}.
// check:  clicks (BM_CLICK) a check box or radio button until its state is the
//   one asked for, at most three times, and stops when a click changes nothing
//   (an owner that ignores it). Prints {"id": id, "checked": b}, b as read back.
// key:    types keys into the process's window as a keyboard does (SendInput,
//   with the window brought to the foreground), so that the dialog manager
//   handles Tab, Enter, Esc and mnemonics as it would a user's: the window that
//   matches --wait-class / --wait-text, else the active one. <keys> are
//   separated by blanks; each is a key name - TAB ENTER ESC SPACE UP DOWN LEFT
//   RIGHT HOME END PGUP PGDN BACKSPACE DELETE INSERT F1..F12, upper case -
//   optionally after modifiers ("SHIFT+TAB", "ALT+N", "CTRL+A"; after a
//   modifier a single character names its key), or else text, typed character
//   by character (a character no key types is sent as itself, VK_PACKET).
//   The program deals with each key before the next is sent; one still busy
//   after 5 s gets the rest queued, as a user typing ahead does. Prints
//   {"keys": n}, n the number of keys and characters sent.
// close:  gives the window that matches --wait-class / --wait-text (else the
//   active one) the Close command of its title bar (WM_SYSCOMMAND SC_CLOSE).
//   A window without a system menu, or whose Close is reported unavailable,
//   cannot be closed: the command fails. Wine 8 reports no other process's
//   greyed Close item, and its message boxes end with IDCANCEL on Close
//   whatever their buttons. Prints {"closed": hwnd}.
// wait-gone: waits until no visible top-level window of the process has the
//   text in its caption or in a control: prints {"gone": true}; or until the
//   process ended: prints {"ended": true}. It does not wait for the window to
//   show first.
// watch:  waits for a control with that id in a window of the process (one that
//   matches --wait-class / --wait-text, if given), then reads it every
//   millisecond or two until it is gone or the process ended - a progress bar's
//   position (PBM_GETPOS, answered when the program next takes its messages),
//   any other control's text (the copy the system keeps, read without waiting
//   for the program) - and prints each value that differs from the one before,
//   with the milliseconds since the control was found, and when it was found gone:
//     {"changes": [{"at": ms, "position": n} or {"at": ms, "text": s}, ...], "end": ms}
//   Polling "windows" is far too slow for that. The timeout covers the wait and
//   the watch: a control still there when it is up fails the command (exit 2).
//
// click, type, select, dblclick-item, check, key and close only act on what a
// user could reach: visible, and enabled along with every window above it - so
// while a modal dialog is up, the disabled window beneath it is out of reach. An
// action waits up to 1 s for the program to handle it; a handler still busy
// then (one that opened a modal dialog, say) is left running and the command
// succeeds. "--" ends the options, for a text that starts with "--".
//
// Exit codes: 1 usage, 2 timed out, 3 the process ended, 4 the action failed.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#define _WIN32_WINNT 0x0601
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitTimeout = 2;
constexpr int kExitProcessEnded = 3;
constexpr int kExitFailed = 4;

constexpr DWORD kPollMs = 100;
constexpr DWORD kDefaultTimeoutMs = 15000;
// Reading state from a window that does not answer within this is given up.
constexpr UINT kQueryTimeoutMs = 2000;
// An action whose handler takes longer (say it opens a modal dialog) is left
// running; the command still succeeds.
constexpr UINT kActionTimeoutMs = 1000;
// A key sent is expected to be taken up by the program within this.
constexpr DWORD kKeyTimeoutMs = 5000;
// How long the program is given to take a queued message after answering one.
constexpr DWORD kKeyPauseMs = 10;

struct HandleCloser {
  void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct LocalFreer {
  void operator()(void* p) const noexcept { LocalFree(p); }
};

// The screen's device context, for as long as it is needed.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

[[noreturn]] void fail(int code, const std::string& message) {
  std::fprintf(stderr, "uidriver: %s\n", message.c_str());
  std::exit(code);
}

[[noreturn]] void usage(const std::string& why) {
  fail(kExitUsage, why +
                       "\nusage: uidriver.exe windows <pid> [--timeout <ms>] [--wait-class <class>]"
                       " [--wait-text <text>]\n"
                       "       uidriver.exe click <pid> <id|caption> [--timeout <ms>]\n"
                       "       uidriver.exe type <pid> <id> <text> [--timeout <ms>]\n"
                       "       uidriver.exe select <pid> <id> <entry> [--timeout <ms>]\n"
                       "       uidriver.exe dblclick-item <pid> <id> <entry> [--timeout <ms>]\n"
                       "       uidriver.exe check <pid> <id> <0|1> [--timeout <ms>]\n"
                       "       uidriver.exe key <pid> <keys> [--timeout <ms>] [--wait-class <class>]"
                       " [--wait-text <text>]\n"
                       "       uidriver.exe close <pid> [--timeout <ms>] [--wait-class <class>]"
                       " [--wait-text <text>]\n"
                       "       uidriver.exe wait-gone <pid> --wait-text <text> [--timeout <ms>]\n"
                       "       uidriver.exe watch <pid> <id> [--timeout <ms>] [--wait-class <class>]"
                       " [--wait-text <text>]");
}

std::string toUtf8(std::wstring_view w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(std::max(n, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::optional<unsigned long> parseNumber(std::wstring_view s) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  unsigned long n = 0;
  for (wchar_t c : s) {
    if (c < L'0' || c > L'9') return std::nullopt;
    n = n * 10 + static_cast<unsigned long>(c - L'0');
  }
  return n;
}

bool sameClass(std::wstring_view a, const wchar_t* b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

// ---- JSON -------------------------------------------------------------------

std::string jsonString(std::wstring_view w) {
  std::string out = "\"";
  for (char c : toUtf8(w)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

const char* jsonBool(bool b) { return b ? "true" : "false"; }

std::string jsonNumbers(std::initializer_list<long long> numbers) {
  std::string out = "[";
  for (long long n : numbers) out += (out.size() > 1 ? ", " : "") + std::to_string(n);
  return out + "]";
}

std::string jsonHwnd(HWND h) { return std::to_string(reinterpret_cast<std::uintptr_t>(h)); }

// ---- Reading windows ----------------------------------------------------------

// The target process, to tell "no window yet" from "never will be".
class TargetProcess {
 public:
  explicit TargetProcess(DWORD pid)
      : handle_(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)),
        gone_(!handle_ && GetLastError() == ERROR_INVALID_PARAMETER) {}

  // Without a handle (access denied) the process is assumed to be running.
  bool ended() const { return gone_ || (handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0); }

 private:
  UniqueHandle handle_;
  bool gone_;
};

std::wstring className(HWND h) {
  wchar_t buf[256];
  const int n = GetClassNameW(h, buf, 256);
  return std::wstring(buf, static_cast<size_t>(std::max(n, 0)));
}

std::optional<LRESULT> query(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, kQueryTimeoutMs, &result)) return std::nullopt;
  return static_cast<LRESULT>(result);
}

// Asks for a string by its length first, then the text; both messages are
// marshalled across processes by the system.
std::wstring queryString(HWND h, UINT lengthMsg, UINT textMsg, WPARAM index, bool sizeInWparam) {
  const std::optional<LRESULT> len = query(h, lengthMsg, index, 0);
  if (!len || *len <= 0) return {};
  std::wstring buf(static_cast<size_t>(*len) + 1, L'\0');
  const std::optional<LRESULT> got =
      query(h, textMsg, sizeInWparam ? buf.size() : index, reinterpret_cast<LPARAM>(buf.data()));
  if (!got || *got <= 0) return {};
  buf.resize(std::min(static_cast<size_t>(*got), buf.size() - 1));
  return buf;
}

std::wstring windowText(HWND h) { return queryString(h, WM_GETTEXTLENGTH, WM_GETTEXT, 0, true); }

struct Control {
  HWND hwnd;
  int id;
  std::wstring cls;
  std::wstring text;
  bool visible;
  bool enabled;
  bool reachable;  // visible, and it and all its ancestors enabled
  bool checked;
  RECT rect;  // in the top-level window's client area: left, top, right, bottom
  LONG style;
  bool focused;
  bool isList;
  std::vector<std::wstring> items;
  int selected;
  bool isProgress;
  int position, rangeLow, rangeHigh;
};

struct TopWindow {
  HWND hwnd;
  std::wstring cls;
  std::wstring caption;
  RECT rect;    // on the screen
  RECT client;  // client area: right and bottom are its size
  int dpi;
  bool enabled;
  bool active;  // its thread's active window
  std::vector<Control> controls;
};

struct ListMessages {
  UINT count, textLength, text, curSel;
  LONG ownerDrawStyles, hasStringsStyle;
};
constexpr ListMessages kListBoxMessages{
    LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCURSEL, LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE, LBS_HASSTRINGS};
constexpr ListMessages kComboBoxMessages{
    CB_GETCOUNT,   CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCURSEL, CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE,
    CBS_HASSTRINGS};

const ListMessages* listMessages(std::wstring_view cls) {
  if (sameClass(cls, L"ListBox")) return &kListBoxMessages;
  if (sameClass(cls, L"ComboBox")) return &kComboBoxMessages;
  return nullptr;
}

void readItems(HWND h, const ListMessages& m, Control& c) {
  c.isList = true;
  c.selected = static_cast<int>(query(h, m.curSel, 0, 0).value_or(-1));
  if (c.selected < 0) c.selected = -1;
  const LRESULT count = query(h, m.count, 0, 0).value_or(0);
  // Owner-drawn lists without strings hold only item data: there is no text to read.
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  const bool hasText = !(style & m.ownerDrawStyles) || (style & m.hasStringsStyle);
  for (LRESULT i = 0; i < count; ++i)
    c.items.push_back(hasText ? queryString(h, m.textLength, m.text, static_cast<WPARAM>(i), false) : std::wstring());
}

bool reachable(HWND h, HWND top) {
  if (!IsWindowVisible(h)) return false;
  for (HWND w = h; w; w = GetAncestor(w, GA_PARENT)) {
    if (!IsWindowEnabled(w)) return false;
    if (w == top) return true;
  }
  return false;
}

void readProgress(HWND h, Control& c) {
  c.isProgress = true;
  c.position = static_cast<int>(query(h, PBM_GETPOS, 0, 0).value_or(0));
  c.rangeLow = static_cast<int>(query(h, PBM_GETRANGE, TRUE, 0).value_or(0));
  c.rangeHigh = static_cast<int>(query(h, PBM_GETRANGE, FALSE, 0).value_or(0));
}

Control readControl(HWND h, HWND top, HWND focus) {
  Control c{};
  c.hwnd = h;
  c.id = GetDlgCtrlID(h);
  c.cls = className(h);
  c.text = windowText(h);
  c.visible = IsWindowVisible(h) != FALSE;
  c.enabled = IsWindowEnabled(h) != FALSE;
  c.reachable = reachable(h, top);
  c.checked = sameClass(c.cls, L"Button") && query(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
  GetWindowRect(h, &c.rect);
  MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&c.rect), 2);
  // In a right-to-left (mirrored) window the edges come back swapped.
  if (c.rect.left > c.rect.right) std::swap(c.rect.left, c.rect.right);
  c.style = GetWindowLongW(h, GWL_STYLE);
  c.focused = h == focus;
  c.selected = -1;
  if (const ListMessages* m = listMessages(c.cls)) readItems(h, *m, c);
  if (sameClass(c.cls, PROGRESS_CLASSW)) readProgress(h, c);
  return c;
}

// The keyboard focus and the active window of the thread that owns a window.
GUITHREADINFO threadInfo(HWND h) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info)) info = GUITHREADINFO{};
  return info;
}

int screenDpi() {
  const ScreenDc screen;
  return screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
}

// While it lives, this thread sees a window in the DPI awareness of the
// window's own program: Windows 10 scales what a DPI-unaware reader sees of a
// DPI-aware window and the other way round (Wine 8 scales neither). Does
// nothing where the system has no such calls.
class SeenAsItsProgramDoes {
 public:
  explicit SeenAsItsProgramDoes(HWND h) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto ofWindow = function<DPI_AWARENESS_CONTEXT(WINAPI*)(HWND)>(user32, "GetWindowDpiAwarenessContext");
    set_ = function<DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT)>(user32, "SetThreadDpiAwarenessContext");
    if (ofWindow && set_) previous_ = set_(ofWindow(h));
  }
  ~SeenAsItsProgramDoes() {
    if (previous_) set_(previous_);
  }
  SeenAsItsProgramDoes(const SeenAsItsProgramDoes&) = delete;
  SeenAsItsProgramDoes& operator=(const SeenAsItsProgramDoes&) = delete;

 private:
  template <typename F>
  static F function(HMODULE module, const char* name) {
    // Through a plain function pointer type: FARPROC does not convert to F directly.
    return module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
  }

  DPI_AWARENESS_CONTEXT(WINAPI* set_)(DPI_AWARENESS_CONTEXT) = nullptr;
  DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

BOOL CALLBACK collectChild(HWND h, LPARAM out) {
  reinterpret_cast<std::vector<HWND>*>(out)->push_back(h);
  return TRUE;
}

struct TopLevelSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND h, LPARAM param) {
  auto& search = *reinterpret_cast<TopLevelSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  if (owner == search.pid && IsWindowVisible(h)) search.found.push_back(h);
  return TRUE;
}

std::vector<TopWindow> snapshot(DWORD pid) {
  TopLevelSearch search{pid, {}};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  std::vector<TopWindow> windows;
  for (HWND top : search.found) {
    const SeenAsItsProgramDoes seen(top);
    const GUITHREADINFO thread = threadInfo(top);
    TopWindow w{top,
                className(top),
                windowText(top),
                {},
                {},
                screenDpi(),
                IsWindowEnabled(top) != FALSE,
                thread.hwndActive == top,
                {}};
    GetWindowRect(top, &w.rect);
    GetClientRect(top, &w.client);
    std::vector<HWND> children;
    EnumChildWindows(top, collectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) w.controls.push_back(readControl(child, top, thread.hwndFocus));
    windows.push_back(std::move(w));
  }
  return windows;
}

std::string toJson(const std::vector<TopWindow>& windows) {
  std::string out = "[";
  for (const TopWindow& w : windows) {
    if (out.size() > 1) out += ",\n ";
    out += "{\"hwnd\": " + jsonHwnd(w.hwnd) + ", \"class\": " + jsonString(w.cls) +
           ", \"caption\": " + jsonString(w.caption) +
           ", \"rect\": " + jsonNumbers({w.rect.left, w.rect.top, w.rect.right, w.rect.bottom}) +
           ", \"client\": " + jsonNumbers({w.client.right, w.client.bottom}) + ", \"dpi\": " + std::to_string(w.dpi) +
           ", \"enabled\": " + jsonBool(w.enabled) + ", \"active\": " + jsonBool(w.active) + ", \"controls\": [";
    bool first = true;
    for (const Control& c : w.controls) {
      out += first ? "\n  " : ",\n  ";
      first = false;
      out += "{\"id\": " + std::to_string(c.id) + ", \"class\": " + jsonString(c.cls) +
             ", \"text\": " + jsonString(c.text) + ", \"visible\": " + jsonBool(c.visible) +
             ", \"enabled\": " + jsonBool(c.enabled) + ", \"checked\": " + jsonBool(c.checked) + ", \"rect\": " +
             jsonNumbers({c.rect.left, c.rect.top, c.rect.right - c.rect.left, c.rect.bottom - c.rect.top}) +
             ", \"style\": " + std::to_string(static_cast<DWORD>(c.style)) + ", \"focused\": " + jsonBool(c.focused);
      if (c.isProgress)
        out +=
            ", \"position\": " + std::to_string(c.position) + ", \"range\": " + jsonNumbers({c.rangeLow, c.rangeHigh});
      if (c.isList) {
        out += ", \"items\": [";
        for (size_t i = 0; i < c.items.size(); ++i) out += (i ? ", " : "") + jsonString(c.items[i]);
        out += "], \"selected\": " + std::to_string(c.selected);
      }
      out += "}";
    }
    out += "]}";
  }
  return out + "]";
}

// ---- Waiting ------------------------------------------------------------------

// Polls `probe` over fresh snapshots until it returns a value, the process ends
// or the time is up.
template <typename T>
T waitFor(DWORD pid, DWORD timeoutMs, const std::string& what,
          const std::function<std::optional<T>(const std::vector<TopWindow>&)>& probe) {
  const TargetProcess process(pid);
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    // Checked before looking: a snapshot taken after the end is the last
    // word, so a window shown just before the end is not missed.
    const bool ended = process.ended();
    if (std::optional<T> result = probe(snapshot(pid))) return *result;
    if (ended) fail(kExitProcessEnded, "process ended");
    if (GetTickCount64() >= deadline) fail(kExitTimeout, "timed out waiting for " + what);
    Sleep(kPollMs);
  }
}

const Control* findReachable(const std::vector<TopWindow>& windows, const std::function<bool(const Control&)>& match) {
  for (const TopWindow& w : windows)
    for (const Control& c : w.controls)
      if (c.reachable && match(c)) return &c;
  return nullptr;
}

std::wstring withoutAccelerators(std::wstring_view text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&') {
      if (++i == text.size()) break;  // "&&" is a literal '&'
    }
    out += text[i];
  }
  return out;
}

// Sends an action and waits for its handler, up to kActionTimeoutMs. A handler
// still running then (a modal dialog opened, say) is fine.
void act(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL, kActionTimeoutMs, &result)) return;
  const DWORD error = GetLastError();
  if (error != ERROR_TIMEOUT && error != ERROR_SUCCESS)
    fail(kExitFailed, "message to window failed, error " + std::to_string(error));
}

// ---- Commands -----------------------------------------------------------------

struct Args {
  std::vector<std::wstring> positional;
  DWORD timeoutMs = kDefaultTimeoutMs;
  std::optional<std::wstring> waitClass;
  std::optional<std::wstring> waitText;
};

Args parseArgs(int argc, LPWSTR* argv) {
  Args a;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (optionsEnded) {
      a.positional.emplace_back(arg);
    } else if (arg == L"--") {
      optionsEnded = true;
    } else if (arg == L"--timeout" && hasValue) {
      const auto ms = parseNumber(argv[++i]);
      if (!ms) usage("--timeout needs a number of milliseconds");
      a.timeoutMs = static_cast<DWORD>(*ms);
    } else if (arg == L"--wait-class" && hasValue) {
      a.waitClass = argv[++i];
    } else if (arg == L"--wait-text" && hasValue) {
      a.waitText = argv[++i];
    } else {
      a.positional.emplace_back(arg);
    }
  }
  return a;
}

bool windowMatches(const TopWindow& w, const Args& a) {
  if (a.waitClass && !sameClass(w.cls, a.waitClass->c_str())) return false;
  if (!a.waitText) return true;
  if (w.caption.find(*a.waitText) != std::wstring::npos) return true;
  return std::any_of(w.controls.begin(), w.controls.end(),
                     [&](const Control& c) { return c.text.find(*a.waitText) != std::wstring::npos; });
}

int windowsCommand(DWORD pid, const Args& a) {
  const std::string json = waitFor<std::string>(
      pid, a.timeoutMs, "a matching window", [&](const std::vector<TopWindow>& windows) -> std::optional<std::string> {
        if (std::none_of(windows.begin(), windows.end(), [&](const TopWindow& w) { return windowMatches(w, a); }))
          return std::nullopt;
        return toJson(windows);
      });
  std::printf("%s\n", json.c_str());
  return 0;
}

int clickCommand(DWORD pid, const Args& a) {
  const std::wstring& target = a.positional.at(2);
  const std::optional<unsigned long> id = parseNumber(target);
  const HWND button = waitFor<HWND>(
      pid, a.timeoutMs, "button " + toUtf8(target), [&](const std::vector<TopWindow>& windows) -> std::optional<HWND> {
        const Control* found = findReachable(windows, [&](const Control& c) {
          if (!sameClass(c.cls, L"Button")) return false;
          return id ? c.id == static_cast<int>(*id) : withoutAccelerators(c.text) == target;
        });
        if (!found) return std::nullopt;
        return found->hwnd;
      });
  const int buttonId = GetDlgCtrlID(button);
  act(button, BM_CLICK, 0, 0);
  std::printf("{\"clicked\": %d}\n", buttonId);
  return 0;
}

int controlId(const Args& a) {
  const std::optional<unsigned long> id = parseNumber(a.positional.at(2));
  if (!id) usage("control id must be a number");
  return static_cast<int>(*id);
}

int typeCommand(DWORD pid, const Args& a) {
  const int id = controlId(a);
  const HWND edit = waitFor<HWND>(pid, a.timeoutMs, "edit control " + std::to_string(id),
                                  [&](const std::vector<TopWindow>& windows) -> std::optional<HWND> {
                                    const Control* found = findReachable(windows, [&](const Control& c) {
                                      return c.id == id && sameClass(c.cls, L"Edit");
                                    });
                                    if (!found) return std::nullopt;
                                    return found->hwnd;
                                  });
  act(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a.positional.at(3).c_str()));
  std::printf("{\"typed\": %d}\n", id);
  return 0;
}

// An entry of a list, found by its exact text: LB_FINDSTRINGEXACT ignores case.
struct ListEntry {
  HWND hwnd;
  bool isListBox;
  int index;
};

ListEntry waitForEntry(DWORD pid, const Args& a, bool listBoxOnly) {
  const int id = controlId(a);
  const std::wstring& entry = a.positional.at(3);
  return waitFor<ListEntry>(pid, a.timeoutMs, "entry " + toUtf8(entry) + " in list " + std::to_string(id),
                            [&](const std::vector<TopWindow>& windows) -> std::optional<ListEntry> {
                              const Control* found = findReachable(windows, [&](const Control& c) {
                                return c.id == id && c.isList && (!listBoxOnly || sameClass(c.cls, L"ListBox")) &&
                                       std::find(c.items.begin(), c.items.end(), entry) != c.items.end();
                              });
                              if (!found) return std::nullopt;
                              const auto& items = found->items;
                              const auto index = std::find(items.begin(), items.end(), entry) - items.begin();
                              return ListEntry{found->hwnd, sameClass(found->cls, L"ListBox"), static_cast<int>(index)};
                            });
}

void notifyParent(HWND control, WORD notification) {
  act(GetAncestor(control, GA_PARENT), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), notification),
      reinterpret_cast<LPARAM>(control));
}

// Makes the entry the selected one and tells the parent, as a user's choice does.
void selectEntry(const ListEntry& e) {
  const auto index = static_cast<WPARAM>(e.index);
  if (!e.isListBox) {
    act(e.hwnd, CB_SETCURSEL, index, 0);
  } else if (GetWindowLongW(e.hwnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    act(e.hwnd, LB_SETSEL, FALSE, -1);
    act(e.hwnd, LB_SETSEL, TRUE, static_cast<LPARAM>(index));
    act(e.hwnd, LB_SETCARETINDEX, index, FALSE);
  } else {
    act(e.hwnd, LB_SETCURSEL, index, 0);
  }
  notifyParent(e.hwnd, e.isListBox ? LBN_SELCHANGE : CBN_SELCHANGE);
}

int selectCommand(DWORD pid, const Args& a) {
  const ListEntry e = waitForEntry(pid, a, false);
  selectEntry(e);
  std::printf("{\"id\": %d, \"selected\": %d}\n", controlId(a), e.index);
  return 0;
}

int dblclickItemCommand(DWORD pid, const Args& a) {
  const ListEntry e = waitForEntry(pid, a, true);
  if (!(GetWindowLongW(e.hwnd, GWL_STYLE) & LBS_NOTIFY))
    fail(kExitFailed,
         "list box " + std::to_string(controlId(a)) + " has no LBS_NOTIFY: its parent hears nothing of a double click");
  selectEntry(e);
  notifyParent(e.hwnd, LBN_DBLCLK);
  std::printf("{\"id\": %d, \"selected\": %d}\n", controlId(a), e.index);
  return 0;
}

bool isCheckable(const Control& c) {
  if (!sameClass(c.cls, L"Button")) return false;
  switch (c.style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

int checkCommand(DWORD pid, const Args& a) {
  const int id = controlId(a);
  const std::wstring& wanted = a.positional.at(3);
  if (wanted != L"0" && wanted != L"1") usage("check wants 0 or 1");
  const LRESULT want = wanted == L"1" ? BST_CHECKED : BST_UNCHECKED;
  const HWND box = waitFor<HWND>(pid, a.timeoutMs, "check box " + std::to_string(id),
                                 [&](const std::vector<TopWindow>& windows) -> std::optional<HWND> {
                                   const Control* found = findReachable(
                                       windows, [&](const Control& c) { return c.id == id && isCheckable(c); });
                                   if (!found) return std::nullopt;
                                   return found->hwnd;
                                 });
  const auto state = [&] { return query(box, BM_GETCHECK, 0, 0).value_or(BST_UNCHECKED); };
  // A three-state box goes through "indeterminate"; a box whose owner does
  // not change it on a click stays as it is.
  LRESULT now = state();
  for (int clicks = 0; clicks < 3 && now != want; ++clicks) {
    act(box, BM_CLICK, 0, 0);
    const LRESULT before = now;
    now = state();
    if (now == before) break;
  }
  std::printf("{\"id\": %d, \"checked\": %s}\n", id, jsonBool(now == BST_CHECKED));
  return 0;
}

// ---- Top-level windows a user works with ----------------------------------------

// The window that matches --wait-class / --wait-text and is enabled (a user can
// reach it); without them, the process's foreground or active window, else the
// first enabled one.
std::optional<HWND> userWindow(const std::vector<TopWindow>& windows, const Args& a) {
  if (a.waitClass || a.waitText) {
    for (const TopWindow& w : windows)
      if (w.enabled && windowMatches(w, a)) return w.hwnd;
    return std::nullopt;
  }
  const HWND foreground = GetForegroundWindow();
  for (const TopWindow& w : windows)
    if (w.enabled && w.hwnd == foreground) return w.hwnd;
  for (const TopWindow& w : windows)
    if (w.enabled && w.active) return w.hwnd;
  for (const TopWindow& w : windows)
    if (w.enabled) return w.hwnd;
  return std::nullopt;
}

std::string windowWanted(const Args& a) {
  std::string what = "an enabled window";
  if (a.waitClass) what += " of class " + toUtf8(*a.waitClass);
  if (a.waitText) what += " with text " + toUtf8(*a.waitText);
  return what;
}

HWND waitForUserWindow(DWORD pid, const Args& a) {
  return waitFor<HWND>(pid, a.timeoutMs, windowWanted(a),
                       [&](const std::vector<TopWindow>& windows) { return userWindow(windows, a); });
}

// Whether the title bar offers an enabled Close command: the window has a
// system menu, its class does not take the command away, and the system does
// not report the Close button unavailable (a greyed Close item). Wine 8 reports
// no other process's greyed item, and closes such a window on SC_CLOSE and on
// Alt+F4 alike.
bool closeOffered(HWND h) {
  if (!(GetWindowLongW(h, GWL_STYLE) & WS_SYSMENU)) return false;
  if (GetClassLongPtrW(h, GCL_STYLE) & CS_NOCLOSE) return false;
  TITLEBARINFO bar{};
  bar.cbSize = sizeof bar;
  // rgstate[5] is the Close button.
  if (GetTitleBarInfo(h, &bar) && (bar.rgstate[5] & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE))) return false;
  return true;
}

int closeCommand(DWORD pid, const Args& a) {
  const HWND top = waitForUserWindow(pid, a);
  if (!closeOffered(top)) fail(kExitFailed, "the window offers no enabled Close command");
  act(top, WM_SYSCOMMAND, SC_CLOSE, 0);
  std::printf("{\"closed\": %s}\n", jsonHwnd(top).c_str());
  return 0;
}

int waitGoneCommand(DWORD pid, const Args& a) {
  if (!a.waitText) usage("wait-gone needs --wait-text");
  const TargetProcess process(pid);
  const ULONGLONG deadline = GetTickCount64() + a.timeoutMs;
  for (;;) {
    if (process.ended()) {
      std::printf("{\"ended\": true}\n");
      return 0;
    }
    const std::vector<TopWindow> windows = snapshot(pid);
    if (std::none_of(windows.begin(), windows.end(), [&](const TopWindow& w) { return windowMatches(w, a); })) {
      std::printf("{\"gone\": true}\n");
      return 0;
    }
    if (GetTickCount64() >= deadline) fail(kExitTimeout, "timed out waiting for " + toUtf8(*a.waitText) + " to go");
    Sleep(kPollMs);
  }
}

// ---- Watching a control ----------------------------------------------------------

// Milliseconds on a fine clock: the tick count moves in steps of up to 16 ms.
class Stopwatch {
 public:
  Stopwatch() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  long long elapsedMs() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - start_.QuadPart) * 1000 / frequency_.QuadPart;
  }

 private:
  LARGE_INTEGER frequency_, start_;
};

// A window's text as the system keeps it. For another process's window
// GetWindowText reads the system's copy and sends the program nothing, so a
// program busy between two messages does not hold the reading up (asking for
// the length first would: that is a message).
std::wstring systemText(HWND h) {
  std::wstring buf(4096, L'\0');
  const int n = GetWindowTextW(h, buf.data(), static_cast<int>(buf.size()));
  buf.resize(static_cast<size_t>(std::max(n, 0)));
  return buf;
}

constexpr DWORD kWatchPollMs = 1;

int watchCommand(DWORD pid, const Args& a) {
  const int id = controlId(a);
  const ULONGLONG deadline = GetTickCount64() + a.timeoutMs;
  const HWND watched = waitFor<HWND>(pid, a.timeoutMs, "control " + std::to_string(id),
                                     [&](const std::vector<TopWindow>& windows) -> std::optional<HWND> {
                                       for (const TopWindow& w : windows) {
                                         if (!windowMatches(w, a)) continue;
                                         for (const Control& c : w.controls)
                                           if (c.id == id) return c.hwnd;
                                       }
                                       return std::nullopt;
                                     });
  const bool progress = sameClass(className(watched), PROGRESS_CLASSW);
  const TargetProcess process(pid);
  const Stopwatch clock;
  std::string changes;
  std::optional<LRESULT> lastPosition;
  std::optional<std::wstring> lastText;
  for (;;) {
    if (process.ended() || !IsWindow(watched)) break;
    std::string change;
    if (progress) {
      // Nothing when the program did not answer in time: it is read again.
      const std::optional<LRESULT> position = query(watched, PBM_GETPOS, 0, 0);
      if (position && position != lastPosition && IsWindow(watched)) {
        lastPosition = position;
        // The time of the answer: the program may have kept the question waiting.
        change = "{\"at\": " + std::to_string(clock.elapsedMs()) + ", \"position\": " + std::to_string(*position) + "}";
      }
    } else {
      std::wstring text = systemText(watched);
      if (text != lastText && IsWindow(watched)) {
        change = "{\"at\": " + std::to_string(clock.elapsedMs()) + ", \"text\": " + jsonString(text) + "}";
        lastText = std::move(text);
      }
    }
    if (!change.empty()) changes += (changes.empty() ? "" : ",\n  ") + change;
    if (GetTickCount64() >= deadline) fail(kExitTimeout, "timed out watching control " + std::to_string(id));
    Sleep(kWatchPollMs);
  }
  std::printf("{\"changes\": [%s], \"end\": %lld}\n", changes.c_str(), clock.elapsedMs());
  return 0;
}

// ---- Keys -------------------------------------------------------------------------

// One key as a keyboard sends it: modifiers held around a key, or a character
// that no key of the layout types (sent as VK_PACKET).
struct Keystroke {
  std::vector<WORD> modifiers;
  WORD vk = 0;
  bool extended = false;
  wchar_t unicode = 0;
};

struct NamedKey {
  const wchar_t* name;
  WORD vk;
  bool extended;
};
constexpr NamedKey kNamedKeys[] = {
    {L"TAB", VK_TAB, false},        {L"ENTER", VK_RETURN, false}, {L"ESC", VK_ESCAPE, false},
    {L"SPACE", VK_SPACE, false},    {L"UP", VK_UP, true},         {L"DOWN", VK_DOWN, true},
    {L"LEFT", VK_LEFT, true},       {L"RIGHT", VK_RIGHT, true},   {L"HOME", VK_HOME, true},
    {L"END", VK_END, true},         {L"PGUP", VK_PRIOR, true},    {L"PGDN", VK_NEXT, true},
    {L"BACKSPACE", VK_BACK, false}, {L"DELETE", VK_DELETE, true}, {L"INSERT", VK_INSERT, true},
    {L"F1", VK_F1, false},          {L"F2", VK_F2, false},        {L"F3", VK_F3, false},
    {L"F4", VK_F4, false},          {L"F5", VK_F5, false},        {L"F6", VK_F6, false},
    {L"F7", VK_F7, false},          {L"F8", VK_F8, false},        {L"F9", VK_F9, false},
    {L"F10", VK_F10, false},        {L"F11", VK_F11, false},      {L"F12", VK_F12, false},
};

const NamedKey* namedKey(std::wstring_view name) {
  for (const NamedKey& k : kNamedKeys)
    if (name == k.name) return &k;
  return nullptr;
}

std::optional<WORD> modifierKey(std::wstring_view name) {
  if (name == L"SHIFT") return VK_SHIFT;
  if (name == L"CTRL") return VK_CONTROL;
  if (name == L"ALT") return VK_MENU;
  return std::nullopt;
}

// The keystroke that types a character: its key in the keyboard layout, with
// Shift where needed; a character that needs Ctrl or Alt is sent as itself.
Keystroke characterKey(wchar_t c) {
  Keystroke k;
  const SHORT scan = VkKeyScanW(c);
  if (scan == -1 || (HIBYTE(scan) & ~1)) {
    k.unicode = c;
    return k;
  }
  k.vk = LOBYTE(scan);
  if (HIBYTE(scan) & 1) k.modifiers.push_back(VK_SHIFT);
  return k;
}

// "MOD+...+KEY": modifiers and a key name or one character; nullopt when the
// token is not of that form.
std::optional<Keystroke> chord(std::wstring_view token) {
  std::vector<WORD> modifiers;
  for (size_t plus; (plus = token.find(L'+')) != std::wstring_view::npos && plus > 0;) {
    const std::optional<WORD> m = modifierKey(token.substr(0, plus));
    if (!m) break;
    modifiers.push_back(*m);
    token.remove_prefix(plus + 1);
  }
  Keystroke k;
  if (const NamedKey* named = namedKey(token)) {
    k.vk = named->vk;
    k.extended = named->extended;
  } else if (!modifiers.empty() && token.size() == 1) {
    // The key that types the character, without the Shift it may need:
    // ALT+N and ALT+n press the same key.
    const SHORT scan = VkKeyScanW(token[0]);
    if (scan == -1) return std::nullopt;
    k.vk = LOBYTE(scan);
  } else {
    return std::nullopt;
  }
  k.modifiers = std::move(modifiers);
  return k;
}

std::vector<Keystroke> parseKeys(std::wstring_view keys) {
  std::vector<Keystroke> out;
  size_t i = 0;
  while (i < keys.size()) {
    if (keys[i] == L' ') {
      ++i;
      continue;
    }
    const size_t end = std::min(keys.find(L' ', i), keys.size());
    const std::wstring_view token = keys.substr(i, end - i);
    if (std::optional<Keystroke> k = chord(token)) {
      out.push_back(std::move(*k));
    } else {
      for (wchar_t c : token) out.push_back(characterKey(c));
    }
    i = end;
  }
  if (out.empty()) usage("no keys given");
  return out;
}

INPUT keyInput(WORD vk, bool up, bool extended, wchar_t unicode) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  if (unicode) {
    in.ki.wScan = unicode;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
  } else {
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    if (extended) in.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
  }
  if (up) in.ki.dwFlags |= KEYEVENTF_KEYUP;
  return in;
}

BOOL CALLBACK takeFirstWindow(HWND h, LPARAM out) {
  *reinterpret_cast<HWND*>(out) = h;
  return FALSE;
}

// A window of the thread, to send it messages; null once it has none.
HWND anyWindowOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(thread, &info)) {
    if (info.hwndFocus) return info.hwndFocus;
    if (info.hwndActive) return info.hwndActive;
  }
  HWND found = nullptr;
  EnumThreadWindows(thread, takeFirstWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Waits until the thread has dealt with up to `messages` messages of its queue.
// A message sent to a thread is handled when it next asks for a message, before
// it takes one from its queue; so each answer means it came back for another
// message, done with the one before. The pause after an answer lets it take
// that one before the next sent message arrives (sent messages that arrive
// together are handled together). Sent messages that find the queue empty are
// answered at once.
void waitUntilTakenUp(DWORD thread, size_t messages) {
  for (size_t i = 0; i <= messages; ++i) {
    const HWND h = anyWindowOf(thread);
    if (!h) return;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, kKeyTimeoutMs, &result) && GetLastError() == ERROR_TIMEOUT)
      return;  // busy: the rest waits in its queue, as a user's typing ahead does
    Sleep(kKeyPauseMs);
  }
}

void bringToForeground(HWND top) {
  const ULONGLONG deadline = GetTickCount64() + kKeyTimeoutMs;
  while (GetForegroundWindow() != top) {
    SetForegroundWindow(top);
    if (GetForegroundWindow() == top) break;
    if (GetTickCount64() >= deadline) fail(kExitFailed, "cannot bring the window to the foreground");
    Sleep(kPollMs / 4);
  }
}

// Sends one keystroke and waits until the program has dealt with it: each key
// event becomes a message, and a press may bring a WM_CHAR besides; twice as
// many answers as events leave room for both.
void sendKeystroke(const Keystroke& k, DWORD targetThread) {
  std::vector<INPUT> inputs;
  for (WORD m : k.modifiers) inputs.push_back(keyInput(m, false, false, 0));
  inputs.push_back(keyInput(k.vk, false, k.extended, k.unicode));
  inputs.push_back(keyInput(k.vk, true, k.extended, k.unicode));
  for (auto m = k.modifiers.rbegin(); m != k.modifiers.rend(); ++m) inputs.push_back(keyInput(*m, true, false, 0));
  if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
    fail(kExitFailed, "SendInput failed, error " + std::to_string(GetLastError()));
  waitUntilTakenUp(targetThread, inputs.size() * 2);
}

int keyCommand(DWORD pid, const Args& a) {
  const std::vector<Keystroke> keys = parseKeys(a.positional.at(2));
  const HWND top = waitForUserWindow(pid, a);
  const DWORD thread = GetWindowThreadProcessId(top, nullptr);
  bringToForeground(top);
  for (const Keystroke& k : keys) sendKeystroke(k, thread);
  std::printf("{\"keys\": %zu}\n", keys.size());
  return 0;
}

}  // namespace

int main() {
  // "\n" must reach the test harness as "\n", not "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);

  int argc = 0;
  std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!argv) usage("cannot parse own command line");
  const Args a = parseArgs(argc, argv.get());
  if (a.positional.size() < 2) usage("missing arguments");

  struct Command {
    const wchar_t* name;
    size_t arguments;  // including the command and the pid
    int (*run)(DWORD, const Args&);
  };
  static constexpr Command kCommands[] = {
      {L"windows", 2, windowsCommand},
      {L"click", 3, clickCommand},
      {L"type", 4, typeCommand},
      {L"select", 4, selectCommand},
      {L"dblclick-item", 4, dblclickItemCommand},
      {L"check", 4, checkCommand},
      {L"key", 3, keyCommand},
      {L"close", 2, closeCommand},
      {L"wait-gone", 2, waitGoneCommand},
      {L"watch", 3, watchCommand},
  };
  const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const Command& c) { return a.positional[0] == c.name; });
  if (command == std::end(kCommands)) usage("unknown command");
  if (a.positional.size() != command->arguments) usage("wrong number of arguments");
  const std::optional<unsigned long> pid = parseNumber(a.positional[1]);
  if (!pid) usage("pid must be a number");
  return command->run(static_cast<DWORD>(*pid), a);
}
