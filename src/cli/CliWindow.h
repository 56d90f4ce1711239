#pragma once

#include "protocol/ModComm.h"
#include "record/FormFields.h"

#include <functional>
#include <optional>
#include <string>

// How an operation ended, by the message that ended it.
enum class OperationEnd { Running, Done, PortError, CommunicationError, ModelError };

// The window side of the command line: the fields a dealer would see, and
// messages and hints on stderr. The window's band question is the window's:
// a write overwrites the radio's band only when asked for one; once a radio
// is written with a band other than its own, the command line says so in its
// own words.
class CliWindow : public WindowSide {
  public:
    CliWindow(ModData& data, int langType);

    void SetComm(ModComm& comm) { comm_ = &comm; }
    // The fields as the window would show them, edited by the options.
    FormFields Shown;
    // The user asked for a band (--band): it overwrites the radio's.
    bool OverwriteBand = false;
    OperationEnd End = OperationEnd::Running;
    std::function<void()> OnEnd;
    // The batch returned to its idle face (it ended or was stopped).
    std::function<void()> OnIdleFace;
    // The record was shown again: in a batch, after each radio written.
    std::function<void()> OnShown;
    // Asked before a radio is written; false refuses the write.
    std::function<bool()> OnReadyToWrite;
    // A Read has brought the radio's whole information area.
    std::function<void()> OnRadioRead;
    // The text of the message that ended the last operation, as the core
    // wrote it (printed with the radio's texts escaped).
    std::u16string LastMessage;
    // No more progress lines: the run is stopping.
    bool Quiet = false;

    int LangType() const override { return langType_; }
    void ShowByData() override;
    std::u16string RadioRead() override;
    void GetDataByShow() override;
    bool ToggleBatchFace() override;
    void SetStatusLine(std::u16string_view text) override;
    void SetRadioNumber(std::u16string_view text) override;
    bool ReadyToWrite() override;
    MessageResult ShowMessage(std::u16string_view text, MessageButtons buttons,
                              MessageIcon icon) override;

  private:
    void Finish(OperationEnd end);
    std::u16string RadioTextsEscaped(std::u16string_view text) const;

    ModData& data_;
    ModComm* comm_ = nullptr;
    int langType_;
    // The band being written over another: the line said once the radio is written.
    std::optional<std::u16string> bandLine_;
};

// Writes text to stderr as UTF-8, line breaks of the radio's messages made plain.
void PrintError(std::u16string_view text);
// An error or warning: each of its lines on stderr after "radioinfo-cli: ",
// so it tells itself apart from the progress lines beside it.
void PrintDiagnostic(std::u16string_view text);
