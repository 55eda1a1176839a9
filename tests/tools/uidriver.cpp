// uidriver.exe - test tool: inspects and operates another process's windows.
//
//   uidriver.exe windows <pid> [--timeout <ms>] [--wait-class <class>] [--wait-text <text>]
//   uidriver.exe click   <pid> <id | caption>   [--timeout <ms>]
//   uidriver.exe type    <pid> <id> <text>      [--timeout <ms>]
//   uidriver.exe select  <pid> <id> <entry>     [--timeout <ms>]
//
// Every command polls (every 100 ms, default timeout 15000 ms) until what it
// needs is there, prints JSON (UTF-8) on stdout and exits 0.
//
// windows: waits until the process shows a visible top-level window (of class
//   --wait-class, and with --wait-text in its caption or in a control's text),
//   then prints all its visible top-level windows:
//     [{"hwnd": n, "class": s, "caption": s, "controls": [
//        {"id": n, "class": s, "text": s, "visible": b, "enabled": b, "checked": b,
//         "items": [s...], "selected": n}    <- items/selected: ListBox, ComboBox only
//     ]}]
// click:  presses (BM_CLICK) a Button with that control id (all digits) or
//   whose text, without '&' accelerator marks, equals the argument exactly.
//   Prints {"clicked": id}.
// type:   replaces the text of the Edit control with that id. Prints {"typed": id}.
// select: selects the entry with exactly that text in the ListBox or ComboBox
//   with that id and tells the parent as a user's choice would
//   (LBN_SELCHANGE / CBN_SELCHANGE). Prints {"id": id, "selected": index}.
//
// click, type and select only act on controls a user could reach: visible,
// and enabled along with every window above them - so while a modal dialog is
// up, the disabled window beneath it is out of reach. An action waits up to
// 1 s for the program to handle it; a handler still busy then (one that opened
// a modal dialog, say) is left running and the command succeeds. "--" ends the
// options, for a text that starts with "--".
//
// Exit codes: 1 usage, 2 timed out, 3 the process ended, 4 the action failed.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#define _WIN32_WINNT 0x0601
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
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

struct HandleCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct LocalFreer {
    void operator()(void* p) const noexcept { LocalFree(p); }
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
                         "       uidriver.exe select <pid> <id> <entry> [--timeout <ms>]");
}

std::string toUtf8(std::wstring_view w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr,
                                      0, nullptr, nullptr);
    std::string s(static_cast<size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
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
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
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

// ---- Reading windows ----------------------------------------------------------

// The target process, to tell "no window yet" from "never will be".
class TargetProcess {
public:
    explicit TargetProcess(DWORD pid)
        : handle_(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)),
          gone_(!handle_ && GetLastError() == ERROR_INVALID_PARAMETER) {}

    // Without a handle (access denied) the process is assumed to be running.
    bool ended() const {
        return gone_ || (handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0);
    }

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
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, kQueryTimeoutMs, &result))
        return std::nullopt;
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
    bool isList;
    std::vector<std::wstring> items;
    int selected;
};

struct TopWindow {
    HWND hwnd;
    std::wstring cls;
    std::wstring caption;
    std::vector<Control> controls;
};

struct ListMessages {
    UINT count, textLength, text, curSel;
    LONG ownerDrawStyles, hasStringsStyle;
};
constexpr ListMessages kListBoxMessages{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCURSEL,
                                        LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE,
                                        LBS_HASSTRINGS};
constexpr ListMessages kComboBoxMessages{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCURSEL,
                                         CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE,
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
        c.items.push_back(hasText ? queryString(h, m.textLength, m.text, static_cast<WPARAM>(i), false)
                                  : std::wstring());
}

bool reachable(HWND h, HWND top) {
    if (!IsWindowVisible(h)) return false;
    for (HWND w = h; w; w = GetAncestor(w, GA_PARENT)) {
        if (!IsWindowEnabled(w)) return false;
        if (w == top) return true;
    }
    return false;
}

Control readControl(HWND h, HWND top) {
    Control c{};
    c.hwnd = h;
    c.id = GetDlgCtrlID(h);
    c.cls = className(h);
    c.text = windowText(h);
    c.visible = IsWindowVisible(h) != FALSE;
    c.enabled = IsWindowEnabled(h) != FALSE;
    c.reachable = reachable(h, top);
    c.checked = sameClass(c.cls, L"Button") && query(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
    c.selected = -1;
    if (const ListMessages* m = listMessages(c.cls)) readItems(h, *m, c);
    return c;
}

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
        TopWindow w{top, className(top), windowText(top), {}};
        std::vector<HWND> children;
        EnumChildWindows(top, collectChild, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) w.controls.push_back(readControl(child, top));
        windows.push_back(std::move(w));
    }
    return windows;
}

