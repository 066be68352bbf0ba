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

// Whether a message comes from a platform plugin (qt.qpa.xcb, qt.qpa.wayland, ...) rather than
// from their loader (qt.qpa.plugin), whose remarks say only that none could start, or from
// elsewhere in Qt: QCoreApplication's notice that it switched a C locale to C.UTF-8, say.
bool fromWindowSystem(const HeldMessage& message) {
    static constexpr char prefix[] = "qt.qpa.";
    return message.category != nullptr &&
           std::strncmp(message.category, prefix, sizeof prefix - 1) == 0 &&
           std::strcmp(message.category, "qt.qpa.plugin") != 0;
}

// What went wrong, as the window system's plugin said it ("could not connect to display :99");
// without such a message, the first line of Qt's closing fatal text.
QString reason(const QString& fatalText) {
    QStringList parts;
    for (const HeldMessage& message : held) {
        if ((message.type == QtWarningMsg || message.type == QtCriticalMsg) &&
            fromWindowSystem(message)) {
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
