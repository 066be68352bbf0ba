// TextBox: every way into the entry, and the line edit that draws the part around the cursor.

#include "windows/forms/textbox.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <utility>

#include "windows/forms/textboxaccessible.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace forms {

namespace {

// Whether Left and Right end a selection at its edge (the X11 and macOS keyboard schemes) or
// move on from the cursor (the Windows scheme): asked once of a line edit, which knows the
// platform's scheme.
bool arrowsStopAtSelectionEdge() {
    static const bool stop = [] {
        QLineEdit probe(QStringLiteral("abc"));
        probe.setSelection(2, -2);  // "ab", the cursor at its start
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        probe.event(&right);
        return probe.cursorPosition() == 2;
    }();
    return stop;
}

void releaseFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);  // a freed entry of megabytes otherwise stays with the process
#endif
}

constexpr qsizetype kLargeEntry = 1 << 20;

}  // namespace

// ---- The control --------------------------------------------------------------------------

TextBox::TextBox(QWidget* parent) : QWidget(parent), view_(new QLineEdit(this)) {
    installTextBoxAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    setCursor(Qt::IBeamCursor);
    // The line edit draws; the text box takes the focus, the keys, the drops and the menu.
    view_->setFrame(false);
    view_->setFocusProxy(this);
    view_->setAcceptDrops(false);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->installEventFilter(this);
    setAppearance(appearance_);
    showBackground();
}

void TextBox::setText(const QString& text) {
    const bool large = entry_.text().size() >= kLargeEntry;
    showEdit(entry_.reset(text));
    if (large) {
        QMetaObject::invokeMethod(this, &releaseFreedMemory, Qt::QueuedConnection);
    }
}

void TextBox::clear() {
    setText(QString());
}

void TextBox::setAlignment(Qt::Alignment alignment) {
    view_->setAlignment(alignment);
}

void TextBox::setBackground(ColourCode code) {
    background_.setCode(code);
    showBackground();
}

// On the line edit too, whose own roles would otherwise come from a desktop theme's palette
// for line edits rather than from the text box.
void TextBox::showBackground() {
    background_.showOn(*this);
    background_.showOn(*view_);
}

void TextBox::setAppearance(Appearance appearance) {
    appearance_ = appearance;
    placeView();
    update();
}

void TextBox::placeView() {
    const int border = borderWidth(appearance_);
    view_->setGeometry(rect().adjusted(border, border, -border, -border));
}

// The line edit inside the border leaves its outermost pixels to what lies beneath.
void TextBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(QPalette::Base));
    drawBorder(painter, rect(), palette(), appearance_);
}

void TextBox::resizeEvent(QResizeEvent* event) {
    placeView();
    QWidget::resizeEvent(event);
}

// ---- The whole entry and the clipboards ----------------------------------------------------

void TextBox::showEdit(const EntryModel::Change& change) {
    if (change.isEmpty()) {
        showEntry();
        return;
    }
    announceEdit(this, change.at, change.removed, change.inserted);
    showEntry(true, change.at);
}

void TextBox::copy(QClipboard::Mode mode) const {
    if (entry_.hasSelection()) {
        QGuiApplication::clipboard()->setText(entry_.selectedText(), mode);
    }
}

void TextBox::cut() {
    copy();
    showEdit(entry_.removeSelection());
}

void TextBox::paste(QClipboard::Mode mode) {
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    if (!pasted.isEmpty() || entry_.hasSelection()) {
        showEdit(entry_.insert(pasted));
    }
}

// Where the desktop has a primary selection, a selection made in the box goes there whole.
void TextBox::offerSelection() const {
    if (QGuiApplication::clipboard()->supportsSelection()) {
        copy(QClipboard::Selection);
    }
}

// ---- Showing the part around the cursor -----------------------------------------------------

