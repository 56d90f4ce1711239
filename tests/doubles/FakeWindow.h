#pragma once

#include "doubles/VirtualClock.h"
#include "protocol/WindowSide.h"
#include "record/ModData.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ModComm;

// The window as a recording fake. It keeps no fields of its own: the record
// stands for what the window shows, GetDataByShow runs a scripted edit on it
// and then applies the band question. It records every message box, hint line
// and radio number, and switches between its idle and running batch face by
// the operation mode as the window would.
class FakeWindow : public WindowSide {
  public:
    struct Message {
        std::u16string Text;
        MessageButtons Buttons = MessageButtons::Ok;
        MessageIcon Icon = MessageIcon::None;
        VirtualClock::Time At = 0;
        std::int16_t Mode = -1; // operation mode while shown
        bool PortOpen = false;  // port state while shown
        bool TimerRunning = false;
        bool RunningFace = false; // the window's batch face while shown
        bool Question = false;    // the window's own band question
    };
    struct FaceCall {
        std::int16_t ModeAtCall = -1;
        bool Result = false;
    };

    static constexpr std::u16string_view BandQuestion = u"The radio's band differs. Overwrite it?";

    // What the window can see of the world, for the records above.
    void Observe(const ModComm& comm, ModData& data, const VirtualClock& clock,
                 std::function<bool()> portOpen, std::function<bool()> timerRunning);

    void SetLangType(int langType) { langType_ = langType; }
    // Answers to OK/Cancel boxes, in order; OK once they run out.
    void ScriptAnswers(std::deque<MessageResult> answers) { answers_ = std::move(answers); }
    // The position of the "Frequency" list; none: no band in the window.
    void SetWindowBand(std::optional<std::int16_t> band) { windowBand_ = band; }
    std::optional<std::int16_t> WindowBand() const { return windowBand_; }
    // The operator's edits, run on every GetDataByShow before the band rule.
    void SetOnGetData(std::function<void(ModData&)> edit) { onGetData_ = std::move(edit); }

    // Asked with the image before each radio is written; every write goes
    // ahead when unset.
    void SetReadyToWrite(std::function<bool(const InfoImage&)> ready) {
        readyToWrite_ = std::move(ready);
    }

    // WindowSide
    int LangType() const override { return langType_; }
    void ShowByData() override;
    void GetDataByShow() override;
    bool ToggleBatchFace() override;
    void SetStatusLine(std::u16string_view text) override;
    void SetRadioNumber(std::u16string_view text) override;
    bool ReadyToWrite() override;
    MessageResult ShowMessage(std::u16string_view text, MessageButtons buttons,
                              MessageIcon icon) override;

    // Records
    const std::vector<Message>& Messages() const { return messages_; }
    // Texts of the boxes the protocol showed (the band question left out).
    std::vector<std::u16string> Texts() const;
    // Their first lines: what a failure is, without where and why.
    std::vector<std::u16string> FirstLines() const;
    std::size_t BandQuestions() const;
    const std::vector<RadioInfo>& Shown() const { return shown_; }
    int GetDataCalls() const { return getDataCalls_; }
    const std::vector<FaceCall>& FaceCalls() const { return faceCalls_; }
    bool RunningFace() const { return runningFace_; }
    const std::vector<std::u16string>& Label6History() const { return label6History_; }
    const std::vector<std::u16string>& Text2History() const { return text2History_; }
    const std::u16string& Label6() const { return label6_; }
    const std::u16string& Text2() const { return text2_; }

  private:
    MessageResult Record(std::u16string_view text, MessageButtons buttons, MessageIcon icon,
                         bool question);

    const ModComm* comm_ = nullptr;
    ModData* data_ = nullptr;
    const VirtualClock* clock_ = nullptr;
    std::function<bool()> portOpen_;
    std::function<bool()> timerRunning_;

    int langType_ = 1;
    std::deque<MessageResult> answers_;
    std::optional<std::int16_t> windowBand_;
    std::function<void(ModData&)> onGetData_;
    std::function<bool(const InfoImage&)> readyToWrite_;

    std::vector<Message> messages_;
    std::vector<RadioInfo> shown_;
    int getDataCalls_ = 0;
    std::vector<FaceCall> faceCalls_;
    bool runningFace_ = false;
    std::vector<std::u16string> label6History_;
    std::vector<std::u16string> text2History_;
    std::u16string label6_;
    std::u16string text2_;
};
