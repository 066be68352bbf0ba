#pragma once

// TextBox: the forms' entry box, a line edit with its own border that takes an entry of any
// length.

#include <QClipboard>
#include <QLineEdit>
#include <QString>

#include "windows/forms/appearance.h"
#include "windows/forms/colours.h"

namespace forms {

// The forms' text box: a line edit that draws the border of its appearance itself and takes
// an entry of any length.
//
// Qt's line edit lays out and shapes its whole text on every change and every paint, keeps one
// undo step for each character typed or pasted, and hands its whole text to the accessibility
// bus: a paste of megabytes stops the window for many seconds. So the line edit itself holds
// only the part of the entry around the cursor, at most kShownLimit characters, far more than
// the box can show; the text box keeps the text before and after that part aside and moves
// the part along when the cursor nears its ends. An entry that fits the limit is an ordinary
// line edit. The text box's own text(), setText() and clear() hide the line edit's and work
// on the whole entry; what reaches the line edit's interface (and the accessibility bus)
// works on the part it holds. Pasting, copying, cutting, Home and End, and a selection that
// runs to an end of the part (select all, Shift+Home) act on the whole entry. An edit that
// reaches into the text kept aside, and moving the part, start the undo history afresh.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    static constexpr qsizetype kShownLimit = 65536;

    explicit TextBox(QWidget* parent = nullptr);

    Appearance appearance() const { return appearance_; }
    void setAppearance(Appearance appearance);

    ColourCode background() const { return background_.code(); }
    void setBackground(ColourCode code);

    // The whole entry.
    QString text() const;
    void setText(const QString& text);
    void clear();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Whether the line edit's selection runs to its first or last character while text is
    // kept aside on that side: the selection then goes on through that text.
    struct SelectionReach {
        bool start = false;
        bool end = false;
    };
    SelectionReach selectionReach() const;
    QString selectedEntryText() const;

    template <typename Edit>
    void editHeldPart(Edit edit);
    void pasteFrom(QClipboard::Mode mode);
    void copyEntrySelection();
    void cutEntrySelection();
    // Puts the part of the entry around the cursor into the line edit and the rest aside.
    void holdAround(QString entry, qsizetype cursor);
    void scheduleRecentre();
    void recentre();

    Appearance appearance_ = Appearance::Sunken3D;
    ControlColour background_{colour::windowBackground, kTextBoxRoles};
    QString before_;  // the entry's text before the part the line edit holds
    QString after_;   // and after it
    bool recentrePending_ = false;
};

}  // namespace forms
