#pragma once

#include "record/ModData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Saves bytes as the file at path so that they are on disk when it returns:
// written, flushed, fsync'd, renamed into place and the folder fsync'd.
// nullopt when every step succeeded, else why not.
using DurableSave =
    std::function<std::optional<QString>(const QString& path, const QByteArray& bytes)>;

// One kept copy of a radio's information area.
struct KeptRead {
    QString path;
    QDateTime utc; // when it was read, as its name says
    int sequence = 1;
};

// The radio's 256 bytes of every successful Read, so that a wrong Write can be
// undone: one file per Read in one folder, named by RadioImagePath. A copy
// stays a year, and the last ten of each serial number stay however old.
// Files of other names in the folder are never touched.
class KeptReads {
  public:
    static constexpr int LastKeptPerRadio = 10;

    // nowUtc names the copies and tells their age.
    KeptReads(QString folder, DurableSave save, std::function<QDateTime()> nowUtc);

    // $XDG_DATA_HOME/radioinfo/reads (~/.local/share/radioinfo/reads), on
    // Windows %LOCALAPPDATA%\radioinfo\reads.
    static QString DefaultFolder();
    // The save to disk the programs use: WriteFileDurably, the system's reason
    // when it fails.
    static DurableSave DiskSave();
    const QString& Folder() const { return folder_; }

    // Keeps the image as its radio's newest copy, then prunes. path is empty
    // when nothing was kept, and failure says why.
    struct Result {
        QString path;
        QString failure;
    };
    Result Keep(const InfoImage& image) const;

    // The copies kept of one serial number, newest first.
    std::vector<KeptRead> List(const QString& serialNo) const;
    std::optional<KeptRead> Newest(const QString& serialNo) const;

    // Removes the copies older than a year, except each serial number's last ten.
    void Prune() const;

  private:
    struct Named {
        QString serial;
        KeptRead read;
    };
    // Every copy in the folder, newest first.
    std::vector<Named> All() const;
    void MakeFolder() const;

    QString folder_;
    DurableSave save_;
    std::function<QDateTime()> nowUtc_;
};
