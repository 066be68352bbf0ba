// Starts a Windows program, waits for its top-level window with a given title, closes that
// window the way the title bar's close button does (WM_CLOSE) and reports, one line each:
//   window <milliseconds from start until the window was shown>
//   exit <the program's exit code, in hex>
// or "no window" when the program ended or the time ran out before its window was shown.
// A message box that the program shows instead (a failure it explains to the user) is
// reported as "message <its text>" and answered with OK.
// Its own exit status is 0 only when the window appeared and the program then ended with 0.
//
//   windowdriver <program.exe> <window title> <timeout in milliseconds>

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    DWORD processId;
    const wchar_t* title;
    HWND found = nullptr;
    HWND messageBox = nullptr;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (std::wcscmp(text, search.title) == 0) {
        search.found = window;
        return FALSE;
    }
    // Message boxes are dialogs, of the window class Windows names "#32770".
    GetClassNameW(window, text, 256);
    if (std::wcscmp(text, L"#32770") == 0) {
        search.messageBox = window;
    }
    return TRUE;
}

Search shownWindows(DWORD processId, const wchar_t* title) {
    Search search{processId, title};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search;
}

// The message box's text (its static control has the id 0xFFFF), in UTF-8 on one line.
std::string messageText(HWND messageBox) {
    wchar_t text[2048] = {};
    GetDlgItemTextW(messageBox, 0xFFFF, text, 2048);
    char utf8[8192] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::string line(utf8);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Waits for the process to end, up to the deadline; ends it when it does not.
DWORD exitCode(HANDLE process, double timeoutMs, const LARGE_INTEGER& start) {
    const double left = timeoutMs - millisecondsSince(start);
    if (WaitForSingleObject(process, left > 0 ? static_cast<DWORD>(left) : 0) != WAIT_OBJECT_0) {
        std::printf("still running after %.0f ms: ended\n", timeoutMs);
        TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: windowdriver <program.exe> <window title> <timeout ms>\n");
        return 2;
    }
    const wchar_t* title = argv[2];
    const double timeoutMs = std::wcstod(argv[3], nullptr);
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("cannot start: error %lu\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);

    HWND window = nullptr;
    while (window == nullptr && millisecondsSince(start) < timeoutMs &&
           WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        const Search shown = shownWindows(process.dwProcessId, title);
        window = shown.found;
        if (window == nullptr && shown.messageBox != nullptr) {
            std::printf("message %s\n", messageText(shown.messageBox).c_str());
            PostMessageW(shown.messageBox, WM_COMMAND, IDOK, 0);
            break;
        }
        if (window == nullptr) {
            Sleep(1);
        }
    }
    if (window != nullptr) {
        std::printf("window %.1f\n", millisecondsSince(start));
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        std::printf("no window\n");
    }
    const DWORD code = exitCode(process.hProcess, timeoutMs, start);
    CloseHandle(process.hProcess);
    std::printf("exit %08lx\n", code);
    std::fflush(stdout);
    return window != nullptr && code == 0 ? 0 : 1;
}