void TextBox::showEntry(bool textChanged, qsizetype editedAt) {
    const QString& entry = entry_.text();
    const qsizetype size = entry.size();
    const qsizetype cursor = entry_.cursor();
    const qsizetype length = std::min(size, kShownLimit);
    const qsizetype margin = kShownLimit / 4;
    qsizetype from = std::clamp(shownFrom_, qsizetype{0}, size - length);
    const bool stale = textChanged && editedAt < from;
    const bool nearStart = from > 0 && cursor < from + margin;
    const bool nearEnd = from + length < size && cursor > from + length - margin;
    if (stale || nearStart || nearEnd || cursor < from || cursor > from + length) {
        from = std::clamp(cursor - length / 2, qsizetype{0}, size - length);
    }
    if (textChanged || from != shownFrom_) {
        shownFrom_ = from;
        const QString shown = entry.mid(from, length);
        if (view_->text() != shown) {
            view_->setText(shown);
        }
    }
    // Only what differs: setting the line edit's cursor would end an input method's
    // composition.
    const auto shownAt = [from, length](qsizetype at) {
        return int(std::clamp(at, from, from + length) - from);
    };
    const int shownAnchor = shownAt(entry_.anchor());
    const int shownCursor = shownAt(cursor);
    const bool same = view_->cursorPosition() == shownCursor &&
                      (shownAnchor == shownCursor
                           ? !view_->hasSelectedText()
                           : view_->selectionStart() == std::min(shownAnchor, shownCursor) &&
                                 view_->selectionLength() == std::abs(shownCursor - shownAnchor));
    if (!same && shownAnchor == shownCursor) {
        view_->setCursorPosition(shownCursor);
    } else if (!same) {
        view_->setSelection(shownAnchor, shownCursor - shownAnchor);
    }
    updateMicroFocus();
    const qsizetype anchor = entry_.anchor();
    if (textChanged || cursor != announcedCursor_ || anchor != announcedAnchor_) {
        const bool selectionChanged = anchor != cursor || announcedAnchor_ != announcedCursor_;
        announcedCursor_ = cursor;
        announcedAnchor_ = anchor;
        announceCursor(this, anchor, cursor, selectionChanged);
    }
}

qsizetype TextBox::positionAt(QPoint point) const {
    return shownFrom_ + view_->cursorPositionAt(view_->mapFrom(this, point));
}

// ---- Entry points -------------------------------------------------------------------------

