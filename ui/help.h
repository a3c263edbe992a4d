#pragma once

#include <string_view>

namespace talmiro {

inline constexpr std::u16string_view helpTitle = u"帮助";

// One line on purpose: the message box does its own wrapping.
inline constexpr std::u16string_view helpText =
    u"帮助  软件名: Talmiro  制作者: "
    u"林晓明 (小林)"
    u"  在第一个输入框内输入你要查询的化学式（如Fe3O4，则下面出现的是四氧化三铁)，"
    u"或在第一个方框内输入化学式名称，则在第二个框内出现的就是化学式。"
    u"由于本软件制作的时间关系，有一些地方可能有纰漏，希望大家踊跃的给我提出意见，请联系我的QQ"
    u"284517936"
    u" 注意：1、化学式和化学方程式是不一样的，本软件暂时只能查询九年级常见的化学式。"
    u"2、2.0版本修正了1.0版本的一些错误并且加入了一些化学式。";

}  // namespace talmiro
