// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <memory>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

// Writes a dBASE table of the ".cnv" result-file layout through shapelib: for the
// demo folder, the benchmarks and the tests, which never depend on files from elsewhere.
// Values are written as their bytes (texts in the legacy 8-bit form), so Kannada
// names go in unchanged. Throws std::runtime_error when the file cannot be written.
class CnvWriter
{
public:
    struct Field
    {
        QString name;
        char type = 'C'; // 'C' character, 'N' number, 'D' date (yyyymmdd)
        int width = 10;
        int decimals = 0;
    };

    CnvWriter(const QString &path, const std::vector<Field> &fields);
    ~CnvWriter();
    CnvWriter(const CnvWriter &) = delete;
    CnvWriter &operator=(const CnvWriter &) = delete;

    // One record, values in field order (missing ones blank). Numbers are right-aligned,
    // dates given as dd/mm/yyyy or yyyymmdd.
    void add(const QStringList &values);
    // Marks the last record written as deleted.
    void deleteLast();
    int records() const { return m_records; }
    void close();

    // The fields of a candidates file, with or without the directory run's extra ones.
    static std::vector<Field> candidateFields(bool directoryFields);
    static std::vector<Field> degreeFields();
    static std::vector<Field> collegeFields(bool withTown);

private:
    std::vector<Field> m_fields;
    QString m_path;
    QString m_writingPath;
    struct Handle; // shapelib's file handle
    std::unique_ptr<Handle> m_handle;
    int m_records = 0;
};

} // namespace sw
