// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QString>
#include <QStringList>

namespace sw {

// Which of the fonts a run needs are installed. Fonts are looked up on the system,
// never shipped: a missing one is drawn in the system's fallback, and the run says so
// once, at its start.
class FontCheck
{
public:
    // The regional-language fonts of names and fixed texts.
    static QStringList legacyKannadaFonts();
    // Every font the certificate layouts, letters and lists name.
    static QStringList layoutFonts();

    static bool isInstalled(const QString &family);
    // The family the system draws instead of `family`.
    static QString fallbackFor(const QString &family);
    static QStringList missing(const QStringList &families);

    // One warning naming every missing font, or empty when all are installed.
    static QString warning(const QStringList &families);
    // At the start of a run: shows that warning (title "Message", exclamation) when a
    // font is missing and returns whether one was; the run goes on either way.
    static bool warnMissing(const QStringList &families, Prompter &prompter);
};

} // namespace sw
