// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/progress.h"
#include "shell/forms/childform.h"

#include <QElapsedTimer>

#include <array>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace sw {

class ScreenRegistry;

// Registers the import screens in the main window's registry, by menu code.
void registerImportScreens(ScreenRegistry &screens);

// What the four import screens share: no record commands while one is active, a
// progress bar `PB` shown only while a run goes, the run's status text in the
// status bar, and the main window's caption following the online title once a
// run has opened the link to the portal. The runs themselves (in this folder) do
// the work and say every message; a screen only gathers its inputs.
class ImportScreen : public ChildForm
{
    Q_OBJECT
public:
    ImportScreen(const FormContext &context, const QString &formName, const QString &caption);

    void activated() override;
    QProgressBar *progressBar() const { return m_pb; }

protected:
    // Shows the bar and hands the run a progress that paints it and the status bar.
    // The screen repaints now and then while the run holds the event loop, at most a
    // few times a second, so a large file is not slowed down by painting.
    Progress startRun();
    // Hides the bar and clears the status bar again.
    void endRun();
    // A run that opened the online link has replaced the institution's title.
    void showInstitutionTitle();
    // A button in the screen's own row of buttons.
    QPushButton *addButton(const QString &name, const QString &caption);

private:
    void showProgress(const QString &status, int percent);

    QProgressBar *m_pb;
    QElapsedTimer m_sincePaint;
    int m_paintedPercent = -1;
};

// IMPORTDATA: one result file (".cnv") into the current convocation.
class ImportDataScreen final : public ImportScreen
{
    Q_OBJECT
public:
    explicit ImportDataScreen(const FormContext &context);

    QLineEdit *text(int index) const;   // 0: the file's path
    QPushButton *cmd(int index) const;  // 0: browse, 1: upload

    void browse();
    void upload();

private:
    QLineEdit *m_path;
    QPushButton *m_browse;
    QPushButton *m_upload;
};

// IMPORTDATADIR: every ".cnv" file of a folder and its subfolders, optionally
// published to the portal as well.
class ImportDirectoryScreen final : public ImportScreen
{
    Q_OBJECT
public:
    explicit ImportDirectoryScreen(const FormContext &context);

    QLineEdit *folderBox() const { return m_folder; }   // DIRBOX
    QListWidget *fileBox() const { return m_files; }    // FILEBOX
    QCheckBox *chk(int index) const;                    // 0: upload to online, 1: online only
    QPushButton *cmd(int index) const;                  // 0: browse, 1: upload

    void browse();
    // The file list follows the folder box.
    void listFolder();
    void upload();

private:
    void uploadTicked(bool ticked);

    QLineEdit *m_folder;
    QPushButton *m_browse;
    QListWidget *m_files;
    QCheckBox *m_toOnline;
    QCheckBox *m_onlineOnly;
    QPushButton *m_upload;
};

// IMPORTDATA_AUTO: an autonomous college's "|"-separated file, its university,
// college and degree typed once.
class ImportAutonomousScreen final : public ImportScreen
{
    Q_OBJECT
public:
    explicit ImportAutonomousScreen(const FormContext &context);

    // 0 university, 1 college, 2 degree, 3 the file's path.
    QLineEdit *text(int index) const;
    QPushButton *cmd(int index) const; // 0: browse, 1: upload

    void browse();
    void upload();

private:
    std::array<QLineEdit *, 4> m_boxes{};
    QPushButton *m_browse;
    QPushButton *m_upload;
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

private:
    QPushButton *m_import;
};

} // namespace sw
