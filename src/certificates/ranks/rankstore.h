// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/lookupdialog.h"

#include <QString>

#include <optional>
#include <vector>

namespace sw {

class Prompter;
class Session;

// One line of the rank grid. `state` is "A" for a line added on screen, "U" for a
// line loaded from the register and "E" for a loaded line whose rank or remarks changed.
struct RankRow
{
    QString regno;
    QString name;
    QString rank;
    QString remarks;
    QString state;
};

// The rank register of a convocation: the rank certificates ("RC" rows of
// `rankreg`) of each degree, entered grid by grid. Registering a rank also writes
// it (and today's date) into the candidate's own row. Every check says what is
// wrong through the prompter and returns false/nullopt; saves run in one
// transaction and change nothing when any line is refused.
// One award of the convocation as the award list shows it: a rank certificate ("RC")
// with its rank, or a prize with its subject and amount; the certificate number once printed.
struct AwardListing
{
    QString degree;
    QString regno;
    QString name;
    QString certType;
    QString rank;
    QString subject;
    QString amount;
    QString certNo;
};

class RankStore
{
public:
    RankStore(Session &session, Prompter &prompter);

    // The header's degree: "Information should be entered", "Invalid Degree Code".
    bool checkDegree(const QString &degree) const;
    // Whether the degree already has ranks in this convocation (the grid opens for editing).
    bool hasRanks(const QString &degree) const;
    // The degree's ranks in rank order ("No records found" when there are none).
    std::vector<RankRow> load(const QString &degree) const;

    // The name for a register number typed on a new line; nullopt (message shown)
    // for an empty, repeated or unknown register number, or one that already holds a rank.
    std::optional<QString> nameForNewRow(const QString &degree, const QString &regno,
                                         const std::vector<RankRow> &grid) const;
    // "Rank No. should be entered"; a rank other than I..X is refused, since no
    // rank certificate can word it.
    bool checkRank(const QString &rank) const;

    // Writes the grid ("No student Details found" when it holds no line). Lines
    // are numbered 1, 2, ... in grid order. Returns the lines written.
    int save(const QString &degree, const std::vector<RankRow> &grid);

    // Every award of the convocation (of one degree when `degree` is not empty), by
    // degree, the rank certificates first, then in register order; texts trimmed.
    std::vector<AwardListing> awards(const QString &degree = {}) const;

    LookupRequest degreeLookup(bool editing) const;
    LookupRequest regnoLookup(const QString &degree) const;

    // "I".."X" as the certificates word them ("First".."Tenth"); nullopt otherwise.
    static std::optional<QString> rankInWords(const QString &rank);

private:
    bool checkLine(const QString &degree, const RankRow &row, const std::vector<RankRow> &grid, size_t index) const;

    Session &m_session;
    Prompter &m_prompter;
};

} // namespace sw
