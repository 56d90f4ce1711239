// restore: a saved information area's dealer settings back into its radio,
// through the same Read and Write a dealer uses, then checked by reading again.
#include "CliSession.h"
#include "ImageFile.h"

#include <QStringList>

namespace {
QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// What a dealer may change, as the window's fields hold it: a restore writes
// these and nothing else, and checks these afterwards.
struct DealerField {
    const char* name;
    std::size_t index; // in Text1
};

const DealerField DealerFields[] = {
    {"DealerCode", 8}, {"StockDate", 9}, {"SellDate", 10}, {"Seller", 11}, {"ProgPassWord", 12},
};

const std::pair<const char*, std::int16_t FormFields::*> DealerFlags[] = {
    {"FreqSet", &FormFields::Check8},
    {"Stun", &FormFields::Check2},
    {"Kill", &FormFields::Check3},
};

// The file's dealer settings into the fields a Write takes, as a dealer would
// type them; a band the Frequency list has no entry for leaves the radio's.
void TakeDealerSettings(const FormFields& file, FormFields& shown, bool& overwriteBand) {
    for (const DealerField& field : DealerFields) {
        shown.Text1[field.index] = file.Text1[field.index];
    }
    for (const auto& [name, flag] : DealerFlags) {
        shown.*flag = file.*flag;
    }
    overwriteBand = file.Combo1_1 >= 0;
    if (overwriteBand) {
        shown.Combo1_1 = file.Combo1_1;
    }
}

// The names of the dealer settings in which the radio differs from the file.
QStringList Differences(const FormFields& file, const FormFields& radio) {
    QStringList names;
    for (const DealerField& field : DealerFields) {
        if (file.Text1[field.index] != radio.Text1[field.index]) {
            names << QString::fromLatin1(field.name);
        }
    }
    for (const auto& [name, flag] : DealerFlags) {
        if (file.*flag != radio.*flag) {
            names << QString::fromLatin1(name);
        }
    }
    if (file.Combo1_1 >= 0 && file.Combo1_1 != radio.Combo1_1) {
        names << QStringLiteral("BandCode");
    }
    return names;
}
} // namespace

int CliSession::Restore(const CliOptions& options) {
    const QString path = ToQString(*options.restoreFile);
    const ImageLoad load = LoadImageFile(path);
    if (!load.image) {
        load.sizeMismatch ? Say(CliText::NotAnImage, path)
                          : Say(CliText::FileUnreadable, path, load.reason);
        return ExitRestoreFile;
    }
    ModData saved;
    saved.Image = *load.image;
    saved.UnpackImage();
    const FormFields file = ShowFields(saved.Record);

    if (const int status = ReadRadio(); status != ExitDone) {
        return status;
    }
    if (saved.Record.SerialNo != data_.Record.SerialNo && !options.force) {
        Say(CliText::OtherRadio, ToQString(file.Text1[1]), ToQString(window_.Shown.Text1[1]));
        return ExitOtherRadio;
    }
    TakeDealerSettings(file, window_.Shown, window_.OverwriteBand);
    comm_.StartWrite();
    if (const int status = Wait(); status != ExitDone) {
        return status;
    }
    if (const int status = ReadRadio(); status != ExitDone) {
        return status;
    }
    if (const QStringList differ = Differences(file, window_.Shown); !differ.isEmpty()) {
        Say(CliText::RestoreMismatch, differ.join(QStringLiteral(", ")));
        return ExitNotRestored;
    }
    Say(CliText::RestoreVerified);
    return ExitDone;
}
