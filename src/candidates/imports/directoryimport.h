// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// The directory-wise import: every ".cnv" file of a folder and its subfolders, each by
// the kind its name ends in ("...STU", "...DEG", "...COL"); optionally the candidates
// are also published to the portal through CSV/CNVAPPDATA.csv and a LOAD DATA on the
// online link. Files are independent: a stop ends the run at that file and the files
// before it stay imported.
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
        ImportCounts counts;
        int uploaded = 0; // lines of the upload file
    };

    DirectoryImport(Session &session, Prompter &prompter, Progress progress = {});

    // The screen's caption as the run goes ("... Total Files Selected: 3, ...").
    void onCaption(std::function<void(const QString &)> caption) { m_caption = std::move(caption); }

    // The ".cnv" files of `folder` in the order they are imported: the folder's own
    // files by name, then each subfolder's, subfolders by name.
    static QStringList listFiles(const QString &folder);

    // The Upload button: "No files are selected for Importing" when there are none,
    // else imports them all and says "Imported data Successfully". The outcome of each
    // file; nullopt when refused or stopped (the message has been shown).
    std::optional<std::vector<FileOutcome>> run(const QString &folder, const Options &options);

    // The upload file's path.
    QString uploadFilePath() const;
    // The portal load, as sent to the online link.
    static QString loadStatement(const QString &uploadFile);

private:
    FileOutcome importFile(const QString &path, const Options &options);
    FileOutcome importCandidates(ResultRows &rows, const Options &options);
    void loadIntoPortal(const QString &uploadFile);
    void setCaption(const QString &text);

    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
    std::function<void(const QString &)> m_caption;
    bool m_linkOpened = false; // the online link is opened anew by each run
};

} // namespace sw
