#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace talmiro::qt {

inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string_view toU16View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline std::u16string toU16(const QString& text) {
    return std::u16string(toU16View(text));
}

}  // namespace talmiro::qt
