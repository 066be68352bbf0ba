// Twips, the forms' unit, and the pixel rectangles they become.

#include <QRect>
#include <QTest>

#include <stdexcept>

#include "windows/forms/units.h"

class UnitsTest : public QObject {
    Q_OBJECT

private slots:
    void twipsBecomeLogicalPixels_data();
    void twipsBecomeLogicalPixels();
    void aTwipsRectBecomesAPixelRect();
    void twipsOffThePixelGridAreRefused_data();
    void twipsOffThePixelGridAreRefused();
};

void UnitsTest::twipsBecomeLogicalPixels_data() {
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("control margin") << 120 << 8;
    QTest::newRow("client width") << 3525 << 235;
    QTest::newRow("screen left") << 4050 << 270;
    QTest::newRow("button width") << 1455 << 97;
}

void UnitsTest::twipsBecomeLogicalPixels() {
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(forms::pixelsFromTwips(twips), pixels);
}

void UnitsTest::aTwipsRectBecomesAPixelRect() {
    QCOMPARE((forms::TwipsRect{1200, 840, 1095, 375}.pixels), QRect(80, 56, 73, 25));
}

void UnitsTest::twipsOffThePixelGridAreRefused_data() {
    QTest::addColumn<int>("twips");
    QTest::newRow("one twip") << 1;
    QTest::newRow("just under a pixel") << 14;
    QTest::newRow("just over a pixel") << 16;
    QTest::newRow("client width plus one") << 3526;
}

void UnitsTest::twipsOffThePixelGridAreRefused() {
    QFETCH(int, twips);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, forms::pixelsFromTwips(twips));
}

QTEST_MAIN(UnitsTest)
#include "units_test.moc"
