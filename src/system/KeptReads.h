#pragma once

#include "record/ModData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The file a durable save took, or why it took none.
struct SavedFile {
    QString path;
    std::optional<QString> failure;
};

// Saves bytes as a new file so that they are on disk when it returns: its
// folder made where missing, written, flushed, fsync'd, given the first of
// the names nameFor(1), nameFor(2), ... that no file has, and the folder
// fsync'd. It never replaces a file.
using DurableSave = std::function<SavedFile(const std::function<QString(int attempt)>& nameFor,
                                            const QByteArray& bytes)>;

// One kept copy of a radio's information area.
struct KeptRead {
    QString path;
    QDateTime utc;              // when it was kept, as its name records it
    std::int64_t number = 0;    // its place in the order of keeping; 0 for a copy named without one
    int sequence = 1;           // the -n of a copy named without a number
    bool beforeRestore = false; // the radio as a restore found it
    InfoImage image{};
};

// The radio's 256 bytes of every successful Read, so that a wrong Write can be
// undone: one file per Read in one folder, named by KeptReadName. Which copy
// is newer is the order of keeping, which the names count, whatever the
// clock said. A copy stays a year, and the last ten of each radio stay
// however old. Files of other names in the folder are never touched.
class KeptReads {
  public:
    static constexpr int LastKeptPerRadio = 10;

    enum class Kind {
        Read,
        BeforeRestore, // kept and listed, never the copy a restore takes by itself
    };

    // nowUtc names the copies and tells their age.
    KeptReads(QString folder, DurableSave save, std::function<QDateTime()> nowUtc);

    // $XDG_DATA_HOME/radioinfo/reads (~/.local/share/radioinfo/reads), on
    // Windows %LOCALAPPDATA%\radioinfo\reads.
    static QString DefaultFolder();
    // The save to disk the programs use: MakeFoldersDurably and
    // WriteNewFileDurably, the system's reason when they fail.
    static DurableSave DiskSave();
    const QString& Folder() const { return folder_; }

    // Keeps the image as the newest copy of its radio, then prunes. path is
    // empty when nothing was kept, and failure says why.
    struct Result {
        QString path;
        QString failure;
    };
    Result Keep(const InfoImage& image, Kind kind = Kind::Read) const;

    // The copies of the radio whose area is given, told by the bytes of its
    // serial number's field in each file (SerialField), newest first; none
    // when the radio's serial number proves nothing.
    std::vector<KeptRead> Of(const InfoImage& radio) const;
    // The newest of them that is not a restore's copy of the radio as found,
    // and that usable accepts (a copy of the model, say); copies it refuses
    // are passed over.
    std::optional<KeptRead> Latest(const InfoImage& radio,
                                   const std::function<bool(const InfoImage&)>& usable = {}) const;

    // Removes the copies older than a year, except each radio's last ten.
    void Prune() const;

  private:
    struct Named {
        QString serial; // the name's label
        KeptRead read;
    };
    // Every copy in the folder by its name, newest first; no file is read.
    std::vector<Named> All() const;
    std::int64_t NextNumber() const;
    void KeepFolderPrivate() const;

    QString folder_;
    DurableSave save_;
    std::function<QDateTime()> nowUtc_;
};
