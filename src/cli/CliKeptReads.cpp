// The kept reads on the command line: every Read keeps the radio's area, as
// the window's do, and `restore --latest` and `restore --list` find them again.
#include "CliSession.h"
#include "RestoreCheck.h"
#include "system/RadioImageName.h"

#include <cstdio>

// When a copy was read, in the dealer's own time and zone, as its name
// recorded it.
QString CliSession::ReadTime(const QDateTime& utc) {
    return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"));
}

void CliSession::KeepRead() {
    if (keepRead_) {
        KeepImage(data_.Image);
    }
}

void CliSession::KeepImage(const InfoImage& image, KeptReads::Kind kind) {
    const KeptReads::Result kept = keptReads_.Keep(image, kind);
    if (!kept.failure.isEmpty()) {
        Say(CliText::KeepFailed, keptReads_.Folder(), kept.failure);
    }
}

// Only a radio whose serial number proves it can have copies: any other
// would take another radio's. --force does not change that.
bool CliSession::SerialProvesRadio(const FileRefusals& refusals) {
    if (SerialProof(data_.Image)) {
        return true;
    }
    Say(refusals.noProvenKeptRead, SerialNoOf(data_.Image));
    return false;
}

// The radio is read first for its serial number, and kept only once it has
// taken the restore. The copy it takes is never one a restore kept of a radio
// as it found it, so a retry after any failure takes the same copy again.
int CliSession::RestoreLatest(const CliOptions& options) {
    if (const int status = ReadRadio(false); status != ExitDone) {
        return status;
    }
    KeptRead latest;
    InfoImage file{};
    if (const int status = LoadLatestKeptRead(latest, file, RestoreRefusals); status != ExitDone) {
        return status;
    }
    Say(CliText::RestoringKept, latest.path, ReadTime(latest.utc));
    // A Read made after the wrong Write is the newest copy, or a restore
    // already wrote it: writing it would change nothing.
    if (DealerDifferences(file, data_.Image).isEmpty()) {
        Say(CliText::KeptAlreadyHeld);
        return ExitDone;
    }
    return RestoreImage(file, options);
}

int CliSession::LoadLatestKeptRead(KeptRead& latest, InfoImage& file,
                                   const FileRefusals& refusals) {
    if (!SerialProvesRadio(refusals)) {
        return ExitOtherRadio;
    }
    // A copy of another model (a file put there by hand) is passed over: it
    // would only be refused.
    const std::optional<KeptRead> found = keptReads_.Latest(data_.Image, IsImageOfThisModel);
    if (!found) {
        Say(refusals.noKeptRead, SerialNoOf(data_.Image), keptReads_.Folder());
        return ExitRestoreFile;
    }
    const std::optional<InfoImage> loaded = LoadRestoreFile(found->path, refusals);
    if (!loaded) {
        return ExitRestoreFile;
    }
    latest = *found;
    file = *loaded;
    return ExitDone;
}

// A look only: nothing is written to the radio, and its read is not kept,
// or it would become the copy `restore --latest` takes.
int CliSession::ListKeptReads() {
    if (const int status = ReadRadio(false); status != ExitDone) {
        return status;
    }
    if (!SerialProvesRadio()) {
        return ExitOtherRadio;
    }
    const std::vector<KeptRead> reads = keptReads_.Of(data_.Image);
    if (reads.empty()) {
        Say(CliText::NoKeptRead, SerialNoOf(data_.Image), keptReads_.Folder());
        return ExitRestoreFile;
    }
    for (const KeptRead& read : reads) {
        const QString line = read.path + u'\t' + ReadTime(read.utc) + u'\n';
        std::fputs(line.toUtf8().constData(), stdout);
    }
    return ExitDone;
}
