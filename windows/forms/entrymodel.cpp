// EntryModel: editing, undoing and moving through an entry of any length.

#include "windows/forms/entrymodel.h"

#include <QTextLayout>

#include <utility>

namespace forms {

namespace {

// How much of the entry around a position is laid out to find the next character or word
// boundary; the stretch doubles while the boundary found is its end rather than the entry's.
constexpr qsizetype kBoundarySpan = 256;
constexpr qsizetype kBoundaryContext = 16;  // around the position, for clusters across it

qsizetype nextPosition(const QString& text, qsizetype position, QTextLayout::CursorMode mode) {
    const qsizetype from = std::max(qsizetype{0}, position - kBoundaryContext);
    for (qsizetype span = kBoundarySpan;; span *= 2) {
        const qsizetype to = std::min(text.size(), position + span);
        const QTextLayout layout(text.mid(from, to - from));
        const qsizetype next = from + layout.nextCursorPosition(int(position - from), mode);
        if (next < to || to == text.size()) {
            return next;
        }
    }
}

qsizetype previousPosition(const QString& text, qsizetype position, QTextLayout::CursorMode mode) {
    const qsizetype to = std::min(text.size(), position + kBoundaryContext);
    for (qsizetype span = kBoundarySpan;; span *= 2) {
        const qsizetype from = std::max(qsizetype{0}, position - span);
        const QTextLayout layout(text.mid(from, to - from));
        const qsizetype previous = from + layout.previousCursorPosition(int(position - from), mode);
        if (previous > from || from == 0) {
            return previous;
        }
    }
}

// Puts a change into the text; one that replaces all of it shares the new text rather than
// copying it.
void apply(QString& text, qsizetype at, qsizetype length, const QString& with) {
    if (at == 0 && length == text.size()) {
        text = with;
    } else {
        text.replace(at, length, with);
    }
}

}  // namespace

QString EntryModel::selectedText() const {
    return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

EntryModel::Change EntryModel::reset(const QString& text) {
    Change change{0, std::exchange(text_, text), text};
    undo_.clear();
    redo_.clear();
    typing_ = false;
    cursor_ = anchor_ = text_.size();
    return change;
}

EntryModel::Change EntryModel::replace(qsizetype from, qsizetype to, const QString& with,
                                       bool typing) {
    from = std::clamp(from, qsizetype{0}, text_.size());
    to = std::clamp(to, from, text_.size());
    Change change{from, text_.mid(from, to - from), with};
    if (change.isEmpty()) {
        return change;
    }
    const bool joins = typing && typing_ && change.removed.isEmpty() && !undo_.empty() &&
                       undo_.back().change.at + undo_.back().change.inserted.size() == from;
    if (joins) {
        undo_.back().change.inserted += with;
    } else {
        undo_.push_back({change, cursor_, anchor_});
    }
    redo_.clear();
    apply(text_, from, to - from, with);
    cursor_ = anchor_ = from + with.size();
    typing_ = typing;
    return change;
}

EntryModel::Change EntryModel::insert(const QString& text, bool typing) {
    return replace(selectionStart(), selectionEnd(), text, typing);
}

EntryModel::Change EntryModel::removeSelection() {
    return replace(selectionStart(), selectionEnd(), QString());
}

EntryModel::Change EntryModel::deleteForward() {
    return hasSelection() ? removeSelection() : replace(cursor_, nextCharacter(), QString());
}

// Backspace takes one character, both halves of a surrogate pair together.
EntryModel::Change EntryModel::deleteBackward() {
    if (hasSelection() || cursor_ == 0) {
        return removeSelection();
    }
    const bool pair =
        cursor_ > 1 && text_[cursor_ - 1].isLowSurrogate() && text_[cursor_ - 2].isHighSurrogate();
    return replace(cursor_ - (pair ? 2 : 1), cursor_, QString());
}

EntryModel::Change EntryModel::undo() {
    if (undo_.empty()) {
        return {};
    }
    Edit edit = std::move(undo_.back());
    undo_.pop_back();
    const Change& done = edit.change;
    apply(text_, done.at, done.inserted.size(), done.removed);
    cursor_ = edit.cursorBefore;
    anchor_ = edit.anchorBefore;
    typing_ = false;
    redo_.push_back(std::move(edit));
    const Change& undone = redo_.back().change;
    return {undone.at, undone.inserted, undone.removed};
}

EntryModel::Change EntryModel::redo() {
    if (redo_.empty()) {
        return {};
    }
    Edit edit = std::move(redo_.back());
    redo_.pop_back();
    const Change& change = edit.change;
    apply(text_, change.at, change.removed.size(), change.inserted);
    cursor_ = anchor_ = change.at + change.inserted.size();
    typing_ = false;
    undo_.push_back(std::move(edit));
    return undo_.back().change;
}

void EntryModel::moveTo(qsizetype position, bool extendSelection) {
    cursor_ = std::clamp(position, qsizetype{0}, text_.size());
    if (!extendSelection) {
        anchor_ = cursor_;
    }
    typing_ = false;
}

void EntryModel::select(qsizetype anchor, qsizetype cursor) {
    anchor_ = std::clamp(anchor, qsizetype{0}, text_.size());
    moveTo(cursor, true);
}

// From the start of the word at the position to its end, without the blanks after it.
void EntryModel::selectWordAt(qsizetype position) {
    const qsizetype start =
        previousPosition(text_, std::min(position + 1, text_.size()), QTextLayout::SkipWords);
    qsizetype end = nextPosition(text_, start, QTextLayout::SkipWords);
    while (end > position && end > start && text_[end - 1].isSpace()) {
        --end;
    }
    select(start, end);
}

qsizetype EntryModel::nextCharacter() const {
    return nextPosition(text_, cursor_, QTextLayout::SkipCharacters);
}

qsizetype EntryModel::previousCharacter() const {
    return previousPosition(text_, cursor_, QTextLayout::SkipCharacters);
}

qsizetype EntryModel::nextWord() const {
    return nextPosition(text_, cursor_, QTextLayout::SkipWords);
}

qsizetype EntryModel::previousWord() const {
    return previousPosition(text_, cursor_, QTextLayout::SkipWords);
}

}  // namespace forms
