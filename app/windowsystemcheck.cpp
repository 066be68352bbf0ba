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

// What went wrong, as the platform plugins said it ("could not connect to display :99");
// their loader's own remarks and the closing fatal text say only that none could start.
QString reason(const QString& fatalText) {
    QStringList parts;
    for (const HeldMessage& message : held) {
        const bool fromLoader =
            message.category != nullptr && std::strcmp(message.category, "qt.qpa.plugin") == 0;
        if ((message.type == QtWarningMsg || message.type == QtCriticalMsg) && !fromLoader) {
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
