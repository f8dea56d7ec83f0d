// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

namespace sw {

// One of the four small code tables kept in a grid screen: universities, colleges,
// classes of result and convocations. The screens, the store and the bulk load all
// read their table, columns and messages from here.
struct GridMasterKind
{
    QString menuCode; // "MASUNIV"
    QString caption;  // the window caption
    QString table;    // the schema's table name
    QString codeColumn;
    QString nameColumn;
    QString codeCaption; // grid header captions
    QString nameCaption;
    QString noun;      // "University": the messages are built on it
    int codeWidth = 4; // column widths of the schema
    int nameWidth = 100;
    bool convocation = false; // two more columns: date and active flag
    QString candidateColumn;  // the candidates' column that refers to the code

    static constexpr int kDateWidth = 50;

    // Messages of the check made when a cell is left.
    QString codeMissingOnLeave() const { return noun + QStringLiteral(" code should be Entered"); }
    QString codeExistsOnLeave() const { return noun + QStringLiteral(" code already Exist!!"); }
    QString nameMissingOnLeave() const { return noun + QStringLiteral(" Name should be Entered"); }
    // Messages of the whole-row check made when a row is left and on save.
    QString codeMissing() const { return noun + QStringLiteral(" code should be Entered"); }
    QString codeDuplicate() const { return noun + QStringLiteral(" Code already Entered"); }
    QString nameMissing() const { return noun + QStringLiteral(" Name should be entered."); }
    // A code that candidates still use is not deleted.
    QString stillUsed(const QString &code, int candidates) const
    {
        return QStringLiteral("%1 candidate record(s) use %2 %3: it is not deleted.").arg(candidates).arg(noun, code);
    }

    static const std::vector<GridMasterKind> &all();
    // By menu code or table name, case-insensitive; nullptr when none.
    static const GridMasterKind *find(const QString &menuCodeOrTable);
};

} // namespace sw
