// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/importscreens.h"

#include "candidates/imports/autonomousimport.h"
#include "candidates/imports/directoryimport.h"
#include "candidates/imports/onlineimport.h"
#include "candidates/imports/resultimport.h"
#include "shell/core/importtally.h"
#include "shell/db/schema.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/screenregistry.h"
#include "shell/session.h"
#include "shell/startup/startup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// "2 of 3 files imported: 5 new, 1 refreshed, 0 skipped, 0 rejected", the records of every file read.
QString filesOutcome(const std::vector<DirectoryImport::FileOutcome> &outcomes)
{
    int read = 0, inserted = 0, refreshed = 0, skipped = 0, rejected = 0;
    for (const DirectoryImport::FileOutcome &f : outcomes) {
        if (f.skipped || !f.refused.isEmpty())
            continue;
        ++read;
        inserted += f.counts.inserted;
        refreshed += f.counts.refreshed;
        skipped += f.counts.skipped;
        rejected += f.counts.rejected;
    }
    return u"%1 of %2 files imported: %3 new, %4 refreshed, %5 skipped, %6 rejected"_s.arg(read)
        .arg(outcomes.size())
        .arg(inserted)
        .arg(refreshed)
        .arg(skipped)
        .arg(rejected);
}

// The folder a browse dialog starts in: the one of the path typed, else the application folder.
QString startFolder(const QString &typed, const Session &session)
{
    const QFileInfo info(typed.trimmed());
    if (!typed.trimmed().isEmpty() && info.dir().exists())
        return info.isDir() ? info.filePath() : info.path();
    return session.folder.root();
}

} // namespace

// ---------------------------------------------------------------------------------------------

ImportScreen::ImportScreen(const FormContext &context, const QString &formName, const QString &caption)
    : RunScreen(context, formName, caption)
{
}

void ImportScreen::activated()
{
    commands().setToolMode(ToolMode::Disabled);
    if (QProgressBar *bar = progressBar())
        bar->setVisible(false);
    setHint({});
    if (m_firstActivate) {
        m_firstActivate = false;
        fields().focusFirst();
    }
}

void ImportScreen::addRunLine(const QString &caption)
{
    addRunButton(caption, u"Starts the import; Enter presses it"_s);
    addProgressBar();
}

QString ImportScreen::countsOutcome(const QString &input, const ImportCounts &counts)
{
    return QFileInfo(input).fileName() + u": "_s + counts.summaryLine();
}

void ImportScreen::showInstitutionTitle()
{
    if (QWidget *main = window(); main != this)
        main->setWindowTitle(Startup::mainWindowCaption(session()));
}

// ---------------------------------------------------------------------------------------------

ImportDataScreen::ImportDataScreen(const FormContext &context)
    : ImportScreen(context, u"IMPORTDATA"_s, u"Import Data Filewise. . ."_s)
{
    m_path = addPathBox(0, u"File Path"_s, u"Select / Enter File Path"_s);
    addRunLine(u"&Upload"_s);
    fields().setFieldOrder(u"T0,B1"_s);
    connect(browseButton(), &QPushButton::clicked, this, &ImportDataScreen::browse);
    connect(runButton(), &QPushButton::clicked, this, &ImportDataScreen::upload);
}

QLineEdit *ImportDataScreen::text(int index) const { return index == 0 ? m_path : nullptr; }

QPushButton *ImportDataScreen::cmd(int index) const
{
    return index == 0 ? browseButton() : index == 1 ? runButton() : nullptr;
}

void ImportDataScreen::browse()
{
    const auto file = prompter().chooseFile(u"Open"_s, startFolder(m_path->text(), session()),
                                            u"Result files (*.cnv *.CNV)"_s, Prompter::FileMode::Open);
    if (file)
        m_path->setText(*file);
}

void ImportDataScreen::upload()
{
    const QString path = m_path->text().trimmed();
    runButton()->setEnabled(false);
    ResultFileImport run(session(), prompter(), startRun());
    const auto counts = run.run(path);
    endRun();
    runButton()->setEnabled(true);
    if (counts) {
        showOutcome(countsOutcome(path, *counts));
        return;
    }
    // A refused path sends the clerk back to it.
    showOutcome(u"Nothing imported"_s);
    fields().returnFocusTo(m_path);
}

// ---------------------------------------------------------------------------------------------

