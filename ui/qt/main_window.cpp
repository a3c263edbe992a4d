#include "ui/qt/main_window.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "ui/first_line.h"
#include "ui/icon.h"
#include "ui/qt/edit_field.h"
#include "ui/qt/icon_image.h"
#include "ui/qt/message_box.h"
#include "ui/qt/qt_font.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/toolkit_texts.h"
#include "ui/version_info.h"

namespace talmiro::qt {
namespace {

// The window's own 256-colour picture with the desktop's full-colour ones at the theme's larger
// sizes, so that a dock or a switcher on a high-density screen need not enlarge the small one.
QIcon withLargerDesktopSizes(QIcon icon) {
    for (const int size : version::desktopIconSizes) {
        if (size != IndexedIcon::size) {
            icon.addPixmap(QPixmap::fromImage(imageOf(paintIcon(size), size)));
        }
    }
    return icon;
}

// The box's frame and inner margins leave a little less than its width for text; shrink the
// margins just enough that the text it starts with is shown whole, as the Windows build shows it.
void fitStartTextToBox(QLineEdit& box) {
    const int textWidth = box.fontMetrics().horizontalAdvance(box.text());
    const int room = box.contentsRect().width() -
                     2 * box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box);
    const int shortfall = textWidth - room + 4;  // QLineEdit keeps 2 px each side of the text
    if (shortfall > 0) {
        const int each = (shortfall + 1) / 2;
        box.setTextMargins(-each, 0, -each, 0);
    }
}

// A single-line box keeps the first line of what is pasted, dropped or committed into it, and
// only whole characters of it: its length limit cuts an insert wherever the limit falls, inside a
// surrogate pair too. Both a break and such a cut lie in what was just inserted, which ends at the
// cursor. The insert is taken back and what it keeps put in its place through the box's own
// editing, so that one undo still restores the text from before the paste.
void keepWholeFirstLineOfInsert(QLineEdit& box) {
    const QString edited = box.text();
    const std::u16string_view text = toU16View(edited);
    const auto insertEnd = static_cast<std::size_t>(box.cursorPosition());
    std::size_t keptEnd = firstLine(text).size();
    if (keptEnd == text.size()) {
        const bool cutInsideACharacter =
            edited.size() == box.maxLength() && insertEnd > 0 &&
            isHighSurrogate(text[insertEnd - 1]) &&
            (insertEnd == text.size() || !isLowSurrogate(text[insertEnd]));
        if (!cutInsideACharacter) {
            return;
        }
        keptEnd = insertEnd - 1;
    }
    box.undo();
    const int insertStart = box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
    box.insert(edited.mid(insertStart, static_cast<qsizetype>(keptEnd) - insertStart));
}

// The box's own menu of Qt's edit commands, as the box itself would show it, but in Chinese and in
// the desktop's font like every other menu.
void showEditMenu(QLineEdit& box, const QContextMenuEvent& event) {
    useChineseToolkitTexts();
    QMenu* menu = box.createStandardContextMenu();
    menu->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event.globalPos());
}

// Made empty: the text comes once the control has its font, so that it is laid out only in that.
QWidget* makeControl(const form::Control& control, QWidget* window) {
    switch (control.kind) {
        case form::Kind::Label: {
            auto* label = new QLabel(window);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case form::Kind::TextBox: {
            auto* box = new QLineEdit(window);
            box->setMaxLength(form::textBoxLimit);
            QObject::connect(box, &QLineEdit::textEdited, box,
                             [box] { keepWholeFirstLineOfInsert(*box); });
            return box;
        }
        case form::Kind::Button: {
            auto* button = new QPushButton(window);
            button->setDefault(control.isDefaultButton);
            button->setAutoDefault(true);
            return button;
        }
    }
    throw std::logic_error("a control of no known kind");
}

void setControlText(QWidget& control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(&control)) {
        label->setText(text);
    } else if (auto* box = qobject_cast<QLineEdit*>(&control)) {
        box->setText(text);
    } else {
        static_cast<QPushButton&>(control).setText(text);
    }
}

}  // namespace

