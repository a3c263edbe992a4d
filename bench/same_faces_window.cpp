// The yardstick for what Talmiro's own start-up code costs: the same controls, texts, faces and
// sizes, put up with plain widgets and nothing else (no icon, colours, names for screen readers,
// translations or handlers).
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/form.h"
#include "ui/qt/qt_font.h"
#include "ui/qt/qt_text.h"

namespace {

QWidget* makeControl(talmiro::form::Kind kind, QWidget* window) {
    switch (kind) {
        case talmiro::form::Kind::Label: {
            auto* label = new QLabel(window);
            label->setWordWrap(true);
            return label;
        }
        case talmiro::form::Kind::TextBox:
            return new QLineEdit(window);
        case talmiro::form::Kind::Button:
            return new QPushButton(window);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    namespace form = talmiro::form;
    using talmiro::qt::fontOf;
    using talmiro::qt::toQString;
    QApplication application(argc, argv);
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("AR PL UMing CN")});
    QFont::insertSubstitutions(QStringLiteral("华文行楷"), {QStringLiteral("AR PL UKai CN")});

    QWidget window;
    window.setWindowTitle(QStringLiteral("SameFaces"));
    window.setFont(fontOf(form::windowFont));
    const int dpi = window.logicalDpiX();
    window.setFixedSize(form::twipsToPixels(form::clientWidth, dpi),
                        form::twipsToPixels(form::clientHeight, dpi));
    for (const form::Control& control : form::controls) {
        QWidget* widget = makeControl(control.kind, &window);
        if (control.font != nullptr) {
            widget->setFont(fontOf(*control.font));
        }
        widget->setGeometry(form::twipsToPixels(control.place.left, dpi),
                            form::twipsToPixels(control.place.top, dpi),
                            form::twipsToPixels(control.place.width, dpi),
                            form::twipsToPixels(control.place.height, dpi));
        const QString text = toQString(control.text);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            box->setText(text);
        } else {
            static_cast<QPushButton*>(widget)->setText(text);
        }
    }
    window.show();
    return QApplication::exec();
}
