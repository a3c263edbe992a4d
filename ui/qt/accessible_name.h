#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace talmiro::qt {

// What screen readers get for an input box: Qt's own line-edit interface reports an empty run
// of text attributes at every offset, from which Orca 43 builds the text one character short
// ("Fe3O" for "Fe3O4"). This one reports the whole text as one run; the boxes' names are the
// form's, set on the widgets. For QAccessible::installFactory; nullptr for anything else.
QAccessibleInterface* accessibleTextBox(const QString& className, QObject* object);

}  // namespace talmiro::qt
