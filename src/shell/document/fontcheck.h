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

    // Kannada where a legacy font is missing: the installed Unicode Kannada family its
    // reading is drawn in (a Noto or Lohit Kannada font; empty when none is installed,
    // and the system's fallback draws it).
    static QString unicodeKannadaFamily();
    // Whether `family` is a legacy Kannada font that is not installed, so that text in
    // it is shown as its Unicode reading.
    static bool readsAsUnicode(const QString &family);
    // Once, for start-up and the `fonts` command: which legacy fonts are missing and
    // that Kannada is shown through Unicode; empty when all are installed.
    static QString kannadaNotice();
};

} // namespace sw
