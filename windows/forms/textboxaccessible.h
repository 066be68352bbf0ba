#pragma once

// What the accessibility bus sees of a text box: the whole entry (TextBoxAccessible), and the
// events that tell it of edits and of the cursor.

#include <QtGlobal>

class QObject;
class QString;

namespace forms {

// Has the bus ask TextBoxAccessible about every text box, and see nothing of the line edit
// that draws a part of its entry. Once is enough; more calls do nothing.
void installTextBoxAccessibility();

// Where the bridge listens: the text removed and inserted at a position, and the cursor after a
// move (with the selection, when that changed too).
void announceEdit(QObject* box, qsizetype at, const QString& removed, const QString& inserted);
void announceCursor(QObject* box, qsizetype anchor, qsizetype cursor, bool selectionChanged);

}  // namespace forms
