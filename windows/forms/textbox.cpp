// TextBox: the border, and the whole entry kept around the part the line edit holds.

#include "windows/forms/textbox.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <limits>
#include <utility>

namespace forms {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);  // the border is drawn by paintEvent
    setAppearance(appearance_);
    setMaxLength(std::numeric_limits<int>::max());  // the line edit's own limit is 32767
    connect(this, &QLineEdit::cursorPositionChanged, this, &TextBox::scheduleRecentre);
    connect(this, &QLineEdit::textChanged, this, &TextBox::scheduleRecentre);
}

void TextBox::setAppearance(Appearance appearance) {
    appearance_ = appearance;
    const int width = borderWidth(appearance);
    setTextMargins(width, width, width, width);
    update();
}

void TextBox::setBackground(ColourCode code) {
    background_.setCode(code);
    background_.showOn(*this);
}

bool TextBox::event(QEvent* event) {
    const bool handled = QLineEdit::event(event);
    if (isPaletteChange(*event)) {
        background_.showOn(*this);
    }
    return handled;
}

void TextBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    drawBorder(painter, rect(), palette(), appearance_);
}

namespace {

// How near an end of the held part the cursor may come before the part moves along.
constexpr qsizetype kRecentreMargin = TextBox::kShownLimit / 4;

QString onlyIf(bool wanted, const QString& text) {
    return wanted ? text : QString();
}

}  // namespace

QString TextBox::text() const {
    const QString held = QLineEdit::text();
    if (before_.isEmpty() && after_.isEmpty()) {
        return held;
    }
    QString entry;
    entry.reserve(before_.size() + held.size() + after_.size());
    return entry.append(before_).append(held).append(after_);
}

void TextBox::setText(const QString& text) {
    holdAround(text, text.size());
}

void TextBox::clear() {
    if (before_.isEmpty() && after_.isEmpty()) {
        QLineEdit::clear();  // undoable, as the line edit's own clearing is
    } else {
        holdAround(QString(), 0);
    }
}

void TextBox::holdAround(QString entry, qsizetype cursor) {
    const qsizetype length = std::min(entry.size(), kShownLimit);
    const qsizetype start = std::clamp(cursor - length / 2, qsizetype{0}, entry.size() - length);
    after_ = entry.mid(start + length);
    const QString held = entry.mid(start, length);
    entry.truncate(start);  // keeps the buffer: no copy of a long beginning
    before_ = std::move(entry);
    QLineEdit::setText(held);
    setCursorPosition(static_cast<int>(cursor - start));
}

// Runs once the current event is done, so that the line edit is not changed from inside its
// own signals.
void TextBox::scheduleRecentre() {
    if (!recentrePending_) {
        recentrePending_ = true;
        QMetaObject::invokeMethod(this, &TextBox::recentre, Qt::QueuedConnection);
    }
}

// Moves the held part along when the cursor has come near one of its ends, or when something
// put more than the limit into the line edit directly. A selection stays as it is.
void TextBox::recentre() {
    recentrePending_ = false;
    if (hasSelectedText()) {
        return;
    }
    const qsizetype held = QLineEdit::text().size();
    const qsizetype cursor = cursorPosition();
    if (held > kShownLimit || (cursor < kRecentreMargin && !before_.isEmpty()) ||
        (held - cursor < kRecentreMargin && !after_.isEmpty())) {
        holdAround(text(), before_.size() + cursor);
    }
}

TextBox::SelectionReach TextBox::selectionReach() const {
    if (!hasSelectedText()) {
        return {};
    }
    return {selectionStart() == 0 && !before_.isEmpty(),
            selectionEnd() == QLineEdit::text().size() && !after_.isEmpty()};
}

QString TextBox::selectedEntryText() const {
    const SelectionReach reach = selectionReach();
    return onlyIf(reach.start, before_) + selectedText() + onlyIf(reach.end, after_);
}

// Lets the line edit make an edit to the part it holds. If the edit replaced a selection that
// goes on into text kept aside, that text goes as well; the line edit's undo history, which
// knows only the held part, then starts afresh.
template <typename Edit>
void TextBox::editHeldPart(Edit edit) {
    const SelectionReach reach = selectionReach();
    const QString held = QLineEdit::text();
    edit();
    if ((!reach.start && !reach.end) || QLineEdit::text() == held) {
        return;
    }
    if (reach.start) {
        before_.clear();
    }
    if (reach.end) {
        after_.clear();
    }
    const int cursor = cursorPosition();
    QLineEdit::setText(QLineEdit::text());
    setCursorPosition(cursor);
}

