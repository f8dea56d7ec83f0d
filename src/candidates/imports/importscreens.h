// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "masters/mastercodes.h"
#include "shell/core/progress.h"
#include "shell/forms/runscreen.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace sw {

class ScreenRegistry;
struct ImportCounts;

// Registers the import screens in the main window's registry, by menu code.
void registerImportScreens(ScreenRegistry &screens);

// What the four import screens add to a run screen (RunScreen: the boxes, the path
// box and its browse button, the run button, the progress bar): no toolbar command
// while one is active, the run button and progress bar last, what the last run did in
// the status bar's message panel, and the main window's caption following the online
// title once a run has opened the link to the portal. The runs themselves (in this
// folder) do the work and say every message; a screen only gathers its inputs.
class ImportScreen : public RunScreen
{
    Q_OBJECT
public:
    ImportScreen(const FormContext &context, const QString &formName, const QString &caption);

    void activated() override;

protected:
    // The run button and the progress bar under the boxes the screen has added.
    void addRunLine(const QString &caption);
    // A run that opened the online link has replaced the institution's title.
    void showInstitutionTitle();
    // The counts of a run's records for the message panel.
    static QString countsOutcome(const QString &input, const ImportCounts &counts);
};

// IMPORTDATA: one result file (".cnv") into the current convocation.
class ImportDataScreen final : public ImportScreen
{
    Q_OBJECT
public:
    explicit ImportDataScreen(const FormContext &context);

    QLineEdit *text(int index) const;  // 0: the file's path
    QPushButton *cmd(int index) const; // 0: browse, 1: upload

    void browse();
    void upload();

private:
    QLineEdit *m_path;
};

// IMPORTDATADIR: every ".cnv" file of a folder and its subfolders, optionally
// published to the portal as well.
class ImportDirectoryScreen final : public ImportScreen
{
    Q_OBJECT
public:
    explicit ImportDirectoryScreen(const FormContext &context);

    QLineEdit *folderBox() const { return m_folder; }           // DIRBOX
    QListWidget *fileBox() const { return m_files; }            // FILEBOX
    QCheckBox *uploadToOnlineBox() const { return m_toOnline; } // chk_0
    QCheckBox *onlineOnlyBox() const { return m_onlineOnly; }   // chk_1, offered with the upload
    QPushButton *cmd(int index) const;                          // 0: browse, 1: upload

    void browse();
    // The file list follows the folder box.
    void listFolder();
    void upload();

private:
    void uploadTicked(bool ticked);

    QLineEdit *m_folder;
    QListWidget *m_files;
    QCheckBox *m_toOnline;
    QCheckBox *m_onlineOnly;
};

// IMPORTDATA_AUTO: an autonomous college's "|"-separated file, its university,
// college and degree typed once: code boxes with their F1 lookups and descriptions,
// an unknown code refused as it is left (the run refuses a file for it too).
class ImportAutonomousScreen final : public ImportScreen
{
    Q_OBJECT
public:
    explicit ImportAutonomousScreen(const FormContext &context);

    // 0 university, 1 college, 2 degree, 3 the file's path; 10 to 12 what the codes stand for.
    QLineEdit *text(int index) const;
    QPushButton *cmd(int index) const; // 0: browse, 1: upload

    void browse();
    void upload();

private:
    MasterCodes m_codes;
    std::array<QLineEdit *, 4> m_boxes{};
};

// IMPORTAPPONLINE: the portal's paid applications into the fee table and the
// candidates' addresses.
class ImportOnlineScreen final : public ImportScreen
{
    Q_OBJECT
public:
    explicit ImportOnlineScreen(const FormContext &context);

    QPushButton *cmd(int index) const; // 1: import

    void import();
};

} // namespace sw
