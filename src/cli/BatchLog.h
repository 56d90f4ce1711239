#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

#include <optional>

// The CSV record of a batch: one row per radio, appended as the radio
// finishes and handed to the system at once, so an interrupted run keeps every
// row written so far. A new or empty file starts with a header row.
class BatchLog {
  public:
    // Opens the file for appending; on failure returns why.
    std::optional<QString> Open(const QString& path);
    bool IsOpen() const { return file_.isOpen(); }
    QString Path() const { return file_.fileName(); }

    struct Row {
        QDateTime utc;
        QString serialNo;
        QString model;
        QString result; // "written" or why not
        QString backup; // the backup file, if one was saved
    };
    // Appends one row; on failure returns why.
    std::optional<QString> Append(const Row& row);

  private:
    std::optional<QString> WriteLine(const QStringList& cells);

    QFile file_;
};
