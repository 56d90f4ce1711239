#include "doubles/FakeWindow.h"

#include "protocol/ModComm.h"

void FakeWindow::Observe(const ModComm& comm, ModData& data, const VirtualClock& clock,
                         std::function<bool()> portOpen, std::function<bool()> timerRunning) {
    comm_ = &comm;
    data_ = &data;
    clock_ = &clock;
    portOpen_ = std::move(portOpen);
    timerRunning_ = std::move(timerRunning);
}

void FakeWindow::ShowByData() {
    shown_.push_back(data_->Record);
    // The "Frequency" list follows the record's band when it has an entry for it.
    if (windowBand_ && (data_->Record.BandCode == 0 || data_->Record.BandCode == 1)) {
        windowBand_ = data_->Record.BandCode;
    }
}

void FakeWindow::GetDataByShow() {
    ++getDataCalls_;
    if (onGetData_) {
        onGetData_(*data_);
    }
    if (windowBand_ && *windowBand_ != data_->Record.BandCode) {
        const MessageResult answer =
            Record(BandQuestion, MessageButtons::OkCancel, MessageIcon::Exclamation, true);
        if (answer == MessageResult::Ok) {
            data_->Record.BandCode = *windowBand_;
        } else {
            windowBand_ = data_->Record.BandCode;
        }
    }
}

bool FakeWindow::ToggleBatchFace() {
    const std::int16_t mode = comm_ != nullptr ? comm_->OperationMode : std::int16_t{-1};
    const bool wasRunning = mode == ModeMulWrite;
    faceCalls_.push_back({mode, wasRunning});
    runningFace_ = !wasRunning;
    if (wasRunning) {
        text2_.clear();
        label6_.clear();
    }
    return wasRunning;
}

void FakeWindow::SetStatusLine(std::u16string_view text) {
    label6_ = text;
    label6History_.emplace_back(text);
}

void FakeWindow::SetRadioNumber(std::u16string_view text) {
    text2_ = text;
    text2History_.emplace_back(text);
}

MessageResult FakeWindow::ShowMessage(std::u16string_view text, MessageButtons buttons,
                                      MessageIcon icon) {
    return Record(text, buttons, icon, false);
}

MessageResult FakeWindow::Record(std::u16string_view text, MessageButtons buttons, MessageIcon icon,
                                 bool question) {
    Message m;
    m.Text = text;
    m.Buttons = buttons;
    m.Icon = icon;
    m.At = clock_ != nullptr ? clock_->Now() : 0;
    m.Mode = comm_ != nullptr ? comm_->OperationMode : std::int16_t{-1};
    m.PortOpen = portOpen_ ? portOpen_() : false;
    m.TimerRunning = timerRunning_ ? timerRunning_() : false;
    m.RunningFace = runningFace_;
    m.Question = question;
    messages_.push_back(m);
    if (buttons != MessageButtons::OkCancel) {
        return MessageResult::Ok;
    }
    if (answers_.empty()) {
        return MessageResult::Ok;
    }
    const MessageResult answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::u16string> FakeWindow::Texts() const {
    std::vector<std::u16string> texts;
    for (const Message& m : messages_) {
        if (!m.Question) {
            texts.push_back(m.Text);
        }
    }
    return texts;
}

std::vector<std::u16string> FakeWindow::FirstLines() const {
    std::vector<std::u16string> lines = Texts();
    for (std::u16string& line : lines) {
        line = line.substr(0, line.find(u"\r\n"));
    }
    return lines;
}

std::size_t FakeWindow::BandQuestions() const {
    std::size_t n = 0;
    for (const Message& m : messages_) {
        n += m.Question ? 1u : 0u;
    }
    return n;
}

bool FakeWindow::ReadyToWrite() {
    return !readyToWrite_ || readyToWrite_(data_->Image);
}
