// TextBox: the whole entry with its cursor, selection and undo history, every way into it, and
// the line edit that draws the part around the cursor.

#include "windows/forms/textbox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <functional>
#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace forms {

namespace {

// ---- Moving by characters and words ---------------------------------------------------------

// How much of the entry around a position is laid out to find the next character or word
// boundary; the stretch doubles while the boundary found is its end rather than the entry's.
constexpr qsizetype kBoundarySpan = 256;
constexpr qsizetype kBoundaryContext = 16;  // around the position, for clusters across it

// Where the line edit's cursor goes from position, one character or word on: Qt's own rules,
// asked of a stretch of the entry, never of megabytes when a few characters decide.
qsizetype nextPosition(const QString& entry, qsizetype position, QTextLayout::CursorMode mode) {
    const qsizetype from = std::max(qsizetype{0}, position - kBoundaryContext);
    for (qsizetype span = kBoundarySpan;; span *= 2) {
        const qsizetype to = std::min(entry.size(), position + span);
        const QTextLayout layout(entry.mid(from, to - from));
        const qsizetype next = from + layout.nextCursorPosition(int(position - from), mode);
        if (next < to || to == entry.size()) {
            return next;
        }
    }
}

qsizetype previousPosition(const QString& entry, qsizetype position, QTextLayout::CursorMode mode) {
    const qsizetype to = std::min(entry.size(), position + kBoundaryContext);
    for (qsizetype span = kBoundarySpan;; span *= 2) {
        const qsizetype from = std::max(qsizetype{0}, position - span);
        const QTextLayout layout(entry.mid(from, to - from));
        const qsizetype previous = from + layout.previousCursorPosition(int(position - from), mode);
        if (previous > from || from == 0) {
            return previous;
        }
    }
}

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

// ---- What the accessibility bus sees: the whole entry ---------------------------------------

class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(TextBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? box().entry_ : QAccessibleWidget::text(kind);
    }

