#include "ui/qt/accessible_name.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>

namespace talmiro::qt {
namespace {

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
    // Measured from the caret, the one place in the text whose position the box tells.
    QRect characterRect(int offset) const override {
        const QString text = box().text();
        if (offset < 0 || offset >= text.size()) {
            return {};
        }
        const QRect caret = box().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics(box().font());
        const int caretAt = box().cursorPosition();
        const int x =
            caret.x() + (offset >= caretAt
                             ? metrics.horizontalAdvance(text.mid(caretAt, offset - caretAt))
                             : -metrics.horizontalAdvance(text.mid(offset, caretAt - offset)));
        return {box().mapToGlobal(QPoint(x, caret.y())),
                QSize(metrics.horizontalAdvance(text.at(offset)), caret.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return box().cursorPositionAt(box().mapFromGlobal(point));
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

    // The editable text interface, through the box's own editing, so that undo keeps working.
    void deleteText(int start, int end) override {
        box().setSelection(start, end - start);
        box().del();
    }
    void insertText(int offset, const QString& text) override {
        box().setCursorPosition(offset);
        box().insert(text);
    }
    void replaceText(int start, int end, const QString& text) override {
        box().setSelection(start, end - start);
        box().insert(text);
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
