// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>
#include <QStringList>

namespace sw {

class ReportPreview;

// The paper a text report is printed on, and the character pitch and line pitch at
// which it comes out as it was written: every line on one line of the paper, every
// page (up to its form feed) on one sheet. Reports up to 120 columns go on A4
// portrait, wider ones on legal paper turned to landscape (the 132-column stationery);
// the pitch is the narrowest of the usual ones (10, 12, 15, 17 or 20 characters to the
// inch; 6 or 8 lines) that fits, closer still only when none does.
struct ReportPaper
{
    QSizeF paperInches; // portrait
    bool landscape = false;
    double marginInches = 0.5;
    double charactersPerInch = 10;
    double linesPerInch = 6;
    int widestLine = 0;  // characters
    int longestPage = 0; // lines, with the form feed's own line

    static ReportPaper fitting(const ReportPreview &report);

    // The page as it lies (landscape swaps the sides), in whole points as CUPS measures it.
    QSizeF pagePoints() const;

    // The options of CUPS's text filter (`lp -o`) for this paper and pitch.
    QStringList printOptions() const;
};

} // namespace sw
