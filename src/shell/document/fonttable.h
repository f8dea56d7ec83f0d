// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

// The one font table: every family a layout, report, letter or label names resolves here to
// the face a page is drawn in, so the same sheet comes out the same on every workstation.
//
// A family the machine has itself (the real font on an institution's PC) is used as it is.
// Otherwise the table names a free face for it, metric-compatible where one exists (Carlito
// for Calibri, Liberation for Times New Roman and Arial, ...), and the program loads that
// face's files itself (QFontDatabase::addApplicationFont) from the Debian packages it
// depends on: no page depends on which fonts fontconfig happens to find first. A family
// neither the machine nor the table has is drawn in the table's default face and named by
// the check before a run (`unresolved`).
//
// The legacy Kannada fonts ("Nudi 01 e", "BRH Kannada", "Nudi 01 k") are in no package: where
// the machine lacks them, their Unicode reading is drawn in the table's Unicode Kannada face.
//
// Safe from any thread once a QGuiApplication exists; what it finds is kept for the process.
class FontTable
{
public:
    // One row of the table: the family a layout names and the face drawn for it.
    struct Face
    {
        QString named;         // "Calibri"
        QString drawn;         // "Carlito": the family the files register
        QStringList files;     // under a font root; the first is the regular face
        QString package;       // the Debian package that installs them
        bool metricCompatible; // the same advance widths as the named font
        bool bold = false;     // drawn in the face's bold (a heavy display face named by its regular)
    };
    static const std::vector<Face> &faces();

    enum class Source {
        Machine,    // the machine has the named family itself (or it is one of the table's faces)
        Table,      // the table's face, loaded from its files
        Unresolved, // neither: drawn in the default face, and named by the check
    };
    struct Resolution
    {
        QString named;
        QString drawn;
        Source source = Source::Unresolved;
        bool bold = false; // draw every run of it bold
    };
    static Resolution resolve(const QString &family);
    // The family a page draws for `family`.
    static QString drawnFamily(const QString &family);
    // What is drawn when a family cannot be resolved (the default of a document's runs).
    static QString defaultFamily();
    // The families tried, in order, for a character the drawn face lacks (Kannada, symbols),
    // before the system's own fallback is asked.
    static QStringList fallbackFamilies();

    // Folders the table's files are looked up under: $SCROLLWISE_FONT_DIRS (":"-separated),
    // then the system's font folders.
    static QStringList fontRoots();

    // The regional-language fonts of names and fixed texts.
    static QStringList legacyKannadaFonts();
    // Every family the table knows, the legacy Kannada fonts first.
    static QStringList layoutFonts();

    // Whether the machine has `family` itself, or the program loaded a face of that very name.
    static bool isInstalled(const QString &family);
    // Looks again at the machine's fonts (after one was added while the program runs).
    static void rescan();
    // The families of `families` neither the machine nor the table resolves (legacy
    // Kannada fonts are resolved through their Unicode reading), each once.
    static QStringList unresolved(const QStringList &families);

    // One warning naming every unresolved family and what is drawn instead, or empty.
    static QString warning(const QStringList &families);
    // At the start of a run: shows that warning (title "Message", exclamation) and returns
    // whether there was one; the run goes on either way.
    static bool warnMissing(const QStringList &families, Prompter &prompter);

    // The Unicode Kannada face (the table's Lohit Kannada, or one the machine has); empty when none.
    static QString unicodeKannadaFamily();
    // Whether `family` is a legacy Kannada font the machine lacks, so its text is drawn as its
    // Unicode reading.
    static bool readsAsUnicode(const QString &family);
    // Once, for start-up and the `fonts` command: which legacy fonts are missing and that
    // Kannada is shown through Unicode; empty when all are installed.
    static QString kannadaNotice();
};

} // namespace sw