bool TextBox::handleStandardKey(QKeyEvent* event) {
    using Key = QKeySequence;
    const auto is = [event](Key::StandardKey key) { return event->matches(key); };
    EntryModel& entry = entry_;
    const qsizetype end = entry.text().size();
    const bool toEdge = entry.hasSelection() && arrowsStopAtSelectionEdge();
    if (is(Key::Undo)) {
        showEdit(entry.undo());
    } else if (is(Key::Redo)) {
        showEdit(entry.redo());
    } else if (is(Key::SelectAll)) {
        entry.select(0, end);
    } else if (is(Key::Copy)) {
        copy();
    } else if (is(Key::Paste)) {
        const bool selection = event->modifiers() == (Qt::CTRL | Qt::SHIFT) &&
                               event->key() == Qt::Key_Insert &&
                               QGuiApplication::clipboard()->supportsSelection();
        paste(selection ? QClipboard::Selection : QClipboard::Clipboard);
    } else if (is(Key::Cut)) {
        cut();
    } else if (is(Key::DeleteEndOfLine)) {
        entry.select(entry.cursor(), end);
        cut();
    } else if (is(Key::MoveToStartOfLine) || is(Key::MoveToStartOfBlock)) {
        entry.moveTo(0, false);
    } else if (is(Key::MoveToEndOfLine) || is(Key::MoveToEndOfBlock)) {
        entry.moveTo(end, false);
    } else if (is(Key::SelectStartOfLine) || is(Key::SelectStartOfBlock)) {
        entry.moveTo(0, true);
    } else if (is(Key::SelectEndOfLine) || is(Key::SelectEndOfBlock)) {
        entry.moveTo(end, true);
    } else if (is(Key::MoveToNextChar)) {
        entry.moveTo(toEdge ? entry.selectionEnd() : entry.nextCharacter(), false);
    } else if (is(Key::SelectNextChar)) {
        entry.moveTo(entry.nextCharacter(), true);
    } else if (is(Key::MoveToPreviousChar)) {
        entry.moveTo(toEdge ? entry.selectionStart() : entry.previousCharacter(), false);
    } else if (is(Key::SelectPreviousChar)) {
        entry.moveTo(entry.previousCharacter(), true);
    } else if (is(Key::MoveToNextWord) || is(Key::SelectNextWord)) {
        entry.moveTo(entry.nextWord(), is(Key::SelectNextWord));
    } else if (is(Key::MoveToPreviousWord) || is(Key::SelectPreviousWord)) {
        entry.moveTo(entry.previousWord(), is(Key::SelectPreviousWord));
    } else if (is(Key::Delete)) {
        showEdit(entry.deleteForward());
    } else if (is(Key::DeleteEndOfWord)) {
        entry.moveTo(entry.nextWord(), true);
        showEdit(entry.deleteForward());
    } else if (is(Key::DeleteStartOfWord) ||
               (event->key() == Qt::Key_Backspace && event->modifiers() & Qt::ControlModifier)) {
        entry.moveTo(entry.previousWord(), true);
        showEdit(entry.deleteForward());
    } else if (is(Key::DeleteCompleteLine)) {
        entry.select(0, end);
        cut();
    } else if (event->key() == Qt::Key_Backspace) {
        showEdit(entry.deleteBackward());
    } else {
        return false;
    }
    return true;
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const qsizetype anchor = entry_.anchor();
    const qsizetype cursor = entry_.cursor();
    if (!handleStandardKey(event)) {
        const QString typed = event->text();
        if (typed.isEmpty() || !typed.front().isPrint()) {
            event->ignore();  // Enter and Esc among them: they go on to the window
            return;
        }
        showEdit(entry_.insert(typed, true));
    }
    event->accept();
    showEntry();
    if (entry_.hasSelection() && (anchor != entry_.anchor() || cursor != entry_.cursor())) {
        offerSelection();
    }
}

// The line edit composes the input method's text in the part it holds; what it commits there
// goes into the entry. Input replaces a selection, all of it.
void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    const bool input = !event->commitString().isEmpty() || !event->preeditString().isEmpty() ||
                       event->replacementLength() > 0;
    if (input) {
        showEdit(entry_.removeSelection());
    }
    const QString before = view_->text();
    view_->event(event);
    const QString after = view_->text();
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < common && before[prefix] == after[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < common - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    // The model takes the line edit's text and cursor before the line edit is shown the
    // model again, so that nothing ends the composition.
    const qsizetype cursor = shownFrom_ + view_->cursorPosition();
    const EntryModel::Change change =
        entry_.replace(shownFrom_ + prefix, shownFrom_ + before.size() - suffix,
                       after.mid(prefix, after.size() - suffix - prefix), true);
    entry_.moveTo(cursor, false);
    showEdit(change);
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    const QVariant answer = view_->inputMethodQuery(query);
    if (answer.typeId() == QMetaType::QRect) {
        return answer.toRect().translated(view_->pos());
    }
    return answer;
}

// The line edit shows the cursor while the text box has the focus. Tabbing in selects the
// whole entry, and the focus going elsewhere than a menu or another window ends a selection,
// as in a line edit.
void TextBox::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::ShortcutFocusReason) &&
        !entry_.hasSelection()) {
        entry_.select(0, entry_.text().size());
    }
    view_->event(event);
    showEntry();
    QWidget::focusInEvent(event);
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        entry_.moveTo(entry_.cursor(), false);
    }
    view_->event(event);
    showEntry();
    QWidget::focusOutEvent(event);
}

