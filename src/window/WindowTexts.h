#pragma once

#include <string_view>

// The window's own texts, English and Chinese, for the controls that show no
// field of the information area (the fields' captions are the area's rows)
// and for what the window says itself. The protocol's messages are its own
// (protocol/Messages.h).
struct WindowText {
    std::u16string_view English;
    std::u16string_view Chinese;

    std::u16string_view In(int langType) const { return langType == 2 ? Chinese : English; }
};

namespace WindowTexts {
inline constexpr WindowText Frame1{u"Radio Setting", u"机器设置"};
inline constexpr WindowText Frame2{u"Dealer Information", u"经销商信息"};
inline constexpr WindowText Read{u"&Read", u"读出(&R)"};
inline constexpr WindowText Write{u"&Write", u"写入(&W)"};
inline constexpr WindowText Exit{u"E&xit", u"退出(&X)"};
inline constexpr WindowText MulWrite{u"&MulWrite", u"写入多台(&M)"};
inline constexpr WindowText StopMulWrite{u"Stop &MulWrite", u"停止写入多台(&M)"};
inline constexpr WindowText ComPort{u"Com Port:", u"串口选择:"};
inline constexpr WindowText RadioCount{u"Radio Count:", u"写入台数："};
inline constexpr WindowText RadioNo{u"Radio No.:", u"当前台数："};
inline constexpr WindowText RadioCountNotWhole{u"The radio count must be a whole number.",
                                               u"写入台数必须是整数。"};
inline constexpr WindowText ReadNotKept{u"This read could not be kept for undoing a write: %1",
                                        u"无法保留这次读出的副本，写入后将无法撤销：%1"};
} // namespace WindowTexts
