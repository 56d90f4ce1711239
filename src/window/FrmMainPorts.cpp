// The port list Combo2: built at start-up, refreshed once a second, and the
// chosen port remembered in the settings file.
#include "FrmMain.h"

#include "record/ModFun.h"
#include "system/StartPort.h"

#include <QSignalBlocker>

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
    std::vector<PortEntry> entries;
    const std::int16_t first = ListComPorts(entries, *platform_.ports);
    SetPortEntries(entries);
    comm_.ComPortNo = StartPortNumber(false, comm_.ComPortNo, EntryTexts(entries), first);
}

void FrmMain::ApplyPortSelection() {
    const std::u16string entry = ComPortText(comm_.ComPortNo);
    // A saved number the fixed list has no entry for selects nothing.
    if (comm_.ComPortNo == 0 || Combo2->findText(QString::fromStdU16String(entry)) < 0) {
        comm_.ComPortNo = 0;
        return;
    }
    SelectPort(entry);
    settings_.WriteComPort(comm_.ComPortNo);
}

void FrmMain::Combo2_Click() {
    const std::u16string text = Combo2->currentText().toStdU16String();
    const std::optional<std::int16_t> portNo = PortNumberOfEntry(text);
    if (!portNo) {
        return;
    }
    comm_.ComPortNo = *portNo;
    settings_.WriteComPort(*portNo);
}

void FrmMain::ReShowComPortTimer_Timer() {
    std::vector<PortEntry> entries;
    const std::int16_t first = ListComPorts(entries, *platform_.ports);
    // An unchanged list stays as it is: an open drop-down stays open.
    if (entries == portEntries_) {
        return;
    }
    SetPortEntries(entries);
    if (first < 1) {
        comm_.ComPortNo = first;
        return;
    }
    SelectPort(SelectListText(EntryTexts(entries), ComPortText(comm_.ComPortNo)));
}
