#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace talmiro::win32 {

// Breaks a label's text into lines no wider than `width`, the way Chinese text is set: a line may
// break between any two ideographs, but not before closing punctuation; runs of blanks at a
// break hang off the end of the line and are dropped, while the first line keeps its leading
// blanks as an indent. `measure` gives the width of a piece of text in the label's font.
std::vector<std::u16string_view> wrapLines(std::u16string_view text, int width,
                                           const std::function<int(std::u16string_view)>& measure);

}  // namespace talmiro::win32
