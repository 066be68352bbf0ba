// The message and title labels: the background they show.

#include <QTest>

#include "widgettesting.h"
#include "windows/forms/colours.h"
#include "windows/forms/label.h"

using forms::ColourCode;
using widgettesting::name;
using widgettesting::pixel;

namespace {

constexpr ColourCode kYellow = 0x0080FFFF;

}  // namespace

class LabelTest : public QObject {
    Q_OBJECT

private slots:
    void labelShowsItsBackgroundOpaque();
};

void LabelTest::labelShowsItsBackgroundOpaque() {
    QWidget window;
    window.resize(100, 40);
    forms::Label label(QString(), &window);
    label.setGeometry(10, 10, 80, 20);
    label.setBackground(kYellow);
    QCOMPARE(label.background(), kYellow);
    QCOMPARE(pixel(window, {12, 12}), QStringLiteral("#ffff80"));
    QCOMPARE(pixel(window, {5, 5}), name(window.palette().color(QPalette::Window)));
    QCOMPARE(name(label.palette().color(QPalette::WindowText)), QStringLiteral("#000000"));
}

QTEST_MAIN(LabelTest)
#include "label_test.moc"
