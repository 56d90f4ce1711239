// The kept reads on the command line: every Read keeps the radio's area, as
// the window's do, and `restore --latest` and `restore --list` find them again.
#include "CliSession.h"
#include "RestoreCheck.h"
#include "system/RadioImageName.h"

#include <cstdio>

namespace {
// When a copy was read, in the dealer's own time and zone.
QString ReadTime(const QDateTime& utc) {
    return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"));
}
} // namespace

void CliSession::KeepRead() {
    if (keepRead_) {
        KeepImage(data_.Image);
    }
}

void CliSession::KeepImage(const InfoImage& image) {
    const KeptReads::Result kept = keptReads_.Keep(image);
    if (!kept.failure.isEmpty()) {
        Say(CliText::KeepFailed, keptReads_.Folder(), kept.failure);
    }
}

// The radio is read first for its serial number, and kept only once it has
// taken the restore: until then the copy to restore stays the newest.
int CliSession::RestoreLatest(const CliOptions& options) {
    if (const int status = ReadRadio(false); status != ExitDone) {
        return status;
    }
    const QString serialNo = SerialNoOf(data_.Image);
    const std::optional<KeptRead> newest = keptReads_.Newest(serialNo);
    if (!newest) {
        Say(CliText::NoKeptRead, serialNo, keptReads_.Folder());
        return ExitRestoreFile;
    }
    const std::optional<InfoImage> file = LoadRestoreFile(newest->path);
    if (!file) {
        return ExitRestoreFile;
    }
    Say(CliText::RestoringKept, newest->path, ReadTime(newest->utc));
    // A Read made after the wrong Write is the newest copy: restoring it would
    // change nothing, and the dealer is told where the older ones are.
    if (SameRadio(*file, data_.Image) && DealerDifferences(*file, data_.Image).isEmpty()) {
        Say(CliText::KeptAlreadyHeld);
        return ExitDone;
    }
    return RestoreImage(*file, options);
}

// A look only: nothing is written to the radio, and its read is not kept,
// or it would become the copy `restore --latest` takes.
int CliSession::ListKeptReads() {
    if (const int status = ReadRadio(false); status != ExitDone) {
        return status;
    }
    const QString serialNo = SerialNoOf(data_.Image);
    const std::vector<KeptRead> reads = keptReads_.List(serialNo);
    if (reads.empty()) {
        Say(CliText::NoKeptRead, serialNo, keptReads_.Folder());
        return ExitRestoreFile;
    }
    for (const KeptRead& read : reads) {
        const QString line = read.path + u'\t' + ReadTime(read.utc) + u'\n';
        std::fputs(line.toUtf8().constData(), stdout);
    }
    return ExitDone;
}
