#include "ui/qt/accessible_text_box.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <algorithm>

#include "ui/first_line.h"
#include "ui/qt/qt_text.h"

namespace talmiro::qt {
namespace {

// Qt gives the caret's place only as a rectangle that reaches this far to the left of it.
constexpr int caretPadding = 5;

class AccessibleTextBox final : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface {
  public:
    explicit AccessibleTextBox(QLineEdit* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? box().text() : QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value) {
            box().setText(text);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !box().isReadOnly();
        state.readOnly = box().isReadOnly();
        state.selectableText = true;
        return state;
    }

    // The text interface.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && box().hasSelectedText()) {
            *start = box().selectionStart();
            *end = *start + box().selectedText().size();
        }
    }
    int selectionCount() const override { return box().hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) {
            box().deselect();
        }
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) {
            box().setSelection(start, end - start);
        }
    }
    int cursorPosition() const override { return box().cursorPosition(); }
    void setCursorPosition(int position) override { box().setCursorPosition(position); }
    QString text(int start, int end) const override { return box().text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(box().text().size()); }
    // On the glyphs: measured from the caret, the one place in the text whose position the box
    // tells, less the text before it.
    QRect characterRect(int offset) const override {
        const QString text = box().text();
        if (offset < 0 || offset >= text.size()) {
            return {};
        }
        const QFontMetrics metrics(box().font());
        const QRect caret = box().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int before = metrics.horizontalAdvance(text.left(offset));
        const int left = caret.x() + caretPadding + before -
                         metrics.horizontalAdvance(text.left(box().cursorPosition()));
        return {box().mapToGlobal(QPoint(left, caret.y())),
                QSize(metrics.horizontalAdvance(text.left(offset + 1)) - before, caret.height())};
    }
    // The character whose rectangle holds the point; -1 where none does.
    int offsetAtPoint(const QPoint& point) const override {
        const int count = characterCount();
        int offset = 0;
        for (int step = count; step > 0; step /= 2) {
            while (offset + step < count && characterRect(offset + step).left() <= point.x()) {
                offset += step;
            }
        }
        return count > 0 && characterRect(offset).contains(point) ? offset : -1;
    }
    void scrollToSubstring(int start, int end) override {
        box().setCursorPosition(end);
        box().setCursorPosition(start);
    }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // The editable text interface, through the box's own editing, so that one undo takes an edit
    // back. As in Qt's own interface for a line edit, an end past the text stands for its end; a
    // range that starts outside the text or ends before it starts changes nothing, where Qt's
    // would delete from the end or repeat text. What is inserted keeps to the box's rule for a
    // paste: its first line, as much of it as the box has room for, in whole characters.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        const int count = characterCount();
        end = std::min(end, count);
        if (start < 0 || start > count || end < start) {
            return;
        }
        const auto room = static_cast<std::size_t>(box().maxLength() - (count - (end - start)));
        const QString kept = toQString(wholeCharactersFitting(firstLine(toU16View(text)), room));
        if (start == end && kept.isEmpty()) {
            return;
        }
        box().setSelection(start, end - start);
        box().insert(kept);
    }

  private:
    QLineEdit& box() const { return *static_cast<QLineEdit*>(widget()); }
};

}  // namespace

QAccessibleInterface* accessibleTextBox(const QString& className, QObject* object) {
    auto* box =
        className == QLatin1String("QLineEdit") ? qobject_cast<QLineEdit*>(object) : nullptr;
    return box == nullptr ? nullptr : new AccessibleTextBox(box);
}

}  // namespace talmiro::qt
