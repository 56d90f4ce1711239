// The Read, Write and batch buttons, and the face the window shows while an
// operation runs.
#include "FrmMain.h"

#include "WindowTexts.h"

#include <optional>

namespace {
// The batch radio count: a whole number in the 32-bit range.
std::optional<std::int32_t> RadioCount(const QString& text) {
    bool ok = false;
    const int count = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<std::int32_t>(count) : std::nullopt;
}
} // namespace

// A second click would close and reopen the port in the middle of the
// exchange and could leave a radio half-written, so it is ignored.
void FrmMain::Command1_Click() {
    if (SingleOperationRunning()) {
        return;
    }
    comm_.StartRead();
    ShowOperationFace();
}

void FrmMain::Command2_Click() {
    if (SingleOperationRunning()) {
        return;
    }
    comm_.StartWrite();
    ShowOperationFace();
}

// Every Read is kept, so that a wrong Write can be undone. The Read itself
// has succeeded; a copy that cannot be kept is told under "Read Complete!",
// so the dealer does not count on an undo that is not there.
std::u16string FrmMain::RadioRead() {
    const KeptReads::Result kept = keptReads_.Keep(Data.Image);
    if (kept.failure.isEmpty()) {
        return {};
    }
    return QString(
               QString::fromStdU16String(std::u16string(WindowTexts::ReadNotKept.In(LangTypeValue)))
                   .arg(kept.failure))
        .toStdU16String();
}

void FrmMain::Command3_Click() {
    close();
}

void FrmMain::Command4_Click() {
    if (SingleOperationRunning()) {
        return;
    }
    if (comm_.DeferStopMulWrite()) {
        return; // the radio on the cable is finished first; the batch then stops
    }
    std::optional<std::int32_t> count;
    if (comm_.OperationMode != ModeMulWrite) {
        // A batch starts only with a count it can compare radios against.
        count = RadioCount(Text2[0]->text());
        if (!count) {
            ShowMessage(WindowTexts::RadioCountNotWhole.In(LangTypeValue), MessageButtons::Ok,
                        MessageIcon::Exclamation);
            return;
        }
    }
    if (ShowStartMulWrite()) {
        comm_.StopMulWrite();
        return;
    }
    comm_.StartMulWrite(*count);
}

bool FrmMain::ShowStartMulWrite() {
    const bool wasRunning = comm_.OperationMode == ModeMulWrite;
    batchFace_ = !wasRunning;
    if (wasRunning) {
        Text2[1]->clear();
        SetStatusLine(u"");
    }
    const WindowText caption = batchFace_ ? WindowTexts::StopMulWrite : WindowTexts::MulWrite;
    Command4->setText(QString::fromStdU16String(std::u16string(caption.In(LangTypeValue))));
    ShowOperationFace();
    return wasRunning;
}

// A Read or Write runs from its start until its port is closed again: by
// completion, a communication error, a model error or the window's close.
bool FrmMain::SingleOperationRunning() const {
    const bool single = comm_.OperationMode == ModeRead || comm_.OperationMode == ModeWrite;
    return single && serial_->PortOpen();
}

// While a Read or Write runs, its buttons and the batch button are disabled
// and the cursor is busy; a batch keeps Stop and disables Read and Write.
// The fields stay editable: a batch reads them again for every radio.
void FrmMain::ShowOperationFace() {
    const bool running = SingleOperationRunning();
    if (running && (focusWidget() == Command1 || focusWidget() == Command2)) {
        // Disabling the focused button would pass the focus on to Exit.
        focusedButton_ = focusWidget();
        setFocus();
    }
    Command1->setEnabled(!running && !batchFace_);
    Command2->setEnabled(!running && !batchFace_);
    Command4->setEnabled(!running);
    if (running) {
        setCursor(Qt::WaitCursor);
        return;
    }
    unsetCursor();
    if (focusedButton_ && focusedButton_->isEnabled()) {
        focusedButton_->setFocus();
    }
    focusedButton_.clear();
}
