// The two border appearances as they are drawn.

#include <QImage>
#include <QPainter>
#include <QTest>

#include "widgettesting.h"
#include "windows/forms/appearance.h"

using forms::Appearance;
using widgettesting::name;

namespace {

QImage withBorder(const QPalette& palette, Appearance appearance) {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(palette.color(QPalette::Base));
    QPainter painter(&image);
    forms::drawBorder(painter, image.rect(), palette, appearance);
    return image;
}

QString at(const QImage& image, int x, int y) {
    return name(image.pixelColor(x, y));
}

}  // namespace

class AppearanceTest : public QObject {
    Q_OBJECT

private slots:
    void flatBorderIsOnePlainLine_data();
    void flatBorderIsOnePlainLine();
    void sunkenBorderIsTheTwoPixel3DEdge();
};

void AppearanceTest::flatBorderIsOnePlainLine_data() {
    QTest::addColumn<QString>("palette");
    QTest::newRow("light") << QStringLiteral("light");
    QTest::newRow("dark") << QStringLiteral("dark");
}

void AppearanceTest::flatBorderIsOnePlainLine() {
    QFETCH(QString, palette);
    const QPalette colours = widgettesting::paletteNamed(palette);
    const QImage image = withBorder(colours, Appearance::Flat);
    const QString line = name(colours.color(QPalette::Text));
    const QString inside = name(colours.color(QPalette::Base));
    QCOMPARE(at(image, 0, 0), line);
    QCOMPARE(at(image, 10, 0), line);
    QCOMPARE(at(image, 19, 9), line);
    QCOMPARE(at(image, 0, 5), line);
    QCOMPARE(at(image, 1, 1), inside);
    QCOMPARE(at(image, 18, 8), inside);
}

void AppearanceTest::sunkenBorderIsTheTwoPixel3DEdge() {
    const QPalette colours = widgettesting::darkPalette();
    const QImage image = withBorder(colours, Appearance::Sunken3D);
    // Shadow above and to the left, light below and to the right, two pixels deep.
    QCOMPARE(at(image, 5, 0), name(colours.color(QPalette::Dark)));
    QCOMPARE(at(image, 5, 1), name(colours.color(QPalette::Shadow)));
    QCOMPARE(at(image, 5, 9), name(colours.color(QPalette::Light)));
    QCOMPARE(at(image, 5, 8), name(colours.color(QPalette::Midlight)));
    QCOMPARE(at(image, 0, 5), name(colours.color(QPalette::Dark)));
    QCOMPARE(at(image, 19, 5), name(colours.color(QPalette::Light)));
    QCOMPARE(at(image, 2, 2), name(colours.color(QPalette::Base)));
}

QTEST_MAIN(AppearanceTest)
#include "appearance_test.moc"
