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
    if (options.restoreList) {
        return ListKeptReads();
    }
    if (options.restoreLatest) {
        return RestoreLatest(options);
    }
    if (!options.restoreFile) {
        return ExitUsage; // the parser asks for exactly one of the three
    }
    const std::optional<InfoImage> file = LoadRestoreFile(ToQString(*options.restoreFile));
    if (!file) {
        return ExitRestoreFile;
    }
    // The radio as it was is kept only once it has taken the restore.
    if (const int status = ReadRadio(false); status != ExitDone) {
        return status;
    }
    return RestoreImage(*file, options);
}

std::optional<InfoImage> CliSession::LoadRestoreFile(const QString& path,
                                                     const FileRefusals& refusals) {
    const ImageLoad load = LoadImageFile(path);
    if (!load.image) {
        load.sizeMismatch ? Say(CliText::NotAnImage, path)
                          : Say(CliText::FileUnreadable, path, load.reason);
        return std::nullopt;
    }
    if (!IsImageOfThisModel(*load.image)) {
        Say(refusals.notThisModel, path,
            ModelTextOf(*load.image) + u' ' + VersionTextOf(*load.image));
        return std::nullopt;
    }
    return load.image;
}

// The radio as the restore found it is kept before its first block is
// written, so no stop or failure on the way loses it, marked so that
// `restore --latest` never takes it. The radio read back is kept only when it
// holds the file's settings: a retry after any failure takes the same copy as
// the first try.
int CliSession::RestoreImage(const InfoImage& file, const CliOptions& options) {
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
    KeepImage(data_.Image, KeptReads::Kind::BeforeRestore);
    // The Write takes every dealer bit from the file as it is, not from the
    // window's fields.
    data_.RestoreImage = file;
    comm_.StartWrite();
    const int written = Wait();
    data_.RestoreImage.reset();
    if (written != ExitDone) {
        return written;
    }
    if (const int status = ReadRadio(false); status != ExitDone) {
        return status;
    }
    if (const QStringList differ = DealerDifferences(file, data_.Image); !differ.isEmpty()) {
        Say(CliText::RestoreMismatch, differ.join(QStringLiteral(", ")));
        return ExitNotRestored;
    }
    KeepImage(data_.Image);
    Say(CliText::RestoreVerified);
    return ExitDone;
}
