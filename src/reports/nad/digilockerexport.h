// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/nad/nadexport.h"
#include "shell/core/institutionconfig.h"
#include "shell/signing/pdfsignature.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

class AppFolder;
class Session;

// A certificate the upload leaves out, and why.
struct DigiLockerRefusal
{
    QString regno;
    QString certNo;
    QString reason; // "GENDER is "X", not M, F or T"
};

// What an upload run wrote.
struct DigiLockerResult
{
    int written = 0;
    std::vector<DigiLockerRefusal> refused;
    QStringList parts; // the ZIP files written, in order

    // "12 certificate(s) written to A.zip, B.zip; 2 refused:" and a line per refusal.
    QString summary() const;
    // Its first line, and the refusals a line each ("2KD0121121 (DC000123): reason").
    QString headline() const;
    QStringList refusalLines() const;
};

// The award upload of DigiLocker, where the national academic depository now lives: a
// CSV in the columns of the issuer's template (UTF-8, regional-language "_L" columns in
// Unicode) and the signed PDF copy of each row, in ZIP files of at most 10 MB, each with
// the CSV of its own rows. Made in three steps, as the CDSL workbook: the selection of
// printed certificates (NadExport::selectAwards), the row of each with its check, and
// the writer. A row that fails its check is listed and left out; the others are written.
class DigiLockerExport
{
public:
    static constexpr const char *kTemplateFile = "DigiLocker.csv";
    static constexpr qint64 kPartLimit = 10 * 1000 * 1000;

    explicit DigiLockerExport(Session &session);

    // The columns shipped with the program, in the order of the published template.
    static const QStringList &defaultColumns();
    // The template's columns: the first line of DigiLocker.csv in the application
    // folder, the default ones without it. A header that is empty or names a column
    // twice throws StopError naming the file.
    static QStringList templateColumns(const AppFolder &folder);
    // The columns the check requires filled (of those the template has).
    static const QStringList &mandatoryColumns();

    // The value of each template column for a certificate; columns this system has no
    // data for are empty.
    QStringList rowValues(const QStringList &columns, const AwardRecord &award) const;
    // Why the row cannot be uploaded, or empty: a mandatory column empty, a date that is
    // not dd/mm/yyyy, a gender other than M, F or T, no signed copy or one whose
    // signature is not valid.
    QString rowProblem(const QStringList &columns, const QStringList &values, const QString &signedPath) const;

    // Selects, checks and writes the certificates of the ranges into `zipPath` (or, when
    // they do not fit in one part, into <name>_part1.zip, <name>_part2.zip, ...); no file
    // when no row passes its checks.
    DigiLockerResult run(const NadSelection &selection, const QString &zipPath, qint64 partLimit = kPartLimit);

    // The name of a certificate's signed copy (DC_..._signed.pdf, the suffix of Institution.ini).
    QString signedCopyName(const AwardRecord &award) const;

private:
    // A checked row, ready to be written.
    struct Row
    {
        QString regno;
        QString certNo;
        QByteArray csv;  // its CSV record
        QString pdfName; // the name its file-name column gives
        QString pdfPath;
        qint64 pdfSize = 0;
    };
    QStringList writeParts(const QStringList &columns, const std::vector<Row> &rows, const QString &zipPath,
                           qint64 partLimit, DigiLockerResult &result) const;

    // The files of CSV/DCPDF by their names in lower case, listed once per export: the
    // copies were made on a system that does not tell "X.PDF" from "x.pdf".
    QString copyPath(const QString &name) const;

    Session &m_session;
    QHash<QString, QString> m_copies;
    // Read once per export, not once per row.
    InstitutionConfig m_config;
    SignatureSettings m_signing;
};

} // namespace sw
