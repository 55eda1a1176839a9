// launch.exe - test tool: starts a Windows program with an exact command line.
//
//   launch.exe [--app <application path>] [--cwd <dir>] [--memory] [--time] <hex>
//
// <hex> is the child's command line in UTF-8, two hex digits per byte ("-" for
// an empty one). Passing it encoded keeps the host shell, Wine and the C
// runtime from re-quoting it: the child's GetCommandLineW() sees exactly the
// decoded string. --app becomes lpApplicationName, so the file that runs may
// differ from the one the command line names.
//
// Output: "pid <n>\n" as soon as the child starts, then "exit <code>\n" once it
// ends; launch.exe exits with the child's exit code. If the child cannot be
// started: "error <GetLastError()>" on stderr and exit code 255.
//
// --memory adds "peak <PeakPagefileUsage> <PeakWorkingSetSize>" (bytes) after
// the exit line: the largest values GetProcessMemoryInfo gave for the child,
// asked every 10 ms while it runs and once more after it ends. Windows keeps
// true peaks and answers after the exit too; Wine reads the current figures
// of the live Unix process (its peak page-file figure is the current one, and
// a process that has ended has none), so there the samples carry the result.
// --time adds "elapsed <seconds>": from just before CreateProcess to the end
// of the child, by the performance counter.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#define _WIN32_WINNT 0x0601
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

constexpr int kExitUsage = 254;
constexpr int kExitStartFailed = 255;

struct HandleCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct LocalFreer {
    void operator()(void* p) const noexcept { LocalFree(p); }
};

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr, "launch: %s\nusage: launch.exe [--app <path>] [--cwd <dir>] [--memory] [--time] <hex>\n",
                 why);
    std::exit(kExitUsage);
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

std::optional<std::string> decodeHex(std::wstring_view hex) {
    if (hex == L"-") return std::string();
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = hexDigit(hex[i]);
        const int lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        const char byte = static_cast<char>(hi * 16 + lo);
        if (byte == '\0') return std::nullopt;  // cannot be part of a command line
        bytes.push_back(byte);
    }
    return bytes;
}

std::optional<std::wstring> utf8ToWide(const std::string& s) {
    if (s.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(),
                                      static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, s.data(), static_cast<int>(s.size()),
                        w.data(), n);
    return w;
}

// The largest memory figures seen for a process.
struct PeakMemory {
    SIZE_T pagefile = 0;
    SIZE_T workingSet = 0;

    void sample(HANDLE process) {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return;
        pagefile = std::max({pagefile, counters.PeakPagefileUsage, counters.PagefileUsage});
        workingSet = std::max({workingSet, counters.PeakWorkingSetSize, counters.WorkingSetSize});
    }
};

double secondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
    // "\n" must reach the test harness as "\n", not "\r\n".
    _setmode(_fileno(stdout), _O_BINARY);

    int argc = 0;
    std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    if (!argv) usage("cannot parse own command line");

    std::optional<std::wstring> app;
    std::optional<std::wstring> cwd;
    std::optional<std::wstring> hex;
    bool memory = false;
    bool time = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view arg = argv.get()[i];
        if ((arg == L"--app" || arg == L"--cwd") && i + 1 < argc) {
            (arg == L"--app" ? app : cwd) = argv.get()[++i];
        } else if (arg == L"--memory") {
            memory = true;
        } else if (arg == L"--time") {
            time = true;
        } else if (!hex) {
            hex = arg;
        } else {
            usage("too many arguments");
        }
    }
    if (!hex) usage("missing command line");

    const std::optional<std::string> utf8 = decodeHex(*hex);
    if (!utf8) usage("command line is not valid hex (or contains a NUL byte)");
    std::optional<std::wstring> cmdline = utf8ToWide(*utf8);
    if (!cmdline) usage("command line is not valid UTF-8");

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // Like a shell sitting in that folder: the program name is looked up
    // there too, not only in the new process's working folder.
    if (cwd && !SetCurrentDirectoryW(cwd->c_str())) {
        std::fprintf(stderr, "error %lu\n", GetLastError());
        return 255;
    }
    LARGE_INTEGER started{};
    QueryPerformanceCounter(&started);
    // CreateProcessW may write into the command-line buffer, so it must be mutable.
    if (!CreateProcessW(app ? app->c_str() : nullptr, cmdline->data(), nullptr, nullptr,
                        FALSE, 0, nullptr, cwd ? cwd->c_str() : nullptr, &si, &pi)) {
        std::fprintf(stderr, "error %lu\n", GetLastError());
        return kExitStartFailed;
    }
    const UniqueHandle process(pi.hProcess);
    const UniqueHandle thread(pi.hThread);

    std::printf("pid %lu\n", pi.dwProcessId);
    std::fflush(stdout);

    PeakMemory peak;
    if (memory) {
        while (WaitForSingleObject(process.get(), 10) == WAIT_TIMEOUT) peak.sample(process.get());
        peak.sample(process.get());
    } else {
        WaitForSingleObject(process.get(), INFINITE);
    }
    const double elapsed = secondsSince(started);
    DWORD code = 0;
    if (!GetExitCodeProcess(process.get(), &code)) {
        std::fprintf(stderr, "error %lu\n", GetLastError());
        return kExitStartFailed;
    }
    std::printf("exit %lu\n", code);
    if (memory) {
        std::printf("peak %llu %llu\n", static_cast<unsigned long long>(peak.pagefile),
                    static_cast<unsigned long long>(peak.workingSet));
    }
    if (time) std::printf("elapsed %.6f\n", elapsed);
    std::fflush(stdout);
    return static_cast<int>(code);
}
