// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/printing/printselection.h"
#include "shell/forms/lookupdialog.h"

#include <QString>

#include <optional>

namespace sw {

class Prompter;
class Session;

// The checks of a printing selection, box by box, with the printing screen's
// messages: the screen makes each one as the clerk leaves its box, and the run makes
// them all again before its first sheet, so the command line is checked alike. A
// check that refuses says why through the prompter (title "Message") and returns
// false or nullopt; the statements, and the lookups F1 opens, live here, not in the
// screen.
class PrintingChecks
{
public:
    PrintingChecks(const Session &session, Prompter &prompter, PrintMode mode);

    // The convocation has one row and a date, which the certificates print; nullopt
    // after "Activate Convocation Date in Convocation Screen" and the like.
    std::optional<QString> convocationDate();

    // A degree with something to print: active candidates without (Pdf mode: with) a
    // number, or, for the award types R, G and C, unprinted awards ("99": every
    // degree). An empty `certType` accepts either, as the type is typed last. Returns
    // the degree's description (with its speciality) or nullopt after "Invalid
    // Degree/No students exists for the degree".
    std::optional<QString> degree(const QString &code, const QString &certType = {});
    // A college with such candidates of the degree; its name. "0000" and "ZZZZ" (every
    // college) pass with an empty name.
    std::optional<QString> college(const QString &degree, const QString &code);

    // A single register number: its college and what the screen shows beside it.
    struct Candidate
    {
        QString college;
        QString collegeAndTown; // "name, town"
        bool hasPhotograph = false;
    };
    // Not active, without a photograph (the clerk is asked when `askPhotograph`, and
    // No refuses), already printed (print mode): refused with the screen's messages.
    std::optional<Candidate> candidate(const QString &regno, bool askPhotograph = true);

    // The date of issue is a date.
    bool issueDate(const QString &date);
    // The prefix holds no blank.
    bool prefix(const QString &prefix);
    // Both ends are whole numbers of at most six digits and the last is greater than
    // the first ("Value should be greater than From certificate no").
    bool numberRange(const QString &start, const QString &end);
    // "1", "2", "3", "R", "G" or "C"; anything else "Invalid Certificate Type".
    bool certificateType(const QString &type);
    // The sheets named spoiled beforehand lie in the run's range.
    bool spoiledNumbers(const PrintSelection &s);

    // What F1 lists in the degree, college and register-number boxes: only codes
    // that have something to print in this mode.
    LookupRequest degreeLookup() const;
    LookupRequest collegeLookup(const QString &degree) const;
    LookupRequest candidateLookup(const QString &degree, const QString &college) const;

    static bool isValidType(const QString &type);

private:
    QString certNoTest() const; // "coalesce(fcertno, '') = ''" or "<> ''"
    void refuse(const QString &text, const QString &title = QStringLiteral("Message"));

    const Session &m_session;
    Prompter &m_prompter;
    PrintMode m_mode;
};

} // namespace sw
