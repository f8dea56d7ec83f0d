// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/imports/portalupload.h"
#include "candidates/imports/resultimport.h"
#include "shell/core/progress.h"
#include "shell/core/prompter.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace sw {

class ResultRows;
class Session;
struct ResultCandidate;
struct StoredCandidate;

// The directory-wise import: every ".cnv" file of a folder and its subfolders, each by
// the kind its name ends in ("...STU", "...DEG", "...COL"), the degree and college
// files first so that the candidates find their codes. Optionally the candidates are
// also published to the portal's `dcstud` through the online link (an upsert with
// bound values, see PortalUpload). Each file follows the rule of every import (see
// ResultFileImport): a file whose form is broken is refused whole and named, and the
// run goes on with the next; a stop of the server ends the run at that file, the files
// before it staying imported.
class DirectoryImport
{
public:
    struct Options
    {
        bool uploadToOnline = false;
        bool onlineOnly = false; // only with uploadToOnline: nothing local is written
    };

    struct FileOutcome
    {
        QString file;
        bool skipped = false; // no kind in its name
        QString refused;      // why the file was refused whole; empty when it was read
        ImportCounts counts;  // local outcomes (online only: the upload's)
        PortalUpload::Counts uploaded;
    };

    DirectoryImport(Session &session, Prompter &prompter, Progress progress = {});

    // The screen's caption as the run goes ("... Total Files Selected: 3, ...").
    void onCaption(std::function<void(const QString &)> caption) { m_caption = std::move(caption); }

    // The ".cnv" files of `folder` and its subfolders in the order they are imported:
    // degree files, college files, candidate files, then the files of no kind (passed
    // over); within each, the folder's own files by name before each subfolder's.
    static QStringList listFiles(const QString &folder);

    // The Upload button: "No files are selected for Importing" when there are none,
    // else imports them all and says "Imported data Successfully" with each file's
    // counts. The outcome of each file; nullopt when refused or stopped (the message
    // has been shown).
    std::optional<std::vector<FileOutcome>> run(const QString &folder, const Options &options);

    // The final message's lines for the files.
    static QString summary(const std::vector<FileOutcome> &outcomes);

private:
    FileOutcome importFile(const QString &path, const Options &options);
    void importCandidates(ResultRows &rows, ImportTally &tally, FileOutcome &outcome, const Options &options);
    // "This Student (...) may Applied for Improvement!!": whether a candidate stored
    // under another convocation moves to this one.
    bool askToMove(const ResultCandidate &candidate, const StoredCandidate &stored);
    // The portal's row of an imported candidate; `extra` in UploadExtra's order.
    PortalRow portalRow(const ResultCandidate &candidate, const StoredCandidate *stored,
                        const QStringList &extra) const;
    Database &portal();
    void setCaption(const QString &text);

    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
    std::function<void(const QString &)> m_caption;
    bool m_linkOpened = false; // the online link is opened anew by each run
};

} // namespace sw