ImportDirectoryScreen::ImportDirectoryScreen(const FormContext &context)
    : ImportScreen(context, u"IMPORTDATADIR"_s, u"Import Data Directorywise. . ."_s)
{
    FieldFrame &f = fields();
    m_folder = addPathBox(0, u"Select Folder"_s, u"The folder whose .cnv files are imported"_s);
    m_folder->setObjectName(u"DIRBOX"_s);
    m_files = new QListWidget;
    m_files->setObjectName(u"FILEBOX"_s);
    m_files->setToolTip(u"The files the run takes, in this order"_s);
    m_files->setMinimumHeight(160);
    m_files->setMinimumWidth(kPathBoxWidth);
    f.addField(u"L0"_s, u"Selected Files"_s, m_files);
    widen(m_files);
    m_toOnline = f.addCheck(0, u"&Upload to Online"_s);
    m_onlineOnly = f.addCheck(1, u"&Online only ?"_s);
    f.moveBeside(m_onlineOnly, m_toOnline);
    m_onlineOnly->setVisible(false);
    addRunLine(u"&Upload"_s);
    f.setFieldOrder(u"T0,L0,C0,C1,B1"_s);
    // A folder that is not there would leave the list empty without a word.
    f.setCheck(m_folder, [this] {
        const QString folder = m_folder->text().trimmed();
        if (folder.isEmpty() || QFileInfo(folder).isDir())
            return true;
        prompter().message(u"Folder not found: "_s + folder, u"Message"_s, PromptIcon::Exclamation);
        return false;
    });

    connect(browseButton(), &QPushButton::clicked, this, &ImportDirectoryScreen::browse);
    connect(m_folder, &QLineEdit::editingFinished, this, &ImportDirectoryScreen::listFolder);
    connect(m_toOnline, &QCheckBox::toggled, this, &ImportDirectoryScreen::uploadTicked);
    connect(runButton(), &QPushButton::clicked, this, &ImportDirectoryScreen::upload);
}

QPushButton *ImportDirectoryScreen::cmd(int index) const
{
    return index == 0 ? browseButton() : index == 1 ? runButton() : nullptr;
}

void ImportDirectoryScreen::browse()
{
    const auto folder = prompter().chooseFile(u"Select Folder"_s, startFolder(m_folder->text(), session()), {},
                                              Prompter::FileMode::Folder);
    if (!folder)
        return;
    m_folder->setText(*folder);
    listFolder();
}

void ImportDirectoryScreen::listFolder()
{
    const QString folder = m_folder->text().trimmed();
    m_files->clear();
    for (const QString &file : DirectoryImport::listFiles(folder))
        m_files->addItem(QDir(folder).relativeFilePath(file));
}

void ImportDirectoryScreen::uploadTicked(bool ticked)
{
    // "Online only" means nothing without the upload, so it is offered only with it.
    m_onlineOnly->setVisible(ticked);
    if (!ticked)
        m_onlineOnly->setChecked(false);
}

void ImportDirectoryScreen::upload()
{
    // The run takes every file of the folder as it is now; the list shows the same.
    listFolder();
    runButton()->setEnabled(false);
    const QString ownCaption = windowTitle();
    DirectoryImport run(session(), prompter(), startRun());
    int fileIndex = 0;
    run.onCaption([this, &fileIndex](const QString &caption) {
        setWindowTitle(caption);
        // Each file's turn is announced by a caption with the counts; the last one restores the plain caption.
        if (caption.contains(u"Total Files Selected"_s) && fileIndex < m_files->count())
            m_files->setCurrentRow(fileIndex++);
    });
    const DirectoryImport::Options options{m_toOnline->isChecked(),
                                           m_toOnline->isChecked() && m_onlineOnly->isChecked()};
    const auto outcomes = run.run(m_folder->text().trimmed(), options);
    endRun();
    setWindowTitle(ownCaption);
    runButton()->setEnabled(true);
    showOutcome(outcomes ? filesOutcome(*outcomes) : u"Nothing imported"_s);
    if (options.uploadToOnline)
        showInstitutionTitle();
}

// ---------------------------------------------------------------------------------------------

