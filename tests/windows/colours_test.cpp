// Colour codes: explicit and system colours resolved against a light and a dark palette.

#include <QTest>

#include "widgettesting.h"
#include "windows/forms/colours.h"

using forms::ColourCode;
using widgettesting::name;

namespace {

constexpr ColourCode kYellow = 0x0080FFFF;

QColor role(const QString& paletteName, QPalette::ColorRole colourRole) {
    return widgettesting::paletteNamed(paletteName).color(colourRole);
}

}  // namespace

class ColoursTest : public QObject {
    Q_OBJECT

private slots:
    void colourCodesResolve_data();
    void colourCodesResolve();
    void entryColoursStayReadable_data();
    void entryColoursStayReadable();
};

void ColoursTest::colourCodesResolve_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<ColourCode>("code");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("foreground");

    for (const QString& palette : {QStringLiteral("light"), QStringLiteral("dark")}) {
        const auto row = [&palette](const char* what) -> QTestData& {
            return QTest::addRow("%s, %s", qPrintable(palette), what);
        };
        // Explicit colours: red in the lowest byte, text black or white to read on them.
        row("light yellow") << palette << kYellow << QColor(255, 255, 128) << QColor(Qt::black);
        row("white") << palette << ColourCode{0x00FFFFFF} << QColor(Qt::white) << QColor(Qt::black);
        row("black") << palette << ColourCode{0} << QColor(Qt::black) << QColor(Qt::white);
        row("pure red") << palette << ColourCode{0x000000FF} << QColor(255, 0, 0)
                        << QColor(Qt::white);
        row("pure blue") << palette << ColourCode{0x00FF0000} << QColor(0, 0, 255)
                         << QColor(Qt::white);
        // System colours: the palette's roles and the text colour that goes with each.
        row("button face") << palette << ColourCode{0x8000000F} << role(palette, QPalette::Button)
                           << role(palette, QPalette::ButtonText);
        row("window background") << palette << ColourCode{0x80000005}
                                 << role(palette, QPalette::Base) << role(palette, QPalette::Text);
        row("title-bar text") << palette << ColourCode{0x80000009} << role(palette, QPalette::Base)
                              << role(palette, QPalette::Text);
        row("unlisted index") << palette << ColourCode{0x80000008}
                              << role(palette, QPalette::Window)
                              << role(palette, QPalette::WindowText);
    }
}

void ColoursTest::colourCodesResolve() {
    QFETCH(QString, palette);
    QFETCH(ColourCode, code);
    QFETCH(QColor, background);
    QFETCH(QColor, foreground);
    const forms::ResolvedColour resolved =
        forms::resolveColour(code, widgettesting::paletteNamed(palette));
    QCOMPARE(name(resolved.background), name(background));
    QCOMPARE(name(resolved.foreground), name(foreground));
}

// The entry box wears system colour 5 at start, yellow in one scheme and system colour 9 in
// the other: its text must read on each, in a light and in a dark palette.
void ColoursTest::entryColoursStayReadable_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<ColourCode>("code");
    for (const QString& palette : {QStringLiteral("light"), QStringLiteral("dark")}) {
        QTest::addRow("%s, start", qPrintable(palette))
            << palette << forms::colour::windowBackground;
        QTest::addRow("%s, yellow", qPrintable(palette)) << palette << forms::colour::lightYellow;
        QTest::addRow("%s, classic", qPrintable(palette)) << palette << forms::colour::titleBarText;
    }
}

void ColoursTest::entryColoursStayReadable() {
    QFETCH(QString, palette);
    QFETCH(ColourCode, code);
    const forms::ResolvedColour resolved =
        forms::resolveColour(code, widgettesting::paletteNamed(palette));
    QVERIFY2(widgettesting::brightnessContrast(resolved.foreground, resolved.background) >= 125,
             qPrintable(name(resolved.foreground) + " on " + name(resolved.background)));
}

QTEST_MAIN(ColoursTest)
#include "colours_test.moc"
