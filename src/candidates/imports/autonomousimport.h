// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/imports/resultimport.h"
#include "shell/core/progress.h"
#include "shell/core/prompter.h"

#include <QString>

#include <optional>
#include <vector>

namespace sw {

class Session;

// One candidate line of an autonomous college's "|"-separated file.
struct AutonomousLine
{
    int line = 0; // in the file, from 1
    QString regno; // "ZQ" + the file's register number
    QString name;  // apostrophes already grave accents
    QString sex;
    QString caste;
    QString classCode;
    QString year;
    QString examType;
    QString examDate;
};

// The codes typed once on the screen for the whole file.
struct AutonomousCodes
{
    QString univCode;
    QString collegeCode;
    QString degreeCode;
};

// Reads an autonomous file whole before anything is written, so a malformed line
// stops the run with nothing imported. Lines without "|" are ignored, the "SLNO"
// header is skipped; every other line must have the header's number of fields (18
// without a header; a trailing "|" is allowed). Throws ImportFailure naming file,
// line and field.
std::vector<AutonomousLine> parseAutonomousFile(const QString &path);

// The autonomous-college import (Upload_Data): candidates from an autonomous file,
// degree, college and university typed once. New register numbers are inserted, known
// ones refreshed and moved to the current convocation (printed ones are left alone),
// class codes missing from the class master are added with the description "????".
class AutonomousImport
{
public:
    AutonomousImport(Session &session, Prompter &prompter, Progress progress = {});

    // The Upload button with its checks and messages; the counts, nullopt when refused or stopped.
    std::optional<ImportCounts> run(const AutonomousCodes &codes, const QString &path);
    // The import of parsed lines in one write scope; throws StopError.
    ImportCounts apply(const AutonomousCodes &codes, const std::vector<AutonomousLine> &lines, const QString &file);

private:
    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
};

} // namespace sw
