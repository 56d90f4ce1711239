#pragma once

#include "EntryLineEdit.h"
#include "FieldRows.h"
#include "Twips.h"
#include "protocol/ModComm.h"
#include "record/CalendarDate.h"
#include "record/FormFields.h"
#include "system/KeptReads.h"
#include "system/ModSetComm2.h"
#include "system/QtResponseTimer.h"
#include "system/QtSerialControl.h"
#include "system/SettingsFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

class FrmMain;

// What the window takes from the platform; tests hand in their own.
struct FrmMainPlatform {
    std::function<std::uint32_t()> systemLocaleId;
    std::function<CalendarDate()> today;
    QtSerialControl::PortResolver portDevice;
    // The operating-system check: true selects the fixed COM1..COM256 list.
    std::function<bool(const std::function<void(std::u16string_view)>& showMessage)> checkSysType;
    std::shared_ptr<PortSource> ports;
    std::filesystem::path settingsPath;
    // A modal message box with the window's title.
    std::function<MessageResult(FrmMain*, std::u16string_view, MessageButtons, MessageIcon)>
        messageBox;
    // Where every Read's bytes are kept, the clock that names and ages the
    // copies, and the save that puts them on disk.
    QString keptReadsFolder;
    std::function<QDateTime()> nowUtc;
    DurableSave saveDurably;
    // The serial control and the response timer the protocol drives, each
    // given the window's handler of its events; by default over Qt.
    std::function<std::unique_ptr<SerialControl>(std::function<void(int commEvent)>)> makeSerial;
    std::function<std::unique_ptr<ResponseTimer>(std::function<void()> onTimeout)> makeTimer;
};

// The tool's one window: the radio information, the Read, Write and Exit
// buttons, the port list and the hidden batch panel.
class FrmMain : public QWidget, public WindowSide {
  public:
    explicit FrmMain(FrmMainPlatform platform, QWidget* parent = nullptr);

    static QString Title();
    // The classic style draws the controls as the layout was measured for:
    // thin frames and a narrow drop-down button, so the band texts fit.
    static void UseClassicStyle();

    // Controls, under the names and indexes the rest of the tool uses.
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame4 = nullptr;
    std::array<QWidget*, Text1Count> Text1{};
    std::array<QLabel*, FieldRows::Label1Count> Label1{};
    std::array<QComboBox*, 2> Combo1{};
    std::array<EntryLineEdit*, 2> Text2{};
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QCheckBox* Check8 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* Combo2 = nullptr;
    QTimer ReShowComPortTimer;

    // State of the window's modules.
    ModData Data;
    std::int16_t LangTypeValue = 0;
    bool FixedPortList = false;
    std::array<std::u16string, 3> MsgFreqDiff;

    ModComm& Comm() { return comm_; }
    // Asked to close while a radio was being written: it closes once that
    // radio is finished.
    bool Closing() const { return closing_; }

    // The layout position of a control in twips.
    TwipsRect Geometry(const QWidget* control) const;
    double Dpi() const { return dpi_; }

    // Text of a Text1 field, single- or multi-line.
    QString Text1Text(int index) const;
    void SetText1Text(int index, const QString& text);

    // Start-up, language, mapping and the field rules.
    void Form_Load();
    void ShowLanguage();
    void ShowByData() override;
    void GetDataByShow() override;
    void Text1_GotFocus(int index);
    void Text1_KeyPress(int index, std::int16_t& keyAscii);
    void Combo2_Click();
    void Combo2_Pick();
    void ReShowComPortTimer_Timer();

    // Buttons
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    // WindowSide
    int LangType() const override { return LangTypeValue; }
    std::u16string RadioRead() override;
    // The window between its idle and its running batch face; true when it was
    // running and is now idle.
    bool ShowStartMulWrite();
    bool ToggleBatchFace() override { return ShowStartMulWrite(); }
    void SetStatusLine(std::u16string_view text) override;
    void SetRadioNumber(std::u16string_view text) override;
    MessageResult ShowMessage(std::u16string_view text, MessageButtons buttons,
                              MessageIcon icon) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void CreateFrame1Controls();
    void CreateFieldRow(const FieldRows::FieldRow& row, QWidget* parent);
    void PlaceFrames();
    void CreateFrame4Controls();
    QLabel*& RowLabel(const FieldRows::FieldRow& row);
    QWidget* RowField(const FieldRows::FieldRow& row) const;
    QWidget* NewRowField(QWidget* parent, const FieldRows::FieldRow& row);
    void SetBuddies();
    void SetTabOrder();
    void FillModelList();
    void FillBandList();
    void InstallFieldRules();
    void Place(QWidget* control, TwipsRect rect);
    QLabel* NewLabel(QWidget* parent, TwipsRect rect);
    EntryLineEdit* NewLineEdit(QWidget* parent, TwipsRect rect, int maxLength);
    EntryLineEdit* NewText1Field(QWidget* parent, TwipsRect rect, int index);
    void EnableDealerFields();
    void SetCaption(QWidget* control, const QString& caption);
    QWidget* FieldControl(const AreaField& field) const;
    void AutoSizeLabel(QLabel* label);
    void AlignLabel(QLabel* label, float fieldLeft, float gap);
    int Text1Index(const QObject* object) const;
    bool FilterText1Key(int index, QKeyEvent* event);
    void Form_Unload();
    void SetPortEntries(const std::vector<PortEntry>& entries);
    void SelectPort(const std::u16string& entry);
    void BuildPortList();
    void ApplyPortSelection();
    void SelectRefreshedPort();
    void WatchPortPopup();
    bool SingleOperationRunning() const;
    void ShowOperationFace();
    // After each event of the serial control and the response timer.
    void AfterCommEvent();
    void CloseWhenFinished();

    FrmMainPlatform platform_;
    double dpi_ = 96.0;
    std::map<const QWidget*, TwipsRect> geometry_;
    SettingsFile settings_;
    std::vector<PortEntry> portEntries_;
    std::optional<PortStamp> portStamp_;
    std::int16_t firstPort_ = 0;
    // The port of the settings file or of the dealer's last pick.
    std::int16_t rememberedPort_ = 0;
    bool portPopupOpen_ = false;
    bool portRefreshWaiting_ = false;
    // The batch's running face is shown (Stop, Read and Write disabled).
    bool batchFace_ = false;
    // The button that had the focus when its operation started.
    QPointer<QWidget> focusedButton_;
    // The window was asked to close while a radio was being written: it
    // closes once that radio is finished, without a message.
    bool closing_ = false;
    std::unique_ptr<SerialControl> serial_;
    std::unique_ptr<ResponseTimer> waitTimer_;
    ModComm comm_;
    KeptReads keptReads_;
};
