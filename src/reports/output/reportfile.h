// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"

#include <QString>

namespace sw {

// The text file one report screen writes its reports into: REP001.Prn to REP999.Prn
// in the application folder. The name is taken on the first run of the screen (the
// first number without a file; the file is created at once so that a second screen
// open at the same time takes the next number), reused by every later run, and the
// file is deleted when the screen closes.
class ReportFile
{
public:
    explicit ReportFile(AppFolder folder);
    ReportFile(const ReportFile &) = delete;
    ReportFile &operator=(const ReportFile &) = delete;

    // The screen's file, taken on the first call. Throws StopError when all 999 names
    // are in use or the folder cannot be written.
    QString path();
    bool isAllocated() const { return !m_path.isEmpty(); }

    // Deletes the file when it exists (the screen is closing). Throws StopError when
    // it exists but cannot be deleted.
    void remove();

    static constexpr int kHighestNumber = 999;
    static QString nameFor(int number); // "REP001.Prn"

private:
    AppFolder m_folder;
    QString m_path;
};

} // namespace sw