MainWindow::MainWindow(Shell& shell) {
    setObjectName(QString::fromLatin1(form::windowName));
    setWindowTitle(toQString(form::windowTitle));
    setWindowIcon(QPixmap::fromImage(imageOf(talmiro::windowIcon())));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(fontOf(form::windowFont));
    const int dpi = logicalDpiX();
    setFixedSize(form::twipsToPixels(form::clientWidth, dpi),
                 form::twipsToPixels(form::clientHeight, dpi));
    createControls();

    text1Field_ = std::make_unique<EditField>(text1_);
    text2Field_ = std::make_unique<EditField>(text2_);
    messages_ = std::make_unique<MessageBoxDialog>(this);
    form_ = std::make_unique<MainForm>(*text1Field_, *text2Field_, static_cast<OwnerWindow&>(*this),
                                       *messages_, shell, announcer_);
    wireHandlers();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    const int dpi = logicalDpiX();
    for (const form::Control& control : form::controls) {
        QWidget* widget = makeControl(control, this);
        widget->setObjectName(QString::fromLatin1(control.name));
        widget->setAccessibleName(toQString(form::accessibleName(control)));
        widget->setAccessibleDescription(toQString(control.accessibleDescription));
        widget->setGeometry(form::twipsToPixels(control.place.left, dpi),
                            form::twipsToPixels(control.place.top, dpi),
                            form::twipsToPixels(control.place.width, dpi),
                            form::twipsToPixels(control.place.height, dpi));
        if (control.font != nullptr) {
            widget->setFont(fontOf(*control.font));
        }
        if (control.colouring != form::Colouring::Standard) {
            QPalette palette = widget->palette();
            if (control.colouring == form::Colouring::WindowBackground) {
                palette.setColor(QPalette::Window, palette.color(QPalette::Base));
                palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
                widget->setAutoFillBackground(true);
            } else {
                palette.setColor(
                    QPalette::WindowText,
                    QColor(form::noticeRed.red, form::noticeRed.green, form::noticeRed.blue));
            }
            widget->setPalette(palette);
        }
        setControlText(*widget, toQString(control.text));
    }
    text1_ = findChild<QLineEdit*>(QStringLiteral("Text1"));
    text2_ = findChild<QLineEdit*>(QStringLiteral("Text2"));
    fitStartTextToBox(*text1_);
    text1_->installEventFilter(this);
    text2_->installEventFilter(this);
    // The prompt is selected, so that typing replaces it.
    text1_->selectAll();
    text1_->setFocus(Qt::ActiveWindowFocusReason);
}

void MainWindow::wireHandlers() {
    for (auto* button : findChildren<QPushButton*>()) {
        const MainForm::Handler handler =
            MainForm::buttonHandler(button->objectName().toStdString());
        if (handler != nullptr) {
            connect(button, &QPushButton::clicked, this,
                    [this, handler] { form_->dispatch(handler); });
        }
    }
}

// A focused button takes Enter itself; a box passes it on to here.
// The larger icons take longer to paint than the whole window: they follow its first frame.
void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!hasDesktopIcons_) {
        hasDesktopIcons_ = true;
        QTimer::singleShot(0, this,
                           [this] { setWindowIcon(withLargerDesktopSizes(windowIcon())); });
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        findChild<QPushButton*>(QString::fromLatin1(form::defaultButton().name))->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* box = static_cast<QLineEdit*>(watched);
    // A box selects its text on Tab before screen readers learn that it has the focus, and
    // gives up its selection before they learn that it lost the focus: Orca speaks either change
    // of selection on its own, besides the focus. Here a box selects once it has the focus, and
    // keeps its selection when the focus leaves, as a Windows edit box does.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool in = event->type() == QEvent::FocusIn;
        const bool selects = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                             reason == Qt::ShortcutFocusReason;
        const bool deselects =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (in ? selects : deselects) {
            QFocusEvent instead(event->type(), in ? Qt::OtherFocusReason : Qt::PopupFocusReason);
            QCoreApplication::sendEvent(box, &instead);
            if (in) {
                QMetaObject::invokeMethod(box, &QLineEdit::selectAll, Qt::QueuedConnection);
            }
            return true;
        }
    }
    if (event->type() == QEvent::ContextMenu) {
        showEditMenu(*box, *static_cast<QContextMenuEvent*>(event));
        return true;
    }
    // A click completes on release inside the box; both clicks of a double click count.
    if (watched == text1_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            text1_->rect().contains(mouse->position().toPoint())) {
            form_->dispatch(&MainForm::Text1_Click);
        }
    }
    return QWidget::eventFilter(watched, event);
}

NativeHandle MainWindow::nativeHandle() const {
    return static_cast<NativeHandle>(winId());
}

}  // namespace talmiro::qt
