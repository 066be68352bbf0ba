#include "windowsystemcheck.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

struct HeldMessage {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;  // Qt's category names are string literals that outlive the program
    QString text;
};

std::mutex heldMutex;
std::vector<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;
const char* program = "";

// Whether a message is a platform plugin's report of a failed connection: a warning or critical
// message in the plugin's own category (qt.qpa.xcb: "could not connect to display :99") or in
// none (the Wayland plugin: "Failed to create wl_display"). Not their loader's remarks
// (qt.qpa.plugin), which say only that none could start, nor Qt's other warnings, which come
// in the default category: QCoreApplication's notice that it runs a C locale as C.UTF-8, say.
bool fromWindowSystem(const HeldMessage& message) {
    if (message.type != QtWarningMsg && message.type != QtCriticalMsg) {
        return false;
    }
    static constexpr char prefix[] = "qt.qpa.";
    const char* category = message.category;
    return category == nullptr || *category == '\0' ||
           (std::strncmp(category, prefix, sizeof prefix - 1) == 0 &&
            std::strcmp(category, "qt.qpa.plugin") != 0);
}

// What went wrong, as the window system's plugin said it ("could not connect to display :99");
// without such a message, the first line of Qt's closing fatal text.
QString reason(const QString& fatalText) {
    QStringList parts;
    for (const HeldMessage& message : held) {
        if (fromWindowSystem(message)) {
            parts << message.text.trimmed();
        }
    }
    QString text = parts.isEmpty() ? fatalText.section(u'\n', 0, 0).trimmed()
                                   : parts.join(QStringLiteral("; "));
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        text += QStringLiteral(" (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    }
    return text;
}

void holdBack(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(heldMutex);
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s: cannot open a window: %s\n", program,
                     reason(text).toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    held.push_back({type, context.file, context.line, context.function, context.category, text});
}

}  // namespace

WindowSystemCheck::WindowSystemCheck(const char* programName) {
    program = programName;
    previousHandler = qInstallMessageHandler(holdBack);
}

void WindowSystemCheck::connected() {
    if (done_) {
        return;
    }
    done_ = true;
    qInstallMessageHandler(previousHandler);
    const std::lock_guard lock(heldMutex);
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(message.file, message.line, message.function,
                                         message.category);
        previousHandler(message.type, context, message.text);
    }
    held.clear();
}
