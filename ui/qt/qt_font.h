#pragma once

#include <QFont>

#include "ui/form.h"
#include "ui/qt/qt_text.h"

namespace talmiro::qt {

inline QFont fontOf(const form::Font& font) {
    QFont result(toQString(font.face));
    result.setPointSizeF(font.tenthsOfPoint / 10.0);
    result.setWeight(static_cast<QFont::Weight>(font.weight));
    return result;
}

}  // namespace talmiro::qt
