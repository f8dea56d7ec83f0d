// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/importtally.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

class Session;

// One gold-medal ("GC") or cash-prize ("CC") award read from a file.
struct AwardLine
{
    int line = 0;
    QString certType;
    QString regno;
    QString degree;
    QString college;
    QString donor;
    QString subject;
    QString amount;
    QString remarks;
};

// A line the import refuses, and why (its faults joined).
struct AwardRejected
{
    int line = 0;
    QString field; // the first field at fault
    QString reason;
    QStringList fields;
};

// What a file holds: its good awards and its refused lines with every fault found.
struct AwardBatch
{
    QString file;
    QString path;
    int lines = 0; // award lines, the heading left out
    std::vector<AwardLine> awards;
    std::vector<AwardRejected> rejected;
    QStringList errors; // "FILE, line N, field NAME: what is wrong", each fault; or why the file cannot be read
    bool readable = true;
    bool ok() const { return errors.isEmpty(); }
};

// Loads the gold-medal and cash-prize rows of `rankreg` from a comma-separated
// file, one award a line:
//
//     type,regno,degree,college,donor,subject,amount[,remarks]
//
// (a first line that starts with "type" is a heading and is skipped). Every line
// is checked against the convocation before anything is written: the type is GC
// or CC, the candidate is of that degree and college, the donor and subject are
// given, the amount is a number (required for a cash prize), and the award is not
// already registered. Under the rule of every import the good lines are registered
// and the bad ones rejected, with their reasons, into "<file>.rejected.csv"; a file
// that cannot be read is refused whole.
class AwardImport
{
public:
    explicit AwardImport(Session &session);

    AwardBatch read(const QString &path) const;
    // Writes every good award of a readable batch in one transaction and the refused
    // lines into the reject file; the counts (nothing when the file was unreadable).
    ImportCounts apply(const AwardBatch &batch);

private:
    // The faults of one line: field and what is wrong.
    std::vector<std::pair<QString, QString>> checkLine(const AwardLine &award,
                                                       const std::vector<AwardLine> &earlier) const;

    Session &m_session;
};

} // namespace sw
