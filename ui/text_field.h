#pragma once

#include <string>
#include <string_view>

namespace talmiro {

// What either window reports when a text box has gone from under a handler.
inline constexpr char textBoxGone[] = "文本框已不存在";

// The two things the program needs of a text box. A window toolkit implements it for its own
// widgets; tests implement it with plain strings. Either operation may throw when the box is
// no longer there, and the error is the caller's to report.
class TextField {
  public:
    virtual ~TextField() = default;
    virtual std::u16string text() const = 0;
    virtual void setText(std::u16string_view text) = 0;
};

}  // namespace talmiro