ImportAutonomousScreen::ImportAutonomousScreen(const FormContext &context)
    : ImportScreen(context, u"IMPORTDATA_AUTO"_s, u"Import Data Filewise. . ."_s)
    , m_codes(context.session)
{
    using Master = MasterCodes::Master;
    struct CodeBox
    {
        const char16_t *label, *tip, *column;
        Master master;
    };
    const CodeBox codes[] = {{u"Univ. code", u"University code, F1-Help", u"funivcode", Master::University},
                             {u"College code", u"College code, F1-Help", u"fcollcode", Master::College},
                             {u"Degree Code", u"Degree code, F1-Help", u"fdegree", Master::Degree}};
    FieldFrame &f = fields();
    for (int i = 0; i < 3; ++i) {
        const CodeBox &c = codes[i];
        QLineEdit *box = f.addText(i, QString::fromUtf16(c.label), QString::fromUtf16(c.tip),
                                   schema::columnWidth(u"convo"_s, QString::fromUtf16(c.column)));
        f.setCode(box, m_codes.source(c.master), f.addDescription(10 + i, box));
        m_boxes[std::size_t(i)] = box;
    }
    m_boxes[3] = addPathBox(3, u"File Path"_s, u"Select / Enter File Path"_s);
    addRunLine(u"&Upload"_s);
    f.setFieldOrder(u"T0,T1,T2,T3,B1"_s);
    connect(browseButton(), &QPushButton::clicked, this, &ImportAutonomousScreen::browse);
    connect(runButton(), &QPushButton::clicked, this, &ImportAutonomousScreen::upload);
}

QLineEdit *ImportAutonomousScreen::text(int index) const { return fields().text(index); }

QPushButton *ImportAutonomousScreen::cmd(int index) const
{
    return index == 0 ? browseButton() : index == 1 ? runButton() : nullptr;
}

void ImportAutonomousScreen::browse()
{
    const auto file = prompter().chooseFile(u"Open"_s, startFolder(m_boxes[3]->text(), session()),
                                            u"Autonomous files (*.csv *.CSV)"_s, Prompter::FileMode::Open);
    if (file)
        m_boxes[3]->setText(*file);
}

void ImportAutonomousScreen::upload()
{
    const AutonomousCodes codes{m_boxes[0]->text().trimmed(), m_boxes[1]->text().trimmed(),
                                m_boxes[2]->text().trimmed()};
    const QString path = m_boxes[3]->text().trimmed();
    runButton()->setEnabled(false);
    AutonomousImport run(session(), prompter(), startRun());
    const auto counts = run.run(codes, path);
    endRun();
    runButton()->setEnabled(true);
    if (counts) {
        showOutcome(countsOutcome(path, *counts));
        return;
    }
    showOutcome(u"Nothing imported"_s);
    // Back to what was refused: the first empty code, else the path.
    for (QLineEdit *box : m_boxes) {
        if (box->text().trimmed().isEmpty()) {
            fields().returnFocusTo(box);
            return;
        }
    }
    fields().returnFocusTo(m_boxes[3]);
}

// ---------------------------------------------------------------------------------------------

ImportOnlineScreen::ImportOnlineScreen(const FormContext &context)
    : ImportScreen(context, u"IMPORTAPPONLINE"_s, u"Import Application Data from Online . . ."_s)
{
    auto *note = new QLabel(u"Paid applications of the online portal are brought into the fee register,\n"
                            "and the candidates' addresses, mobile numbers and e-mails are filled in."_s);
    fields().addField(u"N0"_s, {}, note);
    addRunLine(u"&Import"_s);
    fields().setFieldOrder(u"B1"_s);
    connect(runButton(), &QPushButton::clicked, this, &ImportOnlineScreen::import);
}

QPushButton *ImportOnlineScreen::cmd(int index) const { return index == 1 ? runButton() : nullptr; }

void ImportOnlineScreen::import()
{
    runButton()->setEnabled(false);
    OnlineApplicationImport run(session(), prompter(), startRun());
    const auto counts = run.run();
    endRun();
    runButton()->setEnabled(true);
    showOutcome(counts ? u"%1 paid applications read: %2 new, %3 candidates marked paid, %4 of no candidate"_s
                             .arg(counts->remoteRows)
                             .arg(counts->newApplications)
                             .arg(counts->candidatesMarked)
                             .arg(counts->unmatched.size())
                       : u"Nothing imported"_s);
    showInstitutionTitle();
}

// ---------------------------------------------------------------------------------------------

void registerImportScreens(ScreenRegistry &screens)
{
    screens.add(u"N21"_s, {u"IMPORTDATADIR"_s, false,
                           [](const FormContext &c, const QString &) { return new ImportDirectoryScreen(c); }});
    screens.add(u"N28"_s, {u"IMPORTDATA"_s, false,
                           [](const FormContext &c, const QString &) { return new ImportDataScreen(c); }});
    screens.add(u"N2C"_s, {u"IMPORTDATA_AUTO"_s, false,
                           [](const FormContext &c, const QString &) { return new ImportAutonomousScreen(c); }});
    screens.add(u"N2D"_s, {u"IMPORTAPPONLINE"_s, false,
                           [](const FormContext &c, const QString &) { return new ImportOnlineScreen(c); }});
}

} // namespace sw
