// The client area: it shows its background and keeps it to itself.

#include <QTest>

#include "widgettesting.h"
#include "windows/forms/colours.h"
#include "windows/forms/commandbutton.h"
#include "windows/forms/formsurface.h"

using forms::ColourCode;
using widgettesting::pixel;

namespace {

constexpr ColourCode kYellow = 0x0080FFFF;

}  // namespace

class FormSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void surfaceDoesNotHandItsColourToItsControls();
};

void FormSurfaceTest::surfaceDoesNotHandItsColourToItsControls() {
    forms::FormSurface surface;
    surface.resize(120, 50);
    forms::CommandButton button(QStringLiteral("Přičti"), &surface);
    button.setGeometry(8, 8, 73, 25);
    surface.setBackground(forms::colour::buttonFace);
    const QImage buttonBefore = widgettesting::rendered(button);

    surface.setBackground(kYellow);
    QCOMPARE(pixel(surface, {2, 2}), QStringLiteral("#ffff80"));
    QCOMPARE(pixel(surface, {110, 45}), QStringLiteral("#ffff80"));
    QCOMPARE(widgettesting::rendered(button), buttonBefore);
}

QTEST_MAIN(FormSurfaceTest)
#include "formsurface_test.moc"
