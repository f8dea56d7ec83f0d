// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/nad/nadexport.h"
#include "shell/db/database.h"

#include <QStringList>

namespace sw::test {

// The examination-result tables that the result-processing system keeps in the same
// database, made here with the columns the NSDL workbook reads (all text).

inline void addDegreeResultColumns(Database &db)
{
    for (const QString &column : {QStringLiteral("FEXAMNO VARCHAR(4)"), QStringLiteral("FYEAR VARCHAR(4)"),
                                  QStringLiteral("FEXAMTYPE VARCHAR(1)"), QStringLiteral("FEXAMDATE VARCHAR(50)"),
                                  QStringLiteral("FEXAMNAME VARCHAR(100)"), QStringLiteral("FMAXTYPE VARCHAR(10)")})
        db.exec(db.dialect().addColumn(QStringLiteral("degree"), column));
    db.exec(
        QStringLiteral("update degree set fexamno = '6', fyear = '2025', fexamtype = '1', fexamdate = 'APRIL 2025', "
                       "fexamname = 'VI SEMESTER', fmaxtype = 'M'"));
}

// Every table but those named in `leaveOut` ("resultC"), each without the columns named
// there ("student.fgroup").
inline void createResultTables(Database &db, const QStringList &leaveOut = {})
{
    for (const auto &[table, columns] : NadExport::resultColumns()) {
        if (table == QStringLiteral("degree") || leaveOut.contains(table))
            continue;
        QStringList definitions;
        for (const QString &column : columns) {
            if (!leaveOut.contains(table + u'.' + column))
                definitions.append(column.toUpper() + QStringLiteral(" VARCHAR(100)"));
        }
        db.exec(db.dialect().createTable(table, definitions));
    }
}

inline void addStudent(Database &db, const QString &regno, const QString &degree = QStringLiteral("BSC"))
{
    db.exec(
        QStringLiteral("insert into student (fdegree, fregno, fname, fdob, fmobile, femail, fnational, freligion, "
                       "fsex, fgroup) values (?, ?, ?, '01/02/2003', '9876543210', ?, 'INDIAN', 'HINDU', 'F', 'GM')"),
        {degree, regno, QString(QStringLiteral("STUDENT ") + regno),
         QString(regno.toLower() + QStringLiteral("@mail.in"))});
}

// A result of 72.50 percent, CGPA 8.10 (of college C001 unless another is named).
inline void addResult(Database &db, const QString &letter, const QString &regno, const QString &outcome,
                      const QString &classCode, const QString &eligible = QStringLiteral("T"),
                      const QString &active = QStringLiteral("T"), const QString &degree = QStringLiteral("BSC"),
                      const QString &college = QStringLiteral("C001"))
{
    db.exec(QStringLiteral("insert into ") + db.table(QStringLiteral("result") + letter)
                + QStringLiteral(" (fdegree, fexamno, fyear, fexamtype, fcollcode, fregno, fpercent, fcgpa, fresult, "
                                 "fclass, feligible, factive) values (?, '6', '2025', '1', ?, ?, '72.50', '8.10', "
                                 "?, ?, ?, ?)"),
            {degree, college, regno, outcome, classCode, eligible, active});
}

} // namespace sw::test
