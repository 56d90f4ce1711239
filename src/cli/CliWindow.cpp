#include "CliWindow.h"

#include "CliTexts.h"
#include "EscapedText.h"

#include "protocol/Messages.h"
#include "record/InfoArea.h"
#include "system/QtText.h"

#include <QString>

#include <cstdio>
#include <utility>

namespace {
OperationEnd EndOf(std::u16string_view text) {
    if (text == Msg::ReadComplete || text == Msg::WriteComplete || text == Msg::MulWriteComplete) {
        return OperationEnd::Done;
    }
    if (text.starts_with(Msg::CannotOpenPort)) {
        return OperationEnd::PortError;
    }
    if (text.starts_with(Msg::CommunicationError)) {
        return OperationEnd::CommunicationError;
    }
    if (text.starts_with(Msg::ModelErrorTitle[0]) || text.starts_with(Msg::ModelErrorTitle[1])) {
        return OperationEnd::ModelError;
    }
    return OperationEnd::Running;
}
} // namespace

void PrintError(std::u16string_view text) {
    QString line = ToQString(text);
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

void PrintDiagnostic(std::u16string_view text) {
    QString lines = QStringLiteral("radioinfo-cli: ") + ToQString(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\n', QStringLiteral("\nradioinfo-cli: "));
    PrintError(ToU16(lines));
}

CliWindow::CliWindow(ModData& data, int langType) : data_(data), langType_(langType) {}

void CliWindow::ShowByData() {
    if (bandLine_) {
        PrintError(u"radioinfo-cli: " + *std::exchange(bandLine_, std::nullopt));
    }
    Shown = ShowFields(data_.Record);
    if (OnShown) {
        OnShown();
    }
}

// A copy that cannot be kept is said on its own line of stderr.
std::u16string CliWindow::RadioRead() {
    if (OnRadioRead) {
        OnRadioRead();
    }
    return {};
}

// The band byte as the radio just read holds it: a write then keeps it
// unless a band was asked for; a batch writes its own band into every radio.
void CliWindow::GetDataByShow() {
    RadioInfo& record = data_.Record;
    TakeFields(Shown, record);
    TakeBand(Shown.Combo1_1, record.BandCode, [this] { return OverwriteBand; });
    const int radioBand = data_.Image[static_cast<std::size_t>(AreaFieldNamed(u"BandCode").Start)];
    bandLine_.reset();
    if (record.BandCode != radioBand) {
        const auto number = [](int band) { return ToU16(QString::number(band)); };
        bandLine_ =
            CliTextFor(CliText::BandWritten, langType_, number(record.BandCode), number(radioBand));
    }
}

bool CliWindow::ToggleBatchFace() {
    const bool running = comm_ != nullptr && comm_->OperationMode == ModeMulWrite;
    if (running && OnIdleFace) {
        OnIdleFace();
    }
    return running;
}

void CliWindow::SetStatusLine(std::u16string_view text) {
    if (!text.empty() && !Quiet) {
        PrintError(text);
    }
}

// The core counts on to the radio after the last; the batch's own count is
// said at its end.
void CliWindow::SetRadioNumber(std::u16string_view text) {
    const bool pastTheBatch = comm_ != nullptr && comm_->MulWriteNo > comm_->MulWriteCount;
    if (!Quiet && !pastTheBatch) {
        PrintError(CliTextFor(CliText::RadioNo, langType_, text));
    }
}

bool CliWindow::ReadyToWrite() {
    return !OnReadyToWrite || OnReadyToWrite();
}

// The command line asks no questions: it has none of its own, and the
// window's band question is not put (GetDataByShow).
MessageResult CliWindow::ShowMessage(std::u16string_view text, MessageButtons buttons,
                                     MessageIcon) {
    if (buttons == MessageButtons::OkCancel) {
        return MessageResult::Cancel;
    }
    // The radio's messages of success stand alone, as in the window; its
    // failures are errors like the command line's own.
    const OperationEnd end = EndOf(text);
    if (end == OperationEnd::Done || end == OperationEnd::Running) {
        PrintError(RadioTextsEscaped(text));
    } else {
        PrintDiagnostic(RadioTextsEscaped(text));
    }
    LastMessage = text;
    Finish(end);
    return MessageResult::Ok;
}

// The radio's model and version texts, which a model error shows, escaped
// wherever they stand in a message.
std::u16string CliWindow::RadioTextsEscaped(std::u16string_view text) const {
    std::u16string shown(text);
    if (comm_ == nullptr) {
        return shown;
    }
    for (const std::u16string& raw : {comm_->RadioModelText, comm_->RadioVersionText}) {
        const std::u16string escaped = EscapeControls(raw);
        for (std::size_t at = shown.find(raw); escaped != raw && at != std::u16string::npos;
             at = shown.find(raw, at + escaped.size())) {
            shown.replace(at, raw.size(), escaped);
        }
    }
    return shown;
}

void CliWindow::Finish(OperationEnd end) {
    if (end == OperationEnd::Running) {
        return;
    }
    End = end;
    if (OnEnd) {
        OnEnd();
    }
}
