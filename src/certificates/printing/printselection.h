// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <set>

namespace sw {

// Print mode gives unprinted candidates their numbers; Pdf mode writes the
// depository copies of candidates printed before, and writes nothing to convo.
enum class PrintMode { Print, Pdf };
// "print" sends sheets to the printer; "preview" shows them and asks whether to go on.
enum class PrintOperation { Print, Preview };

// What the clerk typed on the printing screen (or gave on the command line).
struct PrintSelection
{
    QString degree;
    QString collegeFrom;
    QString collegeTo;
    QString regnoFrom;
    QString regnoTo;
    QString issueDate; // dd/mm/yyyy, written to convo.fdate
    QString prefix;
    QString startNumber;
    QString endNumber;
    QString certType;        // "1", "2", "3", "R", "G", "C"
    bool temp = true;        // chooses between the two layouts of 003 and 008
    bool diploma = false;    // admission line without "Degree of"
    bool facsimile = false;  // signature vc.jpg instead of vcm.jpg
    double marginAdjust = 0; // widens the text block on both sides (inches)
    PrintMode mode = PrintMode::Print;
    PrintOperation operation = PrintOperation::Print;
    // Sheets known beforehand to come out badly (the command line's --spoiled): they
    // are registered as spoiled without asking, whatever the layout.
    std::set<long long> spoiledNumbers;
    // The clerk saw the candidates without a photograph listed before the run and
    // went on: they print without the photograph and without a question each.
    bool missingPhotographsAccepted = false;
    // PDF copies: each copy is also signed with the institution's certificate
    // (Institution.ini, [SIGNING]) into DC_..._signed.pdf beside it.
    bool sign = false;

    // "0" in From College means every college, "0" in From Reg. No. every register number.
    void expandAllRanges();
    // The prefix followed by the running number in six digits: A + 17 = A000017.
    QString certificateNumber(long long running) const;
    long long start() const { return startNumber.trimmed().toLongLong(); }
    long long end() const { return endNumber.trimmed().toLongLong(); }
    // The numbers `count` sheets take from the start, within the stationery's range:
    // "12 certificates, DC000211 to DC000222".
    QString numbersOf(long long count) const;
};

} // namespace sw