// A paste that fits the held part is the line edit's own (and undoable); a larger one, or one
// over a selection that goes on into text kept aside, is made in the whole entry.
void TextBox::pasteFrom(QClipboard::Mode mode) {
    QString pasted = QGuiApplication::clipboard()->text(mode);
    if (pasted.isEmpty() && !hasSelectedText()) {
        return;
    }
    const SelectionReach reach = selectionReach();
    const qsizetype held = QLineEdit::text().size() - selectedText().size() + pasted.size();
    if (!reach.start && !reach.end && held <= kShownLimit) {
        insert(pasted);
        return;
    }
    QString entry = text();
    const qsizetype cursor = before_.size() + cursorPosition();
    const qsizetype from = !hasSelectedText() ? cursor
                           : reach.start      ? 0
                                              : before_.size() + selectionStart();
    const qsizetype to = !hasSelectedText() ? cursor
                         : reach.end        ? entry.size()
                                            : before_.size() + selectionEnd();
    const qsizetype cursorAfter = from + pasted.size();
    if (from == 0 && to == entry.size()) {
        entry = std::move(pasted);  // takes the pasted text over instead of copying it
    } else {
        entry.replace(from, to - from, pasted);
    }
    holdAround(std::move(entry), cursorAfter);
}

void TextBox::copyEntrySelection() {
    if (hasSelectedText()) {
        QGuiApplication::clipboard()->setText(selectedEntryText());
    }
}

void TextBox::cutEntrySelection() {
    if (!isReadOnly() && hasSelectedText()) {
        copyEntrySelection();
        editHeldPart([this] { del(); });
    }
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const auto is = [event](QKeySequence::StandardKey key) { return event->matches(key); };
    if (is(QKeySequence::Paste) && !isReadOnly()) {
        const bool selection = event->modifiers() == (Qt::CTRL | Qt::SHIFT) &&
                               event->key() == Qt::Key_Insert &&
                               QGuiApplication::clipboard()->supportsSelection();
        pasteFrom(selection ? QClipboard::Selection : QClipboard::Clipboard);
    } else if (is(QKeySequence::Copy)) {
        copyEntrySelection();
    } else if (is(QKeySequence::Cut)) {
        cutEntrySelection();
    } else if ((is(QKeySequence::MoveToStartOfLine) || is(QKeySequence::MoveToStartOfBlock)) &&
               !before_.isEmpty()) {
        holdAround(text(), 0);
    } else if ((is(QKeySequence::MoveToEndOfLine) || is(QKeySequence::MoveToEndOfBlock)) &&
               !after_.isEmpty()) {
        QString entry = text();
        const qsizetype end = entry.size();
        holdAround(std::move(entry), end);
    } else if (is(QKeySequence::Undo) || is(QKeySequence::Redo)) {
        QLineEdit::keyPressEvent(event);  // works on the held part only
        return;
    } else {
        editHeldPart([this, event] { QLineEdit::keyPressEvent(event); });
        return;
    }
    event->accept();
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    editHeldPart([this, event] { QLineEdit::inputMethodEvent(event); });
}

// The middle button pastes the selection where the desktop has one, as the line edit does.
void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteFrom(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// The line edit's own menu, with cutting, copying, pasting and deleting done as the keys do.
void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::pair<QString, std::function<void()>> reroutes[] = {
        {QLineEdit::tr("Cu&t"), [this] { cutEntrySelection(); }},
        {QLineEdit::tr("&Copy"), [this] { copyEntrySelection(); }},
        {QLineEdit::tr("&Paste"), [this] { pasteFrom(QClipboard::Clipboard); }},
        {QLineEdit::tr("Delete"), [this] { editHeldPart([this] { del(); }); }},
    };
    for (QAction* action : menu->actions()) {
        const QString caption = action->text().section(u'\t', 0, 0);
        for (const auto& [name, handler] : reroutes) {
            if (caption == name) {
                action->disconnect();
                connect(action, &QAction::triggered, this, handler);
            }
        }
    }
    menu->popup(event->globalPos());
}

}  // namespace forms
