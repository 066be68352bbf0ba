#pragma once

// WrappingMenuBar: a window's menu bar that goes on in further rows when its menus do not fit.

#include <QList>
#include <QMainWindow>
#include <QMenuBar>

namespace forms {

// A window's menu bar that wraps: the menus that do not fit the window's width go on in rows
// below, as the classic platform lays out a menu bar, rather than behind the "»" button of
// Qt's. The bar is as tall as its rows, so a window that places its client area below it
// grows above that area. Each further row is a menu bar of its own beside this one, where a
// screen reader finds its menus; Left and Right go on from the end of one row to the next.
class WrappingMenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit WrappingMenuBar(QMainWindow& window);

    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    // The bar itself and then each further row.
    QList<QMenuBar*> rows() const;

protected:
    void actionEvent(QActionEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // How many menus each row holds at the given width: as many as fit, at least one.
    QList<qsizetype> rowLengths(int width) const;
    int itemWidth(QAction* menu) const;
    int rowHeight() const;
    void arrange();
    void placeRows();

    QList<QAction*> menus_;  // every menu of the bar, in order
    QList<QMenuBar*> moreRows_;
    bool arranging_ = false;
};

}  // namespace forms
