// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/printing/printselection.h"

#include <QStringList>

namespace sw {

class Session;

// The check before a run: everything the certificates of a selection would print
// empty or leave out, found before a sheet is used, so the clerk can fill it in or
// decide to go on. It lists
//  - each candidate (or award) whose certificate lacks a text the layout prints: the
//    photograph, the Kannada name, the exam date (also in Kannada), the class, ...,
//    named with the register number ("Reg. No. R3: no photograph in Photos");
//  - the seal, signature and watermark pictures the layout places that are missing;
//  - the settings of Institution.ini the layout prints that are empty;
//  - the fonts the layout names that are not installed, with the font drawn instead.
// The selection is taken as the run takes it (its boxes already checked).
class PrintCheck
{
public:
    explicit PrintCheck(const Session &session);

    // One line per gap; empty when the certificates will print whole.
    QStringList gaps(PrintSelection selection) const;

    // The gaps as the screen and the command line show them: at most `shown` lines,
    // then how many more there are.
    static QString summary(const QStringList &gaps, int shown = 25);

private:
    void settingGaps(const QStringList &settings, QStringList &gaps) const;
    void pictureGaps(const QStringList &pictures, QStringList &gaps) const;
    static void fontGaps(const QStringList &fonts, QStringList &gaps);

    const Session &m_session;
};

} // namespace sw
