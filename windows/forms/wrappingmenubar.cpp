// WrappingMenuBar: laying the menus out in rows and moving between the rows with the arrows.

#include "windows/forms/wrappingmenubar.h"

#include <QAction>
#include <QActionEvent>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace forms {

namespace {

// The style of a menu bar's further rows: the application's, except that pressing Alt leaves
// them alone (it brings the first row's menus to the keyboard, as in any menu bar).
class FurtherRowStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

}  // namespace

WrappingMenuBar::WrappingMenuBar(QMainWindow& window) : QMenuBar(&window) {
    installEventFilter(this);
}

QList<QMenuBar*> WrappingMenuBar::rows() const {
    QList<QMenuBar*> rows{const_cast<WrappingMenuBar*>(this)};
    rows.append(moreRows_);
    return rows;
}

int WrappingMenuBar::itemWidth(QAction* menu) const {
    QStyleOptionMenuItem option;
    initStyleOption(&option, menu);
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, menu->text());
    return style()->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, this).width();
}

// Lays the menus out as Qt's menu bar does (its margins, spacing and item sizes), breaking a
// row before the first menu that would end past the right margin.
QList<qsizetype> WrappingMenuBar::rowLengths(int width) const {
    const int margin = style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, this);
    const int spacing = style()->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, this);
    const int panel = style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this);
    const int first = panel + margin + spacing;
    QList<qsizetype> lengths{0};
    int x = first;
    for (QAction* menu : menus_) {
        const int item = menu->isVisible() ? itemWidth(menu) : 0;
        if (lengths.last() > 0 && item > 0 && x + item > width - margin) {
            lengths.append(0);
            x = first;
        }
        ++lengths.last();
        x += item > 0 ? item + spacing : 0;
    }
    return lengths;
}

int WrappingMenuBar::rowHeight() const {
    return QMenuBar::heightForWidth(width());
}

int WrappingMenuBar::heightForWidth(int width) const {
    return static_cast<int>(rowLengths(width).size()) * rowHeight();
}

QSize WrappingMenuBar::sizeHint() const {
    const QSize single = QMenuBar::sizeHint();
    return {single.width(), heightForWidth(width())};
}

// Gives each row the menus it holds at the bar's width, creating rows as they are needed.
// Until the bar is shown its width is not yet the window's.
void WrappingMenuBar::arrange() {
    if (arranging_ || !isVisible()) {
        return;
    }
    arranging_ = true;
    const QList<qsizetype> lengths = rowLengths(width());
    while (moreRows_.size() > lengths.size() - 1) {
        QMenuBar* row = moreRows_.takeLast();
        row->hide();
        row->deleteLater();  // the window may be going through its children
    }
    while (moreRows_.size() < lengths.size() - 1) {
        auto* row = new QMenuBar(parentWidget());
        auto* style = new FurtherRowStyle;
        style->setParent(row);
        row->setStyle(style);
        row->installEventFilter(this);
        row->show();
        moreRows_.append(row);
    }
    const QList<QMenuBar*> bars = rows();
    qsizetype next = 0;
    for (qsizetype index = 0; index < bars.size(); ++index) {
        const QList<QAction*> wanted = menus_.mid(next, lengths[index]);
        next += lengths[index];
        if (bars[index]->actions() != wanted) {
            for (QAction* action : bars[index]->actions()) {
                bars[index]->removeAction(action);
            }
            bars[index]->addActions(wanted);
        }
    }
    arranging_ = false;
    placeRows();
    updateGeometry();
}

void WrappingMenuBar::placeRows() {
    const int height = rowHeight();
    for (qsizetype index = 0; index < moreRows_.size(); ++index) {
        const QPoint at = pos() + QPoint(0, static_cast<int>(index + 1) * height);
        moreRows_[index]->setGeometry(QRect(at, QSize(width(), height)));
        moreRows_[index]->raise();
    }
}

void WrappingMenuBar::actionEvent(QActionEvent* event) {
    QMenuBar::actionEvent(event);
    if (arranging_) {
        return;
    }
    if (event->type() == QEvent::ActionAdded) {
        const qsizetype before = menus_.indexOf(event->before());
        menus_.insert(before < 0 ? menus_.size() : before, event->action());
    } else if (event->type() == QEvent::ActionRemoved) {
        menus_.removeAll(event->action());
        for (QMenuBar* row : moreRows_) {
            row->removeAction(event->action());
        }
    }
    arrange();
}

void WrappingMenuBar::changeEvent(QEvent* event) {
    QMenuBar::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        arrange();
    }
}

void WrappingMenuBar::resizeEvent(QResizeEvent* event) {
    QMenuBar::resizeEvent(event);
    arrange();
}

void WrappingMenuBar::showEvent(QShowEvent* event) {
    QMenuBar::showEvent(event);
    arrange();
}

void WrappingMenuBar::moveEvent(QMoveEvent* event) {
    QMenuBar::moveEvent(event);
    placeRows();
}

// Left on a row's first menu and Right on its last go on to the row before or after.
bool WrappingMenuBar::eventFilter(QObject* watched, QEvent* event) {
    auto* bar = qobject_cast<QMenuBar*>(watched);
    if (!bar || event->type() != QEvent::KeyPress || rows().size() < 2) {
        return QMenuBar::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    const QList<QAction*> own = bar->actions();
    QAction* active = bar->activeAction();
    const bool onward = key == Qt::Key_Right && active == own.value(own.size() - 1);
    const bool back = key == Qt::Key_Left && active == own.value(0);
    if (!active || (!onward && !back)) {
        return QMenuBar::eventFilter(watched, event);
    }
    const qsizetype count = menus_.size();
    QAction* target = menus_[(menus_.indexOf(active) + (onward ? 1 : count - 1)) % count];
    for (QMenuBar* row : rows()) {
        if (row->actions().contains(target)) {
            bar->setActiveAction(nullptr);
            row->setActiveAction(target);
        }
    }
    return true;
}

}  // namespace forms