    // The line edit that draws the entry is the text box's own business, not a child.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    // Text
    void selection(int index, int* start, int* end) const override {
        const bool any = index == 0 && box().hasSelection();
        *start = any ? int(box().selectionStart()) : 0;
        *end = any ? int(box().selectionEnd()) : 0;
    }
    int selectionCount() const override { return box().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { box().moveTo(box().cursor_, false); }
    void setSelection(int, int start, int end) override { box().select(start, end); }
    int cursorPosition() const override { return int(box().cursor_); }
    void setCursorPosition(int position) override { box().moveTo(position, false); }
    QString text(int start, int end) const override { return box().entry_.mid(start, end - start); }
    int characterCount() const override { return int(box().entry_.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint& point) const override {
        return int(box().positionAt(box().mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int end) override {
        box().moveTo(end, false);
        box().moveTo(start, false);
    }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Editable text
    void deleteText(int start, int end) override { box().replace(start, end, QString()); }
    void insertText(int at, const QString& text) override { box().replace(at, at, text); }
    void replaceText(int start, int end, const QString& text) override {
        box().replace(start, end, text);
    }

private:
    TextBox& box() const { return *static_cast<TextBox*>(widget()); }
};

namespace {

// The text box answers for itself; its line edit shows nothing of its own to the bus (nor the
// part of the entry it holds).
QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    if (auto* box = qobject_cast<TextBox*>(object);
        box && className == QLatin1String(TextBox::staticMetaObject.className())) {
        return new TextBoxAccessible(box);
    }
    auto* view = qobject_cast<QLineEdit*>(object);
    if (view && qobject_cast<TextBox*>(view->parent())) {
        return new QAccessibleWidget(view, QAccessible::NoRole);
    }
    return nullptr;
}

void announceEdit(QObject* box, qsizetype at, const QString& removed, const QString& inserted) {
    if (!QAccessible::isActive()) {
        return;
    }
    if (removed.isEmpty()) {
        QAccessibleTextInsertEvent event(box, int(at), inserted);
        QAccessible::updateAccessibility(&event);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(box, int(at), removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(box, int(at), removed, inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void announceCursor(QObject* box, qsizetype anchor, qsizetype cursor) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTextSelectionEvent selection(box, int(std::min(anchor, cursor)),
                                            int(std::max(anchor, cursor)));
    selection.setCursorPosition(int(cursor));
    QAccessible::updateAccessibility(&selection);
    QAccessibleTextCursorEvent moved(box, int(cursor));
    QAccessible::updateAccessibility(&moved);
}

}  // namespace

// ---- The control --------------------------------------------------------------------------

TextBox::TextBox(QWidget* parent) : QWidget(parent), view_(new QLineEdit(this)) {
    static const bool accessible = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessible);
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
    restart(text);
}

void TextBox::clear() {
    restart(QString());
}

void TextBox::restart(const QString& text) {
    const bool large = entry_.size() >= kLargeEntry;
    const QString old = std::exchange(entry_, text);
    undo_.clear();
    redo_.clear();
    typing_ = false;
    cursor_ = anchor_ = entry_.size();
    announceEdit(this, 0, old, entry_);
    showEntry(true);
    if (large) {
        QMetaObject::invokeMethod(this, &releaseFreedMemory, Qt::QueuedConnection);
    }
}

void TextBox::setAlignment(Qt::Alignment alignment) {
    view_->setAlignment(alignment);
}

void TextBox::setBackground(ColourCode code) {
    background_ = code;
    showBackground();
}

void TextBox::setAppearance(Appearance appearance) {
    appearance_ = appearance;
    placeView();
    update();
}

void TextBox::showBackground() {
    const ResolvedColour colour = resolveColour(background_, QApplication::palette());
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour.background);
    colours.setColor(QPalette::Text, colour.foreground);
    setPalette(colours);
}

void TextBox::placeView() {
    const int border = borderWidth(appearance_);
    view_->setGeometry(rect().adjusted(border, border, -border, -border));
}

// A palette change reaches a widget as PaletteChange only where the colours it shows change,
// and the application's as ApplicationPaletteChange (which changeEvent does not get).
void TextBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        showBackground();
    }
    QWidget::changeEvent(event);
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

// ---- The whole entry ----------------------------------------------------------------------

QString TextBox::selectedText() const {
    return entry_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void TextBox::replace(qsizetype from, qsizetype to, const QString& with, EditKind kind) {
    from = std::clamp(from, qsizetype{0}, entry_.size());
    to = std::clamp(to, from, entry_.size());
    QString removed = entry_.mid(from, to - from);
    if (removed.isEmpty() && with.isEmpty()) {
        return;
    }
    const bool joins = kind == EditKind::Typing && typing_ && removed.isEmpty() && !undo_.empty() &&
                       undo_.back().at + undo_.back().inserted.size() == from;
    if (joins) {
        undo_.back().inserted += with;
    } else {
        undo_.push_back({from, removed, with, cursor_, anchor_});
    }
    redo_.clear();
    if (from == 0 && to == entry_.size()) {
        entry_ = with;  // shares the text rather than copying it
    } else {
        entry_.replace(from, to - from, with);
    }
    cursor_ = anchor_ = from + with.size();
    typing_ = kind == EditKind::Typing;
    announceEdit(this, from, removed, with);
    showEntry(true, from);
}

void TextBox::insert(const QString& text, EditKind kind) {
    replace(selectionStart(), selectionEnd(), text, kind);
}

void TextBox::removeSelection() {
    if (hasSelection()) {
        replace(selectionStart(), selectionEnd(), QString());
    }
}

void TextBox::moveTo(qsizetype position, bool extendSelection) {
    cursor_ = std::clamp(position, qsizetype{0}, entry_.size());
    if (!extendSelection) {
        anchor_ = cursor_;
    }
    typing_ = false;
    showEntry(false);
}

void TextBox::select(qsizetype anchor, qsizetype cursor) {
    anchor_ = std::clamp(anchor, qsizetype{0}, entry_.size());
    moveTo(cursor, true);
}

// A double click's word: from the start of the word at the position to its end, without the
// blanks after it, as the line edit selects it.
void TextBox::selectWordAt(qsizetype position) {
    const qsizetype start =
        previousPosition(entry_, std::min(position + 1, entry_.size()), QTextLayout::SkipWords);
    qsizetype end = nextPosition(entry_, start, QTextLayout::SkipWords);
    while (end > position && end > start && entry_[end - 1].isSpace()) {
        --end;
    }
    select(start, end);
}

void TextBox::deleteForward() {
    if (hasSelection()) {
        removeSelection();
    } else {
        replace(cursor_, nextPosition(entry_, cursor_, QTextLayout::SkipCharacters), QString());
    }
}

// Backspace takes one character, both halves of a surrogate pair together.
void TextBox::deleteBackward() {
    if (hasSelection()) {
        removeSelection();
    } else if (cursor_ > 0) {
        const bool pair = cursor_ > 1 && entry_[cursor_ - 1].isLowSurrogate() &&
                          entry_[cursor_ - 2].isHighSurrogate();
        replace(cursor_ - (pair ? 2 : 1), cursor_, QString());
    }
}

void TextBox::undo() {
    if (undo_.empty()) {
        return;
    }
    Edit edit = std::move(undo_.back());
    undo_.pop_back();
    entry_.replace(edit.at, edit.inserted.size(), edit.removed);
    cursor_ = edit.cursorBefore;
    anchor_ = edit.anchorBefore;
    typing_ = false;
    announceEdit(this, edit.at, edit.inserted, edit.removed);
    redo_.push_back(std::move(edit));
    showEntry(true, redo_.back().at);
}

void TextBox::redo() {
    if (redo_.empty()) {
        return;
    }
    Edit edit = std::move(redo_.back());
    redo_.pop_back();
    entry_.replace(edit.at, edit.removed.size(), edit.inserted);
    cursor_ = anchor_ = edit.at + edit.inserted.size();
    typing_ = false;
    announceEdit(this, edit.at, edit.removed, edit.inserted);
    undo_.push_back(std::move(edit));
    showEntry(true, undo_.back().at);
}

void TextBox::copy(QClipboard::Mode mode) const {
    if (hasSelection()) {
        QGuiApplication::clipboard()->setText(selectedText(), mode);
    }
}

void TextBox::cut() {
    copy();
    removeSelection();
}

void TextBox::paste(QClipboard::Mode mode) {
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    if (!pasted.isEmpty() || hasSelection()) {
        typing_ = false;
        insert(pasted);
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
    const qsizetype size = entry_.size();
    const qsizetype length = std::min(size, kShownLimit);
    const qsizetype margin = kShownLimit / 4;
    qsizetype from = std::clamp(shownFrom_, qsizetype{0}, size - length);
    const bool stale = textChanged && editedAt < from;
    const bool nearStart = from > 0 && cursor_ < from + margin;
    const bool nearEnd = from + length < size && cursor_ > from + length - margin;
    if (stale || nearStart || nearEnd || cursor_ < from || cursor_ > from + length) {
        from = std::clamp(cursor_ - length / 2, qsizetype{0}, size - length);
    }
    if (textChanged || from != shownFrom_) {
        shownFrom_ = from;
        const QString shown = entry_.mid(from, length);
        if (view_->text() != shown) {
            view_->setText(shown);
        }
    }
    // Only what differs: setting the line edit's cursor would end an input method's
    // composition.
    const auto local = [from, length](qsizetype at) {
        return int(std::clamp(at, from, from + length) - from);
    };
    const int anchor = local(anchor_);
    const int cursor = local(cursor_);
    const bool same =
        view_->cursorPosition() == cursor &&
        (anchor == cursor ? !view_->hasSelectedText()
                          : view_->selectionStart() == std::min(anchor, cursor) &&
                                view_->selectionLength() == std::abs(cursor - anchor));
    if (!same && anchor == cursor) {
        view_->setCursorPosition(cursor);
    } else if (!same) {
        view_->setSelection(anchor, cursor - anchor);
    }
    updateMicroFocus();
    announceCursor(this, anchor_, cursor_);
}

qsizetype TextBox::positionAt(QPoint point) const {
    return shownFrom_ + view_->cursorPositionAt(view_->mapFrom(this, point));
}

// ---- Entry points -------------------------------------------------------------------------

bool TextBox::handleStandardKey(QKeyEvent* event) {
    using Key = QKeySequence;
    const auto is = [event](Key::StandardKey key) { return event->matches(key); };
    const qsizetype end = entry_.size();
    const auto next = [this](QTextLayout::CursorMode mode) {
        return nextPosition(entry_, cursor_, mode);
    };
    const auto previous = [this](QTextLayout::CursorMode mode) {
        return previousPosition(entry_, cursor_, mode);
    };
    const bool toEdge = hasSelection() && arrowsStopAtSelectionEdge();
    if (is(Key::Undo)) {
        undo();
    } else if (is(Key::Redo)) {
        redo();
    } else if (is(Key::SelectAll)) {
        select(0, end);
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
        select(cursor_, end);
        cut();
    } else if (is(Key::MoveToStartOfLine) || is(Key::MoveToStartOfBlock)) {
        moveTo(0, false);
    } else if (is(Key::MoveToEndOfLine) || is(Key::MoveToEndOfBlock)) {
        moveTo(end, false);
    } else if (is(Key::SelectStartOfLine) || is(Key::SelectStartOfBlock)) {
        moveTo(0, true);
    } else if (is(Key::SelectEndOfLine) || is(Key::SelectEndOfBlock)) {
        moveTo(end, true);
    } else if (is(Key::MoveToNextChar)) {
        moveTo(toEdge ? selectionEnd() : next(QTextLayout::SkipCharacters), false);
    } else if (is(Key::SelectNextChar)) {
        moveTo(next(QTextLayout::SkipCharacters), true);
    } else if (is(Key::MoveToPreviousChar)) {
        moveTo(toEdge ? selectionStart() : previous(QTextLayout::SkipCharacters), false);
    } else if (is(Key::SelectPreviousChar)) {
        moveTo(previous(QTextLayout::SkipCharacters), true);
    } else if (is(Key::MoveToNextWord) || is(Key::SelectNextWord)) {
        moveTo(next(QTextLayout::SkipWords), is(Key::SelectNextWord));
    } else if (is(Key::MoveToPreviousWord) || is(Key::SelectPreviousWord)) {
        moveTo(previous(QTextLayout::SkipWords), is(Key::SelectPreviousWord));
    } else if (is(Key::Delete)) {
        deleteForward();
    } else if (is(Key::DeleteEndOfWord)) {
        moveTo(next(QTextLayout::SkipWords), true);
        deleteForward();
    } else if (is(Key::DeleteStartOfWord) ||
               (event->key() == Qt::Key_Backspace && event->modifiers() & Qt::ControlModifier)) {
        moveTo(previous(QTextLayout::SkipWords), true);
        deleteForward();
    } else if (is(Key::DeleteCompleteLine)) {
        select(0, end);
        cut();
    } else if (event->key() == Qt::Key_Backspace) {
        deleteBackward();
    } else {
        return false;
    }
    return true;
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const qsizetype anchor = anchor_;
    const qsizetype cursor = cursor_;
    if (!handleStandardKey(event)) {
        const QString typed = event->text();
        if (typed.isEmpty() || !typed.front().isPrint()) {
            event->ignore();  // Enter and Esc among them: they go on to the window
            return;
        }
        insert(typed, EditKind::Typing);
    }
    event->accept();
    if (hasSelection() && (anchor != anchor_ || cursor != cursor_)) {
        offerSelection();
    }
}

// The line edit composes the input method's text in the part it holds; what it commits there
// goes into the entry. Input replaces a selection, all of it.
void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    const bool input = !event->commitString().isEmpty() || !event->preeditString().isEmpty() ||
                       event->replacementLength() > 0;
    if (input) {
        removeSelection();
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
    const qsizetype at = shownFrom_ + prefix;
    const qsizetype cursor = shownFrom_ + view_->cursorPosition();
    if (prefix + suffix < std::max(before.size(), after.size())) {
        replace(at, shownFrom_ + before.size() - suffix,
                after.mid(prefix, after.size() - suffix - prefix), EditKind::Typing);
    }
    moveTo(cursor, false);
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
        !hasSelection()) {
        select(0, entry_.size());
    }
    view_->event(event);
    showEntry(false);
    QWidget::focusInEvent(event);
}

void TextBox::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        anchor_ = cursor_;
    }
    view_->event(event);
    showEntry(false);
    QWidget::focusOutEvent(event);
}

bool TextBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        return view_->event(event);  // the keys a line edit keeps from the window's shortcuts
    }
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange) {
        showBackground();
    }
    return handled;
}

