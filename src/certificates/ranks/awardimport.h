// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// What a file holds: its awards, or every fault found in it.
struct AwardBatch
{
    QString file;
    std::vector<AwardLine> awards;
    QStringList errors; // "FILE, line N, field NAME: what is wrong"
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
// already registered. A file with any fault is refused whole.
class AwardImport
{
public:
    explicit AwardImport(Session &session);

    AwardBatch read(const QString &path) const;
    // Writes every award of a fault-free batch in one transaction; returns the rows written.
    int apply(const AwardBatch &batch);

private:
    void checkLine(AwardBatch &batch, const AwardLine &award, const std::vector<AwardLine> &earlier) const;

    Session &m_session;
};

} // namespace sw
