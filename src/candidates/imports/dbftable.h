// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <memory>
#include <QString>

namespace sw {

// A dBASE table (".cnv" result files) read through shapelib, record by record, so
// memory stays the same whatever the file's size. Character fields are taken as the
// file's bytes and held in the legacy 8-bit form (Kannada names come back unchanged);
// shapelib's own string reader is not used because it converts and trims.
// Not copyable; one reader per file.
class DbfTable
{
public:
    // Opens `path` read-only; its name must end in ".dbf", because shapelib opens the
    // file under that extension whatever it is given (imports read a working copy so
    // named). Throws StopError naming the file when it is not a dBASE table, when its
    // field descriptors are damaged or not closed by 0x0D, when the fields do not make
    // up the record length, or when the file holds fewer or more records than its
    // header announces (a cut-off copy; records the header does not count).
    // `displayName` is how messages name the file (the working copy is read under
    // another name); the file's own name when empty.
    explicit DbfTable(const QString &path, const QString &displayName = {});
    ~DbfTable();
    DbfTable(const DbfTable &) = delete;
    DbfTable &operator=(const DbfTable &) = delete;

    const QString &path() const { return m_path; }
    const QString &displayName() const { return m_displayName; }
    // Records in the file, deleted ones included; numbered from 0 here.
    int recordCount() const;
    int fieldCount() const;
    QString fieldName(int field) const;
    char fieldType(int field) const;
    // The field's index, the name compared without regard to case; -1 when absent.
    int fieldIndex(const QString &name) const;

    // Moves to `record`; false when it cannot be read.
    bool read(int record);
    // Of the record last read.
    bool isDeleted() const;
    // Whether the record begins as every record must, with ' ' or '*'.
    bool hasDeletionFlag() const;
    // A memo, binary or general field: its contents live in a memo file, which no import reads.
    bool isMemo(int field) const;
    QByteArray raw(int field) const;
    // The value as text, blanks trimmed: character fields as their bytes, numbers as
    // written ("600.50" -> "600.5", blank -> ""), dates as dd/mm/yyyy (blank -> "").
    QString text(int field) const;

private:
    QString m_path;
    QString m_displayName;
    struct Handle; // shapelib's file handle
    std::unique_ptr<Handle> m_handle;
    const char *m_record = nullptr;
};

} // namespace sw
