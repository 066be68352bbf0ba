#include "widgettesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

#include "windows/Form2.h"

namespace widgettesting {

QPalette lightPalette() {
    return QApplication::style()->standardPalette();
}

QPalette darkPalette() {
    QPalette palette;
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, QColor(0x30, 0x30, 0x30)},
        {QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0)},
        {QPalette::Base, QColor(0x20, 0x20, 0x28)},
        {QPalette::AlternateBase, QColor(0x28, 0x28, 0x30)},
        {QPalette::Text, QColor(0xe8, 0xe8, 0xe0)},
        {QPalette::Button, QColor(0x40, 0x40, 0x48)},
        {QPalette::ButtonText, QColor(0xfa, 0xfa, 0xf0)},
        {QPalette::Light, QColor(0x70, 0x70, 0x70)},
        {QPalette::Midlight, QColor(0x58, 0x58, 0x58)},
        {QPalette::Mid, QColor(0x38, 0x38, 0x38)},
        {QPalette::Dark, QColor(0x18, 0x18, 0x18)},
        {QPalette::Shadow, QColor(0x08, 0x08, 0x08)},
        {QPalette::Highlight, QColor(0x30, 0x70, 0xc0)},
        {QPalette::HighlightedText, QColor(0xff, 0xff, 0xff)},
        {QPalette::BrightText, QColor(0xff, 0x40, 0x40)},
    };
    for (const auto& [role, colour] : roles) {
        palette.setColor(role, colour);
    }
    return palette;
}

QPalette paletteNamed(const QString& name) {
    return name == QLatin1String("dark") ? darkPalette() : lightPalette();
}

ApplicationPalette::ApplicationPalette(const QPalette& palette)
    : previous_(QApplication::palette()) {
    QApplication::setPalette(palette);
}

ApplicationPalette::~ApplicationPalette() {
    QApplication::setPalette(previous_);
}

QImage rendered(QWidget& widget) {
    return widget.grab().toImage();
}

QString pixel(QWidget& widget, QPoint at) {
    return name(rendered(widget).pixelColor(at));
}

QString name(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

int brightnessContrast(const QColor& a, const QColor& b) {
    return std::abs(qGray(a.rgb()) - qGray(b.rgb()));
}

void typeEntry(QWidget& entry, const QString& text) {
    QTest::keyClick(&entry, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&entry, Qt::Key_Delete);
    QTest::keyClicks(&entry, text);
}

void click(QAbstractButton& button) {
    QTest::mouseClick(&button, Qt::LeftButton);
}

bool activate(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QList<Form2*> colourSchemeWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<Form2*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form2 = qobject_cast<Form2*>(widget)) {
            windows.append(form2);
        }
    }
    return windows;
}

LoopRun runInEventLoop(const QList<std::function<void()>>& steps) {
    constexpr int kStepInterval = 20;
    constexpr int kWatchdog = 2000;
    LoopRun run;
    QObject scope;  // the timers go with it, whichever way the loop ends
    for (qsizetype i = 0; i < steps.size(); ++i) {
        QTimer::singleShot(kStepInterval * int(i + 1), &scope, [&run, &steps, i] {
            steps[i]();
            ++run.stepsRun;
        });
    }
    QTimer::singleShot(kStepInterval * int(steps.size() + 1) + kWatchdog, &scope,
                       [] { QCoreApplication::exit(kStillRunning); });
    run.exitCode = QApplication::exec();
    return run;
}

}  // namespace widgettesting
