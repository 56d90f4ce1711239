// restore: a saved information area's dealer settings back into its radio,
// byte for byte, then checked by reading the radio again.
#include "CliSession.h"
#include "ImageFile.h"
#include "RestoreCheck.h"
#include "system/QtText.h"
#include "system/RadioImageName.h"

// Nothing reaches the radio before the file is known to be this model's and
// this radio's, and the radio's own area is backed up when asked.
int CliSession::Restore(const CliOptions& options) {
    if (!options.restoreFile) {
        return ExitUsage; // --latest and --list: the kept reads' own commands
    }
    const QString path = ToQString(*options.restoreFile);
    const ImageLoad load = LoadImageFile(path);
    if (!load.image) {
        load.sizeMismatch ? Say(CliText::NotAnImage, path)
                          : Say(CliText::FileUnreadable, path, load.reason);
        return ExitRestoreFile;
    }
    const InfoImage file = *load.image;
    if (!IsImageOfThisModel(file)) {
        Say(CliText::NotThisModel, path, ModelTextOf(file) + u' ' + VersionTextOf(file));
        return ExitRestoreFile;
    }
    if (const int status = ReadRadio(); status != ExitDone) {
        return status;
    }
    if (!SameRadio(file, data_.Image) && !options.force) {
        const bool proven = SerialProof(file) && SerialProof(data_.Image);
        Say(proven ? CliText::OtherRadio : CliText::SerialProvesNothing, SerialNoOf(file),
            SerialNoOf(data_.Image));
        return ExitOtherRadio;
    }
    if (options.backupDir) {
        if (const int status = SaveBackup(ToQString(*options.backupDir)); status != ExitDone) {
            return status;
        }
    }
    // The Write takes every dealer bit from the file as it is, not from the
    // window's fields.
    data_.RestoreImage = file;
    comm_.StartWrite();
    const int written = Wait();
    data_.RestoreImage.reset();
    if (written != ExitDone) {
        return written;
    }
    if (const int status = ReadRadio(); status != ExitDone) {
        return status;
    }
    if (const QStringList differ = DealerDifferences(file, data_.Image); !differ.isEmpty()) {
        Say(CliText::RestoreMismatch, differ.join(QStringLiteral(", ")));
        return ExitNotRestored;
    }
    Say(CliText::RestoreVerified);
    return ExitDone;
}
