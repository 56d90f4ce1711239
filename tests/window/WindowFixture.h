#pragma once

#include "window/FrmMain.h"

#include <memory>
#include <string>
#include <vector>

struct ShownMessage {
    std::u16string text;
    MessageButtons buttons;
    MessageIcon icon;
};

// A window on the offscreen platform with a chosen locale and day; message
// boxes are recorded and answered as scripted.
class WindowFixture {
  public:
    explicit WindowFixture(std::uint32_t localeId = 0x0409, QString device = {});

    FrmMain& Window() { return *window_; }
    std::vector<ShownMessage> Messages;
    MessageResult Answer = MessageResult::Ok;

    // Shows the window and waits until it is active.
    void ShowActive();

  private:
    std::unique_ptr<FrmMain> window_;
};

QString Q(const char* utf8);
