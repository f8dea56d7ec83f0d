// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/progress.h"

#include <QString>

namespace sw {

class Database;
class Prompter;

// The bulk Kannada name runs: filling the candidates' missing Kannada names from the
// name library, and building the library from candidates whose Kannada names are
// known. Messages go through the prompter with the update screen's texts; progress
// reports the status line and the percentage. Work is committed in batches, so a run
// that stops keeps what it wrote before the batch it stopped in.
class KannadaNameUpdate
{
public:
    struct Result
    {
        bool done = false;   // false: nothing to do, or stopped (message shown)
        int rows = 0;        // candidate rows read
        int namesFilled = 0; // Kannada names written (fill)
        int wordsAdded = 0;  // library words added (build)
        QString stoppedAt;   // the register number or English name being worked on when it stopped
    };

    KannadaNameUpdate(Database &db, Prompter &prompter, Progress progress = {});

    // Candidates without a certificate number whose Kannada names are not marked done:
    // each Kannada name with fewer words than its English name is composed anew from
    // the library.
    Result fill();
    // Candidates with a Kannada name teach the library, in upper case, every word of a
    // name pair with as many Kannada as English words.
    Result build();

private:
    void stop(const std::exception &error);

    Database &m_db;
    Prompter &m_prompter;
    Progress m_progress;
};

} // namespace sw
