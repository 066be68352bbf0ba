#pragma once

// Qt reports a window system it cannot reach (DISPLAY naming no X server, no Wayland
// compositor) with a few warnings and then aborts the process: a page of text and a core dump.
// While a WindowSystemCheck lives, Qt's messages are held back; if the application fails to
// connect, the program prints one line saying why and exits with status 1. Once it has
// connected, connected() hands the messages on in their order.
class WindowSystemCheck {
public:
    explicit WindowSystemCheck(const char* programName);
    ~WindowSystemCheck() { connected(); }
    void connected();
    WindowSystemCheck(const WindowSystemCheck&) = delete;
    WindowSystemCheck& operator=(const WindowSystemCheck&) = delete;

private:
    bool done_ = false;
};