std::string toJson(const std::vector<TopWindow>& windows) {
    std::string out = "[";
    for (const TopWindow& w : windows) {
        if (out.size() > 1) out += ",\n ";
        out += "{\"hwnd\": " + std::to_string(reinterpret_cast<std::uintptr_t>(w.hwnd)) +
               ", \"class\": " + jsonString(w.cls) + ", \"caption\": " + jsonString(w.caption) +
               ", \"controls\": [";
        bool first = true;
        for (const Control& c : w.controls) {
            out += first ? "\n  " : ",\n  ";
            first = false;
            out += "{\"id\": " + std::to_string(c.id) + ", \"class\": " + jsonString(c.cls) +
                   ", \"text\": " + jsonString(c.text) + ", \"visible\": " + jsonBool(c.visible) +
                   ", \"enabled\": " + jsonBool(c.enabled) + ", \"checked\": " + jsonBool(c.checked);
            if (c.isList) {
                out += ", \"items\": [";
                for (size_t i = 0; i < c.items.size(); ++i)
                    out += (i ? ", " : "") + jsonString(c.items[i]);
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

const Control* findReachable(const std::vector<TopWindow>& windows,
                             const std::function<bool(const Control&)>& match) {
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
    return std::any_of(w.controls.begin(), w.controls.end(), [&](const Control& c) {
        return c.text.find(*a.waitText) != std::wstring::npos;
    });
}

int windowsCommand(DWORD pid, const Args& a) {
    const std::string json = waitFor<std::string>(
        pid, a.timeoutMs, "a matching window",
        [&](const std::vector<TopWindow>& windows) -> std::optional<std::string> {
            if (std::none_of(windows.begin(), windows.end(),
                             [&](const TopWindow& w) { return windowMatches(w, a); }))
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
        pid, a.timeoutMs, "button " + toUtf8(target),
        [&](const std::vector<TopWindow>& windows) -> std::optional<HWND> {
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
    const HWND edit = waitFor<HWND>(
        pid, a.timeoutMs, "edit control " + std::to_string(id),
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

int selectCommand(DWORD pid, const Args& a) {
    const int id = controlId(a);
    const std::wstring& entry = a.positional.at(3);
    struct Target {
        HWND hwnd;
        bool isListBox;
        int index;
    };
    // The entry is matched here, exactly: LB_FINDSTRINGEXACT ignores case.
    const Target t = waitFor<Target>(
        pid, a.timeoutMs, "entry " + toUtf8(entry) + " in list " + std::to_string(id),
        [&](const std::vector<TopWindow>& windows) -> std::optional<Target> {
            const Control* found = findReachable(windows, [&](const Control& c) {
                return c.id == id && c.isList &&
                       std::find(c.items.begin(), c.items.end(), entry) != c.items.end();
            });
            if (!found) return std::nullopt;
            const auto& items = found->items;
            const auto index = std::find(items.begin(), items.end(), entry) - items.begin();
            return Target{found->hwnd, sameClass(found->cls, L"ListBox"), static_cast<int>(index)};
        });
    const auto index = static_cast<WPARAM>(t.index);
    if (!t.isListBox) {
        act(t.hwnd, CB_SETCURSEL, index, 0);
    } else if (GetWindowLongW(t.hwnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        act(t.hwnd, LB_SETSEL, FALSE, -1);
        act(t.hwnd, LB_SETSEL, TRUE, static_cast<LPARAM>(index));
        act(t.hwnd, LB_SETCARETINDEX, index, FALSE);
    } else {
        act(t.hwnd, LB_SETCURSEL, index, 0);
    }
    const WORD notification = t.isListBox ? LBN_SELCHANGE : CBN_SELCHANGE;
    act(GetAncestor(t.hwnd, GA_PARENT), WM_COMMAND,
        MAKEWPARAM(static_cast<WORD>(id), notification), reinterpret_cast<LPARAM>(t.hwnd));
    std::printf("{\"id\": %d, \"selected\": %d}\n", id, t.index);
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
    };
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return a.positional[0] == c.name; });
    if (command == std::end(kCommands)) usage("unknown command");
    if (a.positional.size() != command->arguments) usage("wrong number of arguments");
    const std::optional<unsigned long> pid = parseNumber(a.positional[1]);
    if (!pid) usage("pid must be a number");
    return command->run(static_cast<DWORD>(*pid), a);
}
