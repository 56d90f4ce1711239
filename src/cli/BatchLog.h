#pragma once

#include "system/DurableFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The CSV record of a batch: one row per radio, appended as the radio
// finishes, in one write and synced before the radio counts as logged, so an
// interrupted run keeps every row written so far and a failed one leaves no
// half row behind (RecordFile). A new or empty file starts with a header row.
class BatchLog {
  public:
    // Opens the file for appending; on failure returns the system's reason.
    std::optional<QString> Open(const QString& path);
    bool IsOpen() const { return file_.IsOpen(); }
    QString Path() const { return path_; }

    struct Row {
        QDateTime utc;
        QString serialNo; // empty when none was read from this radio
        QString model;
        QString result; // "written" or why not
        QString backup; // the backup file, if one was saved
    };
    // Appends one row; on failure returns the system's reason, and the log
    // takes no more rows.
    std::optional<QString> Append(const Row& row);

  private:
    RecordFile file_;
    QString path_;
};

// One cell as a spreadsheet should take it: the line breaks of a message
// become spaces and other control characters are escaped, a cell that would
// be taken for a formula (=, +, -, @, tab or CR first) gets a leading ', and
// one with a comma or a quote is quoted.
QString CsvCell(const QString& text);
