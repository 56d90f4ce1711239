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

// The model error: its title, then the radio's model and version text.
inline constexpr std::u16string_view ModelErrorTitle[] = {u"Model Type or Version Error!",
                                                          u"机型或频段错误!"};
inline constexpr std::u16string_view RadioModelLine[] = {u"Radio Model:", u"对讲机机型:"};
inline constexpr std::u16string_view RadioVersionLine[] = {u"Radio Version:", u"对讲机版本:"};

// The band question asked before a write when the window's band differs from the radio's.
inline constexpr std::u16string_view FreqDiff[] = {u"Frequencys is different. Overwrite?",
                                                   u"频段类型不同。是否覆盖？"};

// The second line after "Communication Error!": %1 the port, %2 the command
// outstanding (PROGRAM, R 3B20, W 3B60, END), %3 how often it was refused,
// %4 the W blocks the radio acknowledged.
inline constexpr std::u16string_view NoAnswer[] = {u"No answer from the radio on %1 to %2.",
                                                   u"%1 上的对讲机对 %2 没有应答。"};
inline constexpr std::u16string_view Refused[] = {u"The radio on %1 refused %2 %3 times.",
                                                  u"%1 上的对讲机 %3 次拒绝了 %2。"};
inline constexpr std::u16string_view PartlyWritten[] = {
    u"Blocks acknowledged: %4. The radio is partly written: write it again.",
    u"已确认的数据块：%4。对讲机只写入了一部分，请重新写入。"};
inline constexpr std::u16string_view NothingAcknowledged[] = {
    u"No block acknowledged. The radio may be partly written: write it again.",
    u"没有数据块被确认。对讲机可能只写入了一部分，请重新写入。"};
inline constexpr std::u16string_view LinkHint[] = {
    u"Is the radio switched on, the cable seated and the right port chosen?",
    u"请检查对讲机是否开机、数据线是否插好、端口是否选对。"};
// A write stopped at once, before its blocks and END were all answered: %2
// the command outstanding; the line goes on as after a failure.
inline constexpr std::u16string_view StoppedWriting[] = {u"The radio was being written (%2).",
                                                         u"对讲机正在写入（%2）。"};
// Between the sentences of the line, and between the blocks of %4.
inline constexpr std::u16string_view SentenceGap[] = {u" ", u""};
inline constexpr std::u16string_view ListGap[] = {u", ", u"、"};
} // namespace Msg
