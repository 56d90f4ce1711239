#include "FrmMain.h"

#include "Icon.h"
#include "ListAccessible.h"
#include "protocol/Messages.h"
#include "system/ModSYSType.h"
#include "system/QtPortResolver.h"
#include "system/SystemLocale.h"
#include "system/SystemPorts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QMessageBox>

namespace {
QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

MessageResult DefaultMessageBox(FrmMain* window, std::u16string_view text, MessageButtons buttons,
                                MessageIcon icon) {
    const bool question = buttons == MessageButtons::OkCancel;
    QMessageBox box(ToQtIcon(icon), FrmMain::Title(),
                    QString::fromStdU16String(std::u16string(text)),
                    question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, window);
    box.setDefaultButton(QMessageBox::Ok);
    box.setAccessibleName(box.text()); // a screen reader hears the message, not the title
    return box.exec() == QMessageBox::Ok ? MessageResult::Ok : MessageResult::Cancel;
}

// What a test leaves out comes from the system.
FrmMainPlatform WithDefaults(FrmMainPlatform platform) {
    if (!platform.systemLocaleId) {
        platform.systemLocaleId = SystemDefaultLocaleId;
    }
    if (!platform.today) {
        platform.today = [] {
            const QDate today = QDate::currentDate();
            return CalendarDate{today.year(), today.month(), today.day()};
        };
    }
    if (!platform.portDevice) {
        platform.portDevice = SystemPortResolver();
    }
    if (!platform.messageBox) {
        platform.messageBox = DefaultMessageBox;
    }
    if (!platform.checkSysType) {
        platform.checkSysType = CheckSysType;
    }
    if (!platform.ports) {
        platform.ports = MakeSystemPortSource();
    }
    if (platform.settingsPath.empty()) {
        platform.settingsPath = DefaultSettingsPath();
    }
    if (platform.keptReadsFolder.isEmpty()) {
        platform.keptReadsFolder = KeptReads::DefaultFolder();
    }
    if (!platform.nowUtc) {
        platform.nowUtc = QDateTime::currentDateTimeUtc;
    }
    if (!platform.saveDurably) {
        platform.saveDurably = KeptReads::DiskSave();
    }
    if (!platform.makeSerial) {
        platform.makeSerial = [resolver = platform.portDevice](std::function<void(int)> onEvent) {
            return std::make_unique<QtSerialControl>(resolver, std::move(onEvent));
        };
    }
    if (!platform.makeTimer) {
        platform.makeTimer = [](std::function<void()> onTimeout) {
            return std::make_unique<QtResponseTimer>(std::move(onTimeout));
        };
    }
    return platform;
}
} // namespace

QString FrmMain::Title() {
    return QStringLiteral("Radio Information Tool");
}

void FrmMain::UseClassicStyle() {
    QApplication::setStyle(QStringLiteral("Windows"));
}

FrmMain::FrmMain(FrmMainPlatform platform, QWidget* parent)
    : QWidget(parent), platform_(WithDefaults(std::move(platform))),
      settings_(platform_.settingsPath), serial_(platform_.makeSerial([this](int commEvent) {
          comm_.MSComm1_OnComm(commEvent);
          AfterCommEvent();
      })),
      waitTimer_(platform_.makeTimer([this] {
          comm_.WaitTimer_Timer();
          AfterCommEvent();
      })),
      comm_(Data, *serial_, *waitTimer_, *this),
      keptReads_(platform_.keptReadsFolder, platform_.saveDurably, platform_.nowUtc) {
    ListAccessible::Install();
    setWindowTitle(Title());
    setWindowIcon(ApplicationIcon());
    setFont(QFont(QStringLiteral("Arial"), 9));
    dpi_ = logicalDpiX();
    CreateControls();
    InstallFieldRules();
    // The window ends a margin below its frame, which grows with its rows.
    setFixedSize(TwipsToPixels(9630, dpi_), TwipsToPixels(Geometry(Frame1).Bottom() + 90, dpi_));

    connect(Command1, &QPushButton::clicked, this, &FrmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmMain::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FrmMain::Command4_Click);
    connect(Combo2, &QComboBox::currentIndexChanged, this, &FrmMain::Combo2_Click);
    connect(Combo2, &QComboBox::activated, this, &FrmMain::Combo2_Pick);
    // The closed band list elides its long texts; the tooltip shows them whole.
    connect(Combo1[1], &QComboBox::currentTextChanged, Combo1[1], &QWidget::setToolTip);
    WatchPortPopup();
    ReShowComPortTimer.setInterval(1000);
    connect(&ReShowComPortTimer, &QTimer::timeout, this, &FrmMain::ReShowComPortTimer_Timer);
}

void FrmMain::Form_Load() {
    comm_.MulWriteNo = 0;
    comm_.OperationMode = ModeIdle;
    Data.InitData(platform_.today());
    FixedPortList = platform_.checkSysType([this](std::u16string_view text) {
        ShowMessage(text, MessageButtons::Ok, MessageIcon::None);
    });
    SetStatusLine(u"");
    comm_.ComPortNo = settings_.ReadComPort();
    rememberedPort_ = comm_.ComPortNo;
    BuildPortList();
    ApplyPortSelection();
    FillBandList();
    Combo1[1]->setCurrentIndex(0);
    Combo1[0]->setEnabled(false);
    ShowLanguage();
    ShowByData();
    keptReads_.Prune();
    if (!FixedPortList) {
        ReShowComPortTimer.start();
    }
    Combo1[1]->setFocus();
}

// Exit, the close button, Alt+F4, a logout's signal: a radio whose blocks are
// going out is finished first (its remaining blocks and END), with no
// question and no message, so no radio is left half-written. A second close
// does not wait. Anything else ends at once, the radio as it is.
void FrmMain::closeEvent(QCloseEvent* event) {
    if (!closing_ && comm_.DeferStop()) {
        closing_ = true;
        event->ignore();
        return;
    }
    closing_ = true;
    Form_Unload();
    // A box still open would keep the program running without its window.
    if (QWidget* box = QApplication::activeModalWidget(); box != nullptr && box != this) {
        box->close();
    }
    event->accept();
}

void FrmMain::AfterCommEvent() {
    ShowOperationFace();
    CloseWhenFinished();
}

// The radio being written when the window was asked to close is finished,
// or ended by its time-out: the window closes now.
void FrmMain::CloseWhenFinished() {
    const bool running = comm_.OperationMode != ModeIdle && serial_->PortOpen();
    if (closing_ && !running) {
        close();
    }
}

// An operation still running ends here without a message: its response
// time-out must not fire into a closed window.
void FrmMain::Form_Unload() {
    ReShowComPortTimer.stop();
    comm_.EndOperation();
    ShowOperationFace();
}

void FrmMain::SetStatusLine(std::u16string_view text) {
    SetCaption(Label6, QString::fromStdU16String(std::u16string(text)));
}

void FrmMain::SetRadioNumber(std::u16string_view text) {
    Text2[1]->setText(QString::fromStdU16String(std::u16string(text)));
}

// Every end of an operation shows a box, so the window is given back before it.
MessageResult FrmMain::ShowMessage(std::u16string_view text, MessageButtons buttons,
                                   MessageIcon icon) {
    if (closing_) {
        return buttons == MessageButtons::OkCancel ? MessageResult::Cancel : MessageResult::Ok;
    }
    ShowOperationFace();
    return platform_.messageBox(this, text, buttons, icon);
}
