#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace talmiro::qt {

// An input box's whole accessible interface, as screen readers read and edit it: its text,
// selection, caret, the place of each character, and edits through the box's own editing. Qt's
// own line-edit interface reports an empty run of text attributes at every offset, from which
// Orca 43 builds the text one character short ("Fe3O" for "Fe3O4"); this one reports the whole
// text as one run. The boxes' names are the form's, set on the widgets. For
// QAccessible::installFactory; nullptr for anything else.
QAccessibleInterface* accessibleTextBox(const QString& className, QObject* object);

}  // namespace talmiro::qt
