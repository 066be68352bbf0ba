// Asks a window for its UI Automation root, as a screen reader does when it meets a window:
// sends the top-level window with the given title WM_GETOBJECT with UiaRootObjectId, and
// prints "root <what the window answered>", or "no window".
//
//   uiaroot <window title>

#include <windows.h>

#include <cstdio>

namespace {

constexpr LPARAM kUiaRootObjectId = -25;

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: uiaroot <window title>\n");
        return 2;
    }
    HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) {
        std::printf("no window\n");
        return 1;
    }
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_GETOBJECT, 0, kUiaRootObjectId, SMTO_ABORTIFHUNG, 30000,
                             &answer)) {
        std::printf("no answer: error %lu\n", GetLastError());
        return 1;
    }
    std::printf("root %llu\n", static_cast<unsigned long long>(answer));
    return 0;
}
