#pragma once

#include "doubles/AreaMap.h"
#include "doubles/CableLink.h"
#include "doubles/CommandText.h"
#include "doubles/FakeSerial.h"
#include "doubles/FakeTimer.h"
#include "doubles/FakeWindow.h"
#include "doubles/TestRadio.h"
#include "doubles/VirtualClock.h"
#include "protocol/ModComm.h"
#include "record/ModData.h"

#include <string>
#include <vector>

// The protocol in its test world: record and image, the fake serial control
// with the cable and a radio on it, the response timer and the window, all on
// one virtual clock.
struct ProtocolWorld {
    VirtualClock clock;
    ModData data;
    FakeSerial serial{clock};
    FakeTimer timer{clock};
    FakeWindow window;
    ModComm comm{data, serial, timer, window};
    CableLink cable{clock, serial};
    TestRadio radio;

    // The day the record's defaults are made on.
    static constexpr CalendarDate Today{2026, 12, 6};

    ProtocolWorld();
    // Checks what must hold in every run: each message box is shown with the
    // port closed and no command outstanding, the port is never misused, and
    // the radio on the cable never got a command it could not accept.
    ~ProtocolWorld();
    ProtocolWorld(const ProtocolWorld&) = delete;
    ProtocolWorld& operator=(const ProtocolWorld&) = delete;

    // The batch button as the window handles it: a click while a batch runs
    // stops it (after the radio being written), otherwise it starts one over
    // count radios.
    void ClickBatch(int count);

    // Runs the virtual clock until nothing is scheduled (or limit ms passed).
    bool Settle(VirtualClock::Time limit = 600000) { return clock.RunUntilIdle(limit); }

    std::vector<std::string> Wire() const { return serial.WireText(); }
    std::vector<std::u16string> Texts() const { return window.Texts(); }
    std::vector<std::u16string> FirstLines() const { return window.FirstLines(); }
};

using TextList = std::vector<std::u16string>;

// The texts the operator is shown, as the tool must word them.
namespace Box {
inline const std::u16string ReadComplete = u"Read Complete!";
inline const std::u16string WriteComplete = u"Write Complete!";
inline const std::u16string MulWriteComplete = u"MulWrite Complete!";
inline const std::u16string CommunicationError = u"Communication Error!";
inline const std::u16string CannotOpenPort = u"Cannot Open Communication Port.";
inline const std::u16string WrittingData = u"Writting Data...";
inline const std::u16string WrittingDataChinese = u"\u6B63\u5728\u5199\u8BBE\u7F6E\u6570\u636E...";
inline const std::u16string WaittingNext = u"Waitting next...";
inline const std::u16string WaittingNextChinese = u"\u8BF7\u6362\u4E0B\u4E00\u53F0\u673A\u5668...";
} // namespace Box

// The blocks a write sends, in order, as the area's map has them.
inline const std::vector<std::string> WrittenBlocks = [] {
    std::vector<std::string> commands;
    for (const std::size_t block : area::WrittenBlocks()) {
        commands.push_back(CommandFor("W", 0x3B00 + static_cast<int>(block)));
    }
    return commands;
}();
