// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace sw {

// How a long run reports where it is: a status text and a percentage (-1 when unknown).
// The GUI shows it in a status bar, the command-line tool prints it, tests record it.
using Progress = std::function<void(const QString &status, int percent)>;

inline void report(const Progress &progress, const QString &status, int percent = -1)
{
    if (progress)
        progress(status, percent);
}

} // namespace sw
