#pragma once

// TextBox: the forms' entry box, which takes an entry of any length and loses none of it.

#include <QClipboard>
#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "windows/forms/appearance.h"
#include "windows/forms/colours.h"
#include "windows/forms/entrymodel.h"

class QLineEdit;

namespace forms {

class TextBoxAccessible;

// The forms' text box: an entry of any length, a background colour code and a border
// appearance.
//
// Qt's line edit lays out and shapes its whole text on every change and every paint, keeps one
// undo step for each character typed or pasted, and hands its whole text to the accessibility
// bus: a paste of megabytes stops the window for seconds. So the text box keeps the entry, its
// cursor, its selection and its undo history in an EntryModel, and a line edit that it owns
// privately only draws the part of the entry around the cursor (at most kShownLimit characters,
// far more than the box shows). Every way into the entry (keys, input methods, mouse, drops, the
// context menu, the clipboards and the accessibility bus) goes through the text box, which
// edits the whole entry; the line edit is never edited by anything but the text box.
class TextBox : public QWidget {
    Q_OBJECT
public:
    static constexpr qsizetype kShownLimit = 4096;

    explicit TextBox(QWidget* parent = nullptr);

    // The whole entry.
    QString text() const { return entry_.text(); }
    // A new entry from the program: the cursor at its end and the undo history started afresh
    // (so that clearing a huge entry gives its memory back).
    void setText(const QString& text);
    void clear();

    void setAlignment(Qt::Alignment alignment);

    // The background colour code, resolved against the application palette now and whenever
    // that palette changes.
    void setBackground(ColourCode code);
    ColourCode background() const { return background_.code(); }
    void setAppearance(Appearance appearance);
    Appearance appearance() const { return appearance_; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class TextBoxAccessible;

    // Each change to the entry goes on to the line edit and the accessibility bus.
    void showEdit(const EntryModel::Change& change);
    void copy(QClipboard::Mode mode = QClipboard::Clipboard) const;
    void cut();
    void paste(QClipboard::Mode mode = QClipboard::Clipboard);
    void offerSelection() const;  // the selection to the desktop's primary selection

    bool handleStandardKey(QKeyEvent* event);
    void handleMouse(QMouseEvent* event);
    qsizetype positionAt(QPoint point) const;  // in the text box's coordinates

    // Puts the part of the entry around the cursor into the line edit, with the cursor and the
    // part of the selection it holds, and tells the accessibility bus where the cursor is.
    void showEntry(bool textChanged = false, qsizetype editedAt = 0);
    void showBackground();
    void placeView();

    QLineEdit* view_;
    EntryModel entry_;
    qsizetype shownFrom_ = 0;         // where the line edit's text starts in the entry
    qsizetype announcedCursor_ = -1;  // the cursor and anchor the accessibility bus was told of
    qsizetype announcedAnchor_ = -1;
    ControlColour background_{colour::windowBackground, kTextBoxRoles};
    Appearance appearance_ = Appearance::Sunken3D;
    QElapsedTimer doubleClicked_;  // a third click soon after a double click selects all
    QPoint doubleClickedAt_;
};

}  // namespace forms
