// TextBoxAccessible: the whole entry of a text box, to read and to edit over the accessibility
// bus, and the events that tell the bus what changed.

#include "windows/forms/textboxaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

#include <algorithm>

#include "windows/forms/entrymodel.h"
#include "windows/forms/textbox.h"

namespace forms {

// The text box as an editable text: the whole entry, edited through the text box, which shows
// each change.
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
        return kind == QAccessible::Value ? entry().text() : QAccessibleWidget::text(kind);
    }

    // The line edit that draws the entry is the text box's own business, not a child.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    // Text
    void selection(int index, int* start, int* end) const override {
        const bool any = index == 0 && entry().hasSelection();
        *start = any ? int(entry().selectionStart()) : 0;
        *end = any ? int(entry().selectionEnd()) : 0;
    }
    int selectionCount() const override { return entry().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { setCursorPosition(cursorPosition()); }
    void setSelection(int, int start, int end) override {
        box().entry_.select(start, end);
        box().showEntry();
    }
    int cursorPosition() const override { return int(entry().cursor()); }
    void setCursorPosition(int position) override {
        box().entry_.moveTo(position, false);
        box().showEntry();
    }
    QString text(int start, int end) const override {
        return entry().text().mid(start, end - start);
    }
    int characterCount() const override { return int(entry().text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint& point) const override {
        return int(box().positionAt(box().mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int end) override {
        setCursorPosition(end);
        setCursorPosition(start);
    }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Editable text
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int at, const QString& text) override { replaceText(at, at, text); }
    void replaceText(int start, int end, const QString& text) override {
        box().showEdit(box().entry_.replace(start, end, text));
    }

private:
    TextBox& box() const { return *static_cast<TextBox*>(widget()); }
    const EntryModel& entry() const { return box().entry_; }
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

}  // namespace

void installTextBoxAccessibility() {
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
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

void announceCursor(QObject* box, qsizetype anchor, qsizetype cursor, bool selectionChanged) {
    if (!QAccessible::isActive()) {
        return;
    }
    if (selectionChanged) {
        QAccessibleTextSelectionEvent selection(box, int(std::min(anchor, cursor)),
                                                int(std::max(anchor, cursor)));
        selection.setCursorPosition(int(cursor));
        QAccessible::updateAccessibility(&selection);
    }
    QAccessibleTextCursorEvent moved(box, int(cursor));
    QAccessible::updateAccessibility(&moved);
}

}  // namespace forms
