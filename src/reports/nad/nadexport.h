// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>
#include <vector>

namespace sw {

class Session;

// What the depository export selects: degree and college ranges. A blank (or "0")
// first field means the whole range, "0000" to "ZZZZ".
struct NadSelection
{
    QString fromDegree;
    QString toDegree;
    QString fromCollege;
    QString toCollege;
    // The regional-language columns (nameR, fatherNameR, motherNameR) hold the Kannada
    // names' Unicode reading; without it they stay empty, as the depository's layout has them.
    bool unicodeKannada = false;

    void normaliseRanges();
};

// A printed certificate of the ranges, with what the depository exports read of it.
struct AwardRecord
{
    QString regno;
    QString name;
    QString nameKan; // the Kannada names in the legacy font's codes, as stored
    QString fatherName;
    QString fatherNameKan;
    QString motherName;
    QString motherNameKan;
    QString sex;
    QString dob;   // dd/mm/yyyy text, as stored
    QString abcId; // the student's academic account ID (APAAR / ABC ID); empty when not entered
    QString degree;
    QString college;
    QString certNo;
    QString examDate; // "APRIL 2025"
    QString year;
    QString examType;
    QString classDesc;
    QString degreeName;
    QString degreeNameKan;
    QString speciality;
    QString specialityKan;
    QString courseCode;
    QString eventId;
    bool credit = false; // the degree is graded by credits
    QDate issued;

    // The name of its PDF copy: DC_<institution>_<regno>_F_<year>_<exam type>.pdf.
    QString copyName(const QString &instCode) const;
};

// A certificate the CDSL workbook leaves out: its PDF copy is not in CSV/DCPDF, or (for
// the signed copies of 003) the signed copy the row would name is not there or its
// signature is not valid. So the workbook never names a file that is not there.
struct MissingCopy
{
    QString regno;
    QString degree;
    QString college;
    QString certNo;
    QString fileName; // the copy looked for, under CSV/DCPDF
    QString reason;   // "no PDF copy", "not signed", or why its signed copy is refused
};

// The cells of one SHEET_01 row, by zero-based column; numbers are doubles.
using CdslRow = std::vector<std::pair<int, QVariant>>;

// The upload workbooks of the national academic depository, in the layout of either
// depository. Each is written under a temporary name and put under its own only when
// complete; nothing is written back to the database. A refusal (no candidates, the
// institution's depository id not set, a degree without its course code or event id,
// a result table or column missing) throws StopError before anything is written.
class NadExport
{
public:
    explicit NadExport(Session &session);

    // The default place of each workbook: Output/NAD_CDSL.xlsx, Output/NAD_NSDL.xlsx.
    QString defaultPath(bool cdsl) const;

    // HEAD, SHEET_01 (one row per printed certificate whose PDF copy exists) and TAIL.
    // Returns the number of certificate rows written. The certificates left out for a
    // missing copy are in missingCopies() afterwards and, when there are any, listed in
    // a CSV file beside the workbook (missingListPath()).
    int Gen_NAD_Report_CDSL(const NadSelection &selection, const QString &path);
    // Program (every degree) and Data (every non-withheld result of the result tables,
    // passes only when `passOnly`), through a temporary table of the connection.
    // Returns the number of result rows written.
    int Gen_NAD_Report_NSDL(bool passOnly, const QString &path);

    // The printed certificates of the ranges, in degree, college and register order;
    // throws StopError "No students found for the given range" when there are none.
    std::vector<AwardRecord> selectAwards(const NadSelection &selection) const;
    // The SHEET_01 row of a certificate: record number `recNo`, for institution 003 the
    // result "Pass", the grade or class, and the signed copy's name.
    static CdslRow cdslRow(const AwardRecord &award, int recNo, const QString &instCode, bool unicodeKannada);

    const std::vector<MissingCopy> &missingCopies() const { return m_missing; }
    // The reasons of a missing copy besides a signature that is not valid.
    static const QString kNoCopy;
    static const QString kNotSigned;
    static QString missingListPath(const QString &workbookPath);
    // The clerk's message about the certificates left out; empty when none were.
    QString missingMessage(const QString &workbookPath) const;

    // The tables and columns the NSDL layout reads from the result-processing database.
    static const std::vector<std::pair<QString, QStringList>> &resultColumns();
    static constexpr const char *kTemporaryTable = "tmpnaddetails";

private:
    void checkDegreeCodes(const NadSelection &selection) const;
    QString depositoryId() const;
    void checkResultTables() const;
    QString buildTemporaryTable(bool passOnly);
    void writeMissingList(const QString &workbookPath) const;
    // The certificates whose copy is in CSV/DCPDF; the others go to the missing list.
    std::vector<AwardRecord> withCopies(const std::vector<AwardRecord> &awards);
    static void writeCdslWorkbook(const QString &path, const QString &nadId, const std::vector<CdslRow> &rows);

    Session &m_session;
    std::vector<MissingCopy> m_missing;
};

} // namespace sw
