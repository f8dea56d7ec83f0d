// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/progress.h"
#include "shell/core/prompter.h"

#include <optional>

namespace sw {

class Session;

// The online application import: the portal's paid transactions of students who have
// no certificate number there yet are taken over into `convofee` (once per
// application number), and every unprinted, unpaid candidate row with that register
// number gets the application's address, mobile number and e-mail and is marked paid.
class OnlineApplicationImport
{
public:
    struct Counts
    {
        int remoteRows = 0;
        int newApplications = 0;  // rows added to convofee
        int candidatesMarked = 0; // candidate rows marked paid
    };

    OnlineApplicationImport(Session &session, Prompter &prompter, Progress progress = {});

    // The Import button: opens the online link, imports, says "Completed Successfully"
    // (or "No Records found to import"). nullopt when nothing was found or the run stopped.
    std::optional<Counts> run();
    // The import alone, on an open link; throws StopError / DbError.
    Counts import();

    // The portal query, as sent.
    static QString portalQuery();

private:
    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
};

} // namespace sw
