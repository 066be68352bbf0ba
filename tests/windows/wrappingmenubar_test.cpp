// The menu bar that wraps its menus into further rows.

#include <QMainWindow>
#include <QMenu>
#include <QTest>

#include "windows/forms/wrappingmenubar.h"

class WrappingMenuBarTest : public QObject {
    Q_OBJECT

private slots:
    void menuBarWrapsAndArrowsGoOnToTheNextRow();
};

// With an 11-point font three menus do not fit 235 pixels: the last goes on to a second row,
// the bar is as tall as both, and no menu hides behind an extension button.
void WrappingMenuBarTest::menuBarWrapsAndArrowsGoOnToTheNextRow() {
    QMainWindow window;
    window.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    auto* bar = new forms::WrappingMenuBar(window);
    window.setMenuBar(bar);
    QList<QAction*> menus;
    for (const char* caption : {"Aplikace", "Zobrazit", "Vlastnosti"}) {
        menus.append(bar->addMenu(QString::fromUtf8(caption))->menuAction());
        menus.last()->menu()->addAction(QStringLiteral("item"));
    }
    window.setCentralWidget(new QWidget);
    window.resize(235, 120);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QList<QMenuBar*> rows = bar->rows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0]->actions(), menus.mid(0, 2));
    QCOMPARE(rows[1]->actions(), menus.mid(2));
    QCOMPARE(bar->height(), 2 * rows[1]->height());
    QCOMPARE(window.centralWidget()->y(), bar->height());
    for (QMenuBar* row : rows) {
        for (QAction* menu : row->actions()) {
            QVERIFY2(row->rect().contains(row->actionGeometry(menu)), qPrintable(menu->text()));
        }
    }

    bar->setActiveAction(menus[1]);
    QTRY_VERIFY(menus[1]->menu()->isVisible());
    QTest::keyClick(menus[1]->menu(), Qt::Key_Right);
    QTRY_VERIFY(menus[2]->menu()->isVisible());
    QCOMPARE(rows[1]->activeAction(), menus[2]);
    QTest::keyClick(menus[2]->menu(), Qt::Key_Left);
    QTRY_VERIFY(menus[1]->menu()->isVisible());
    QVERIFY(!menus[2]->menu()->isVisible());
}

QTEST_MAIN(WrappingMenuBarTest)
#include "wrappingmenubar_test.moc"