bool TextBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        return view_->event(event);  // the keys a line edit keeps from the window's shortcuts
    }
    const bool handled = QWidget::event(event);
    if (isPaletteChange(*event)) {
        showBackground();
    }
    return handled;
}

bool TextBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && isPaletteChange(*event)) {
        background_.showOn(*view_);
    } else if (watched == view_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::MouseButtonRelease:
                handleMouse(static_cast<QMouseEvent*>(event));
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Clicks, drags, double and triple clicks on the line edit, as a line edit takes them, on the
// whole entry.
void TextBox::handleMouse(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const qsizetype at = shownFrom_ + view_->cursorPositionAt(point);
    const bool tripleClick =
        doubleClicked_.isValid() &&
        !doubleClicked_.hasExpired(QApplication::doubleClickInterval()) &&
        (point - doubleClickedAt_).manhattanLength() < QApplication::startDragDistance();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (event->button() == Qt::LeftButton && tripleClick) {
                doubleClicked_.invalidate();
                entry_.select(0, entry_.text().size());
            } else if (event->button() != Qt::RightButton) {
                entry_.moveTo(at, event->modifiers() & Qt::ShiftModifier);
            }
            break;
        case QEvent::MouseButtonDblClick:
            if (event->button() == Qt::LeftButton) {
                entry_.selectWordAt(at);
                doubleClicked_.start();
                doubleClickedAt_ = point;
            }
            break;
        case QEvent::MouseMove:
            if (event->buttons() & Qt::LeftButton) {
                entry_.moveTo(at, true);
            }
            break;
        default:  // release
            if (event->button() == Qt::MiddleButton &&
                QGuiApplication::clipboard()->supportsSelection()) {
                paste(QClipboard::Selection);
            } else if (event->button() == Qt::LeftButton) {
                offerSelection();
            }
            break;
    }
    showEntry();
    event->accept();
}

// The line edit's menu, acting on the whole entry.
void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [this, menu](const char* caption, QKeySequence::StandardKey key, bool enabled,
                                  std::function<void()> act) {
        QString text = QLineEdit::tr(caption);
        if (const QKeySequence keys(key); !keys.isEmpty()) {
            text += u'\t' + keys.toString(QKeySequence::NativeText);
        }
        menu->addAction(text, this, std::move(act))->setEnabled(enabled);
    };
    const bool selection = entry_.hasSelection();
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    add("&Undo", QKeySequence::Undo, entry_.canUndo(), [this] { showEdit(entry_.undo()); });
    add("&Redo", QKeySequence::Redo, entry_.canRedo(), [this] { showEdit(entry_.redo()); });
    menu->addSeparator();
    add("Cu&t", QKeySequence::Cut, selection, [this] { cut(); });
    add("&Copy", QKeySequence::Copy, selection, [this] { copy(); });
    add("&Paste", QKeySequence::Paste, clipboard && clipboard->hasText(), [this] { paste(); });
    add("Delete", QKeySequence::UnknownKey, selection,
        [this] { showEdit(entry_.removeSelection()); });
    menu->addSeparator();
    const bool whole = entry_.selectionEnd() - entry_.selectionStart() == entry_.text().size();
    add("Select All", QKeySequence::SelectAll, !whole, [this] {
        entry_.select(0, entry_.text().size());
        showEntry();
    });
    menu->popup(event->globalPos());
}

void TextBox::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasText()) {
        event->acceptProposedAction();
    }
}

// The cursor follows a drag of text over the box, as it shows where the text will go.
void TextBox::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    entry_.moveTo(positionAt(event->position().toPoint()), false);
    showEntry();
}

// A drop goes into the entry as a paste does.
void TextBox::dropEvent(QDropEvent* event) {
    const QString dropped = event->mimeData()->text();
    if (dropped.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    entry_.moveTo(positionAt(event->position().toPoint()), false);
    showEdit(entry_.insert(dropped));
}

}  // namespace forms
