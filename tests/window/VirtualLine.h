#pragma once

#include "WindowFixture.h"
#include "doubles/CableLink.h"
#include "doubles/FakeSerial.h"
#include "doubles/FakeTimer.h"
#include "window/FrmMain.h"

#include <memory>
#include <string>
#include <vector>

// The window's serial control and response timer as fakes on one clock, a
// radio on the cable.
struct VirtualLine {
    VirtualClock clock;
    FakeSerial* serial = nullptr; // owned by the window
    std::unique_ptr<CableLink> cable;
    TestRadio radio;

    void Adjust(FrmMainPlatform& platform) {
        platform.makeSerial = [this](std::function<void(int)> onEvent) {
            auto made = std::make_unique<FakeSerial>(clock);
            made->SetOnReceiveEvent(std::move(onEvent));
            serial = made.get();
            cable = std::make_unique<CableLink>(clock, *serial);
            cable->Attach(radio);
            return made;
        };
        platform.makeTimer = [this](std::function<void()> onTimeout) {
            auto made = std::make_unique<FakeTimer>(clock);
            made->SetOnTick(std::move(onTimeout));
            return made;
        };
    }
    std::vector<std::string> Wire() const { return serial->WireText(); }
};

// The window on such a line, in English, its port COM1, shown.
struct VirtualWindow {
    VirtualLine line;
    WindowFixture fixture{0x0409, {}, WindowFixture::Load::Now, [this](FrmMainPlatform& platform) {
                              line.Adjust(platform);
                          }};
    FrmMain& w = fixture.Window();

    VirtualWindow() {
        w.Comm().ComPortNo = 1;
        w.show();
    }
};
