// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/progress.h"
#include "shell/core/prompter.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace sw {

class Session;

// The online application import: the portal's paid transactions of students who have
// no certificate number there yet are taken over into `convofee` (once per
// application number), and every unprinted, unpaid candidate row with that register
// number (compared without blanks around it) gets the address, mobile number and
// e-mail of the register number's latest payment and is marked paid. An application
// with a value too wide for its column is rejected whole and named (in
// CSV/dctran.rejected.csv too); applications whose register number matches no
// candidate are stored and listed at the end.
class OnlineApplicationImport
{
public:
    struct Counts
    {
        int remoteRows = 0;        // paid applications read (each application once)
        int newApplications = 0;   // rows added to convofee
        int knownApplications = 0; // already in convofee
        int rejected = 0;          // refused: a value too wide
        int candidatesMarked = 0;  // candidate rows marked paid
        QStringList unmatched;     // "A12 (R123)": applications of no candidate
        QString rejectFile;
    };

    OnlineApplicationImport(Session &session, Prompter &prompter, Progress progress = {});

    // The Import button: opens the online link, imports, says "Completed Successfully"
    // with the counts (or "No Records found to import", with counts of nothing). nullopt
    // when the run stopped.
    std::optional<Counts> run();
    // The import alone, on an open link; throws StopError / DbError.
    Counts import();

    // The portal query, as sent.
    static QString portalQuery();
    static QString completedMessage(const Counts &counts);

private:
    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
};

} // namespace sw
