// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/importtally.h"

#include "shell/core/appfolder.h"
#include "shell/core/csvwriter.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

QString ImportCounts::summaryLine() const
{
    return u"total records: %1, imported records: %2, refreshed: %3, printed left alone: %4, skipped: %5, rejected: %6"_s
        .arg(total)
        .arg(inserted)
        .arg(refreshed)
        .arg(frozen)
        .arg(skipped)
        .arg(rejected);
}

QString importedMessage(const ImportCounts &counts)
{
    QString text = u"Imported Successfully\r\rTotal Records: "_s + QString::number(counts.total)
                   + u"\rImported Records: "_s + QString::number(counts.inserted) + u"\rRefreshed Records: "_s
                   + QString::number(counts.refreshed) + u"\rPrinted, Left Alone: "_s + QString::number(counts.frozen)
                   + u"\rSkipped Records: "_s + QString::number(counts.skipped) + u"\rRejected Records: "_s
                   + QString::number(counts.rejected);
    if (!counts.rejectFile.isEmpty())
        text += u"\r\rThe skipped and rejected records are listed in "_s + QDir::toNativeSeparators(counts.rejectFile);
    for (const QString &warning : counts.warnings)
        text += u"\r"_s + warning;
    return text;
}

void showImported(Prompter &prompter, const ImportCounts &counts)
{
    prompter.showList(importedMessage(counts), counts.rejectLines, u"Message"_s, PromptIcon::Information);
}

QString RejectFile::pathBeside(const QString &inputPath) { return inputPath + u".rejected.csv"_s; }

RejectFile::RejectFile(const QString &inputPath, const AppFolder &folder, const QString &placeName,
                       QStringList fieldNames, legacytext::Encoding encoding)
    : m_inputPath(inputPath)
    , m_fallback(folder.filePath(u"CSV/"_s + QFileInfo(inputPath).fileName() + u".rejected.csv"_s))
    , m_placeName(placeName)
    , m_fieldNames(std::move(fieldNames))
    , m_encoding(encoding)
{
    // What is there belongs to an earlier run; left, it would be taken for this one's.
    QFile::remove(pathBeside(inputPath));
    QFile::remove(m_fallback);
}

RejectFile::~RejectFile()
{
    if (m_file)
        m_file->close();
}

void RejectFile::open()
{
    for (const QString &candidate : {pathBeside(m_inputPath), m_fallback}) {
        QDir().mkpath(QFileInfo(candidate).absolutePath());
        auto file = std::make_unique<QFile>(candidate);
        if (file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            m_file = std::move(file);
            m_path = candidate;
            // A spreadsheet program tells UTF-8 by its byte-order mark.
            if (m_encoding == legacytext::Encoding::Utf8)
                m_file->write("\xEF\xBB\xBF");
            writeLine(QStringList{m_placeName, u"outcome"_s, u"field"_s, u"value"_s, u"reason"_s} + m_fieldNames);
            return;
        }
    }
    throw StopError(u"The list of rejected records cannot be written beside "_s + m_inputPath + u" nor to "_s
                    + m_fallback + u'.');
}

void RejectFile::writeLine(const QStringList &fields)
{
    QList<QByteArray> encoded;
    for (const QString &field : fields)
        encoded.append(legacytext::encode(field, m_encoding));
    const QByteArray line = csv::record(encoded, csv::Quote::All) + "\r\n";
    if (m_file->write(line) != line.size())
        throw StopError(u"The list of rejected records "_s + m_path + u" cannot be written: "_s
                        + m_file->errorString());
}

void RejectFile::add(int place, const QString &outcome, const QString &field, const QString &value,
                     const QString &reason, const QStringList &fields)
{
    if (!m_file)
        open();
    m_written = true;
    writeLine(QStringList{QString::number(place), outcome, field, value, reason} + fields);
    // Written through at once: a run that stops still leaves every record it named.
    m_file->flush();
    ++m_records;
    QString line = m_placeName + u' ' + QString::number(place) + u", "_s + outcome + u": "_s;
    if (!field.isEmpty())
        line += field + u" \""_s + value + u"\": "_s;
    m_lines << line + reason;
}

ImportTally::ImportTally(const QString &inputPath, const AppFolder &folder, const QString &placeName,
                         QStringList fieldNames, legacytext::Encoding encoding)
    : m_rejects(inputPath, folder, placeName, std::move(fieldNames), encoding)
{
}

void ImportTally::skip(int place, const QString &reason, const QStringList &fields, const QString &field,
                       const QString &value)
{
    m_rejects.add(place, u"skipped"_s, field, value, reason, fields);
    ++m_counts.skipped;
}

void ImportTally::reject(int place, const QString &field, const QString &value, const QString &reason,
                         const QStringList &fields)
{
    m_rejects.add(place, u"rejected"_s, field, value, reason, fields);
    ++m_counts.rejected;
}

void ImportTally::note(int place, const QString &outcome, const QString &field, const QString &value,
                       const QString &reason, const QStringList &fields)
{
    m_rejects.add(place, outcome, field, value, reason, fields);
}

void ImportTally::warn(const QString &text)
{
    if (!m_counts.warnings.contains(text))
        m_counts.warnings << text;
}

ImportCounts ImportTally::finish()
{
    m_counts.rejectFile = m_rejects.path();
    m_counts.rejectLines = m_rejects.lines();
    return m_counts;
}

std::optional<QString> storableTextProblem(const QString &value, int width)
{
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F)
            return u"holds the control character 0x"_s + QString::number(int(u), 16).rightJustified(2, u'0').toUpper();
    }
    if (width > 0 && value.size() > width)
        return u"holds %1 characters; the column takes %2"_s.arg(value.size()).arg(width);
    return std::nullopt;
}

} // namespace sw
