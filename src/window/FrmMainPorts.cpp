// The port list Combo2: built at start-up, refreshed once a second, and the
// dealer's own pick remembered in the settings file.
#include "FrmMain.h"

#include "record/ModFun.h"
#include "system/StartPort.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QSignalBlocker>

namespace {
// Tells when a drop-down's popup opens and closes.
class PopupWatch : public QObject {
  public:
    PopupWatch(QObject* parent, std::function<void(bool open)> onChange)
        : QObject(parent), onChange_(std::move(onChange)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
            onChange_(event->type() == QEvent::Show);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void(bool)> onChange_;
};
} // namespace

void FrmMain::WatchPortPopup() {
    auto* watch = new PopupWatch(this, [this](bool open) {
        portPopupOpen_ = open;
        if (!open && portRefreshWaiting_) {
            portRefreshWaiting_ = false;
            // Queued: a pick that closes the list is taken before the refresh.
            QMetaObject::invokeMethod(this, &FrmMain::ReShowComPortTimer_Timer,
                                      Qt::QueuedConnection);
        }
    });
    // The view sits in the popup's own window, which is what opens and closes.
    Combo2->view()->window()->installEventFilter(watch);
}

// Refills the list without a pick: only a selection runs Combo2_Click.
void FrmMain::SetPortEntries(const std::vector<PortEntry>& entries) {
    const QSignalBlocker blocker(Combo2);
    Combo2->clear();
    for (const PortEntry& entry : entries) {
        Combo2->addItem(QString::fromStdU16String(entry.text));
        if (!entry.devicePath.empty()) {
            Combo2->setItemData(Combo2->count() - 1, QString::fromStdU16String(entry.devicePath),
                                Qt::ToolTipRole);
        }
    }
    Combo2->setCurrentIndex(-1);
    Combo2->setToolTip({});
    portEntries_ = entries;
}

// Selects an entry; the change runs Combo2_Click.
void FrmMain::SelectPort(const std::u16string& entry) {
    Combo2->setCurrentIndex(Combo2->findText(QString::fromStdU16String(entry)));
}

void FrmMain::BuildPortList() {
    if (FixedPortList) {
        std::vector<PortEntry> entries;
        for (const std::u16string& text : FixedComPortList()) {
            entries.push_back({text, {}});
        }
        SetPortEntries(entries);
        return;
    }
    portStamp_ = platform_.ports->ChangeStamp();
    std::vector<PortEntry> entries;
    firstPort_ = ListComPorts(entries, *platform_.ports);
    SetPortEntries(entries);
    comm_.ComPortNo = StartPortNumber(false, comm_.ComPortNo, EntryTexts(entries), firstPort_);
}

// Only the dealer's pick is saved: a port that is missing at start-up, as
// when the cable is not plugged in yet, stays the remembered one.
void FrmMain::ApplyPortSelection() {
    const std::u16string entry = ComPortText(comm_.ComPortNo);
    // A saved number the fixed list has no entry for selects nothing.
    if (comm_.ComPortNo == 0 || Combo2->findText(QString::fromStdU16String(entry)) < 0) {
        comm_.ComPortNo = 0;
        return;
    }
    SelectPort(entry);
}

// Any change of the selection, the dealer's or the refresh's.
void FrmMain::Combo2_Click() {
    Combo2->setToolTip(Combo2->currentData(Qt::ToolTipRole).toString());
    const std::optional<std::int16_t> portNo =
        PortNumberOfEntry(Combo2->currentText().toStdU16String());
    if (portNo) {
        comm_.ComPortNo = *portNo;
    }
}

// The dealer's own pick, with the mouse or the keyboard.
void FrmMain::Combo2_Pick() {
    const std::optional<std::int16_t> portNo =
        PortNumberOfEntry(Combo2->currentText().toStdU16String());
    if (!portNo) {
        return;
    }
    rememberedPort_ = *portNo;
    settings_.WriteComPort(*portNo);
}

void FrmMain::ReShowComPortTimer_Timer() {
    // Never rebuilt under the dealer: the refresh waits for the drop-down to close.
    if (portPopupOpen_) {
        portRefreshWaiting_ = true;
        return;
    }
    std::optional<PortStamp> stamp = platform_.ports->ChangeStamp();
    bool changed = false;
    if (!stamp || stamp != portStamp_) {
        // Stamped before the scan, so that a change during it shows next time.
        portStamp_ = std::move(stamp);
        std::vector<PortEntry> entries;
        firstPort_ = ListComPorts(entries, *platform_.ports);
        changed = entries != portEntries_;
        if (changed) {
            SetPortEntries(entries);
        }
    }
    // An unchanged list still gets a port when none is selected, as when the
    // saved number names no entry (COM5 against a listed COM05).
    if (changed || Combo2->currentIndex() < 0) {
        SelectRefreshedPort();
    }
}

void FrmMain::SelectRefreshedPort() {
    if (firstPort_ < 1) {
        comm_.ComPortNo = firstPort_;
        return;
    }
    const std::vector<std::u16string> texts = EntryTexts(portEntries_);
    // The remembered port wins back the selection the refresh moved away.
    if (rememberedPort_ > 0 && InComPorts(texts, rememberedPort_)) {
        SelectPort(ComPortText(rememberedPort_));
        return;
    }
    SelectPort(SelectListText(texts, ComPortText(comm_.ComPortNo)));
}
