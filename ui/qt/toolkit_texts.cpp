#include "ui/qt/toolkit_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace talmiro::qt {

void useChineseToolkitTexts() {
    static const bool installed = [] {
        auto* translator = new QTranslator(QCoreApplication::instance());
        return translator->load(QStringLiteral("qtbase_zh_CN"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
               QCoreApplication::installTranslator(translator);
    }();
    static_cast<void>(installed);
}

}  // namespace talmiro::qt
