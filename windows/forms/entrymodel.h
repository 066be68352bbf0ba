#pragma once

// EntryModel: a one-line entry of any length being edited, with its cursor, its selection and
// its undo history, moving and editing as Qt's line edit does.

#include <QString>

#include <algorithm>
#include <vector>

namespace forms {

// The text box's entry. Moving by characters and words follows the line edit's own rules
// (Qt's text layout), asked of a stretch of the entry around the cursor, so that a move costs
// what the characters it passes cost, never the whole of a long entry. Every edit is one undo
// step, except that characters typed one after another make one step together.
class EntryModel {
public:
    // What an edit did: the text removed at a position and the text put there.
    struct Change {
        qsizetype at = 0;
        QString removed;
        QString inserted;

        bool isEmpty() const { return removed.isEmpty() && inserted.isEmpty(); }
    };

    const QString& text() const { return text_; }
    qsizetype cursor() const { return cursor_; }
    qsizetype anchor() const { return anchor_; }  // the selection's other end
    bool hasSelection() const { return anchor_ != cursor_; }
    qsizetype selectionStart() const { return std::min(anchor_, cursor_); }
    qsizetype selectionEnd() const { return std::max(anchor_, cursor_); }
    QString selectedText() const;
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

    // A new text with the cursor at its end and no history.
    Change reset(const QString& text);

    // Edits; typing: the text was typed, and joins the undo step of text typed just before.
    Change replace(qsizetype from, qsizetype to, const QString& with, bool typing = false);
    Change insert(const QString& text, bool typing = false);  // over the selection
    Change removeSelection();
    Change deleteForward();   // the selection, or the character after the cursor
    Change deleteBackward();  // the selection, or the character (code point) before it
    Change undo();
    Change redo();

    void moveTo(qsizetype position, bool extendSelection);
    void select(qsizetype anchor, qsizetype cursor);
    void selectWordAt(qsizetype position);  // as a double click selects it

    // Where the cursor goes one character or word on or back.
    qsizetype nextCharacter() const;
    qsizetype previousCharacter() const;
    qsizetype nextWord() const;
    qsizetype previousWord() const;

private:
    // One undo step, with the cursor and selection it was made from.
    struct Edit {
        Change change;
        qsizetype cursorBefore;
        qsizetype anchorBefore;
    };

    QString text_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    std::vector<Edit> undo_;
    std::vector<Edit> redo_;
    bool typing_ = false;  // whether the last edit was typed and nothing moved since
};

}  // namespace forms
