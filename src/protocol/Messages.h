#pragma once

#include <string_view>

// Texts the protocol shows; some exist in English only.
namespace Msg {
inline constexpr std::u16string_view ReadComplete = u"Read Complete!";
inline constexpr std::u16string_view WriteComplete = u"Write Complete!";
inline constexpr std::u16string_view MulWriteComplete = u"MulWrite Complete!";
inline constexpr std::u16string_view CommunicationError = u"Communication Error!";
inline constexpr std::u16string_view CannotOpenPort = u"Cannot Open Communication Port.";
inline constexpr std::u16string_view WrittingData[] = {u"Writting Data...", u"正在写设置数据..."};
inline constexpr std::u16string_view WaittingNext[] = {u"Waitting next...", u"请换下一台机器..."};
} // namespace Msg

namespace Msg {
inline constexpr std::u16string_view ModelErrorTitle[] = {u"Model Type or Version Error!",
                                                          u"机型或频段错误!"};
} // namespace Msg

namespace Msg {
// The band question asked before a write when the window's band differs from the radio's.
inline constexpr std::u16string_view FreqDiff[] = {u"Frequencys is different. Overwrite?",
                                                   u"频段类型不同。是否覆盖？"};
} // namespace Msg
