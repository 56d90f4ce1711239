// verify: the radio read and compared with a saved information area, every
// field of the area; nothing is written to the radio.
#include "AreaDifferences.h"
#include "CliSession.h"
#include "RecordPrinter.h"
#include "RestoreCheck.h"
#include "system/QtText.h"
#include "system/RadioImageName.h"

#include <cstdio>

// A file is checked as restore checks it, before the radio is read. The read
// is not kept: it would become the newest kept read, the one `restore
// --latest` and `verify --latest` take, so a radio found wrong could no
// longer be put back from the read before the wrong write.
int CliSession::Verify(const CliOptions& options) {
    std::optional<InfoImage> file;
    QString path;
    if (options.restoreFile) {
        path = ToQString(*options.restoreFile);
        file = LoadRestoreFile(path, VerifyRefusals);
        if (!file) {
            return ExitRestoreFile;
        }
    }
    if (const int status = ReadRadio(false); status != ExitDone) {
        return status;
    }
    if (options.restoreLatest) {
        KeptRead latest;
        if (const int status = LoadLatestKeptRead(latest, file.emplace(), VerifyRefusals);
            status != ExitDone) {
            return status;
        }
        path = latest.path;
        Say(CliText::VerifyingKept, path, ReadTime(latest.utc));
    } else if (!SameRadio(*file, data_.Image)) {
        const bool proven = SerialProof(*file) && SerialProof(data_.Image);
        Say(proven ? CliText::VerifyOtherRadio : CliText::VerifySerialProvesNothing,
            SerialNoOf(*file), SerialNoOf(data_.Image));
        return ExitOtherRadio;
    }
    const std::vector<FieldDifference> differences = AreaDifferences(data_.Image, *file);
    const std::string text =
        options.json ? DifferencesJson(differences) : DifferencesText(differences);
    std::fputs(text.c_str(), stdout);
    if (differences.empty()) {
        Say(CliText::VerifyEqual, path);
        return ExitDone;
    }
    Say(CliText::VerifyDiffers, path, QString::number(differences.size()));
    return ExitDiffers;
}