bool TextBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_) {
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
                select(0, entry_.size());
            } else if (event->button() != Qt::RightButton) {
                moveTo(at, event->modifiers() & Qt::ShiftModifier);
            }
            break;
        case QEvent::MouseButtonDblClick:
            if (event->button() == Qt::LeftButton) {
                selectWordAt(at);
                doubleClicked_.start();
                doubleClickedAt_ = point;
            }
            break;
        case QEvent::MouseMove:
            if (event->buttons() & Qt::LeftButton) {
                moveTo(at, true);
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
    const bool selection = hasSelection();
    add("&Undo", QKeySequence::Undo, !undo_.empty(), [this] { undo(); });
    add("&Redo", QKeySequence::Redo, !redo_.empty(), [this] { redo(); });
    menu->addSeparator();
    add("Cu&t", QKeySequence::Cut, selection, [this] { cut(); });
    add("&Copy", QKeySequence::Copy, selection, [this] { copy(); });
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    add("&Paste", QKeySequence::Paste, clipboard && clipboard->hasText(), [this] { paste(); });
    add("Delete", QKeySequence::UnknownKey, selection, [this] { removeSelection(); });
    menu->addSeparator();
    add("Select All", QKeySequence::SelectAll, selectionEnd() - selectionStart() < entry_.size(),
        [this] { select(0, entry_.size()); });
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
    moveTo(positionAt(event->position().toPoint()), false);
}

// A drop goes into the entry as a paste does.
void TextBox::dropEvent(QDropEvent* event) {
    const QString dropped = event->mimeData()->text();
    if (dropped.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    moveTo(positionAt(event->position().toPoint()), false);
    insert(dropped);
}

}  // namespace forms
