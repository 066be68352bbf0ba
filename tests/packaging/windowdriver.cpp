// Starts a Windows program, waits for its top-level window with a given title, closes that
// window the way the title bar's close button does (WM_CLOSE) and reports, one line each:
//   window <milliseconds from start until the window was shown>
//   exit <the program's exit code, in hex>
// or "no window" when the program ended or the time ran out before its window was shown.
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
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (owner == search.processId && IsWindowVisible(window) &&
        std::wcscmp(title, search.title) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND shownWindow(DWORD processId, const wchar_t* title) {
    Search search{processId, title, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
        window = shownWindow(process.dwProcessId, title);
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
