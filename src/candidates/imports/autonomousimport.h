// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/importtally.h"
#include "shell/core/progress.h"
#include "shell/core/prompter.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sw {

class Session;

// One candidate line of an autonomous college's "|"-separated file.
struct AutonomousLine
{
    int line = 0;       // in the file, from 1
    QStringList fields; // as the file has them, for the reject file
    QString problem;    // why the line cannot be read (the number of its fields); empty when it can
    QString regno;      // "ZQ" + the file's register number, upper case
    QString name;       // apostrophes already grave accents
    QString sex;
    QString caste;
    QString classCode; // upper case
    QString year;
    QString examType;
    QString examDate;
    QString abcId; // from the header's ABC ID column, when it has one
};

// An autonomous file read: its candidate lines, its field names (the header's, or
// "field N"), and how its text was written.
struct AutonomousFile
{
    std::vector<AutonomousLine> lines;
    QStringList fieldNames;
    legacytext::Encoding encoding = legacytext::Encoding::Cp1252;
};

// The codes typed once on the screen for the whole file.
struct AutonomousCodes
{
    QString univCode;
    QString collegeCode;
    QString degreeCode;
};

// Reads an autonomous file. Lines without "|" are ignored, the "SLNO" header is
// skipped; every other line is a candidate line, which must have the header's number of
// fields (18 without a header; a trailing "|" is allowed) or carries its problem.
// Throws ImportFailure naming the file when it cannot be read.
AutonomousFile parseAutonomousFile(const QString &path);

// The autonomous-college import (Upload_Data): candidates from an autonomous file,
// degree, college and university typed once and checked against their masters. A
// candidate is found by register number and degree, in the current convocation first,
// else in another (then moved into the current convocation and the typed college);
// a printed one is left alone; class codes missing from the class master are added
// with the description "????". Each line gets one outcome under the rule of every
// import (see ResultFileImport): the good lines are written, the bad ones rejected into
// "<file>.rejected.csv" with their reasons.
class AutonomousImport
{
public:
    AutonomousImport(Session &session, Prompter &prompter, Progress progress = {});

    // The Upload button with its checks and messages; the counts, nullopt when refused or stopped.
    std::optional<ImportCounts> run(const AutonomousCodes &codes, const QString &path);
    // The import of a read file; throws StopError.
    ImportCounts apply(const AutonomousCodes &codes, const AutonomousFile &file, const QString &path);

private:
    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
};

} // namespace sw
