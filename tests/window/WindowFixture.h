#pragma once

#include "window/FrmMain.h"

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

struct ShownMessage {
    std::u16string text;
    MessageButtons buttons;
    MessageIcon icon;
    // The batch face at the moment the box was shown.
    QString command4;
    QString text2_1;
    QString label6;
    bool readEnabled = false;
};

// The system's ports as a test sets them. Without a stamp every refresh
// scans, as with a source that has none.
class FakePorts : public PortSource {
  public:
    std::vector<SystemPort> Listed;
    std::optional<PortStamp> Stamp;
    int Scans = 0;
    std::vector<SystemPort> Ports() override {
        ++Scans;
        return Listed;
    }
    std::optional<PortStamp> ChangeStamp() override { return Stamp; }
};

// A window on the offscreen platform with a chosen locale and day, its own
// port list and settings file; message boxes are recorded and answered as
// scripted. The window is loaded at once unless the test prepares it first.
class WindowFixture {
  public:
    enum class Load { Now, Later };
    // adjust changes the platform before the window is made (fakes of its
    // serial control and timer, say).
    explicit WindowFixture(std::uint32_t localeId = 0x0409, QString device = {},
                           Load load = Load::Now,
                           const std::function<void(FrmMainPlatform&)>& adjust = {});

    FrmMain& Window() { return *window_; }
    void FormLoad() { window_->Form_Load(); }
    std::vector<ShownMessage> Messages;
    MessageResult Answer = MessageResult::Ok;
    std::shared_ptr<FakePorts> Ports = std::make_shared<FakePorts>();
    bool FixedList = false;
    bool OsQueryFails = false;
    QTemporaryDir Config;
    QString SettingsPath() const { return Config.filePath("mysetup.ini"); }
    // The kept reads: their folder, the clock and a save that can be made to
    // fail. radioinfo-cli finds the folder with XDG_DATA_HOME=Config.
    QString ReadsFolder() const { return Config.filePath("radioinfo/reads"); }
    QDateTime NowUtc{QDate(2026, 12, 7), QTime(14, 25, 30), Qt::UTC};
    std::optional<QString> SaveFailure;

    // Shows the window and waits until it is active.
    void ShowActive();

  private:
    std::unique_ptr<FrmMain> window_;
};

QString Q(const char* utf8);
// Ports listed by the system, as their data texts.
std::vector<SystemPort> Listed(std::initializer_list<const char*> names);
