// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/importscreens.h"

#include "candidates/imports/autonomousimport.h"
#include "candidates/imports/directoryimport.h"
#include "candidates/imports/onlineimport.h"
#include "candidates/imports/resultimport.h"
#include "shell/core/session.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/screenregistry.h"
#include "shell/startup/startup.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Repaints while a run holds the event loop: at most this often, and whenever the
// bar moves on by a whole percent.
constexpr qint64 kPaintIntervalMs = 150;

QLineEdit *addPathBox(QGridLayout *grid, int row, const QString &name, const QString &label, const QString &toolTip)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setToolTip(toolTip);
    edit->setMinimumWidth(380);
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QPushButton *browseButton(QGridLayout *grid, int row)
{
    auto *button = new QPushButton(u"..."_s);
    button->setObjectName(u"cmd_0"_s);
    button->setToolTip(u"Browse"_s);
    button->setFixedWidth(32);
    grid->addWidget(button, row, 2);
    return button;
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
    : ChildForm(context, formName, caption)
    , m_pb(new QProgressBar(this))
{
    m_pb->setObjectName(u"PB"_s);
    m_pb->setRange(0, 100);
    m_pb->setValue(0);
    m_pb->setVisible(false);
}

void ImportScreen::activated()
{
    commands().setToolMode(ToolMode::Disabled);
    m_pb->setVisible(false);
    setHint({});
}

QPushButton *ImportScreen::addButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    return button;
}

Progress ImportScreen::startRun()
{
    m_pb->setValue(0);
    m_pb->setVisible(true);
    m_paintedPercent = -1;
    m_sincePaint.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return [this](const QString &status, int percent) { showProgress(status, percent); };
}

void ImportScreen::showProgress(const QString &status, int percent)
{
    const bool moved = percent >= 0 && percent != m_paintedPercent;
    if (!moved && m_sincePaint.elapsed() < kPaintIntervalMs)
        return;
    if (percent >= 0) {
        m_pb->setValue(std::clamp(percent, 0, 100));
        m_paintedPercent = percent;
    }
    setHint(status);
    m_sincePaint.restart();
    // The clerk may not type into the screen while it imports; painting is all that is let through.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ImportScreen::endRun()
{
    QApplication::restoreOverrideCursor();
    m_pb->setValue(0);
    m_pb->setVisible(false);
    setHint({});
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
    auto *frame = new QGroupBox(this);
    frame->setObjectName(u"Frame"_s);
    auto *grid = new QGridLayout(frame);
    m_path = addPathBox(grid, 0, u"text_0"_s, u"File Path"_s, u"Select / Enter File Path"_s);
    m_browse = browseButton(grid, 0);
    m_upload = addButton(u"cmd_1"_s, u"&Upload"_s);
    grid->addWidget(m_upload, 1, 1, Qt::AlignRight);
    body()->addWidget(frame);
    body()->addWidget(progressBar());
    connect(m_browse, &QPushButton::clicked, this, &ImportDataScreen::browse);
    connect(m_upload, &QPushButton::clicked, this, &ImportDataScreen::upload);
    connect(m_path, &QLineEdit::returnPressed, m_upload, qOverload<>(&QWidget::setFocus));
}

QLineEdit *ImportDataScreen::text(int index) const
{
    return index == 0 ? m_path : nullptr;
}

QPushButton *ImportDataScreen::cmd(int index) const
{
    return index == 0 ? m_browse : index == 1 ? m_upload : nullptr;
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
    m_upload->setEnabled(false);
    ResultFileImport run(session(), prompter(), startRun());
    const auto counts = run.run(m_path->text().trimmed());
    endRun();
    m_upload->setEnabled(true);
    // A refused path sends the clerk back to it.
    if (!counts)
        m_path->setFocus();
}

// ---------------------------------------------------------------------------------------------

ImportDirectoryScreen::ImportDirectoryScreen(const FormContext &context)
    : ImportScreen(context, u"IMPORTDATADIR"_s, u"Import Data Directorywise. . ."_s)
{
    auto *frame = new QGroupBox(this);
    frame->setObjectName(u"Frame"_s);
    auto *grid = new QGridLayout(frame);
    m_folder = addPathBox(grid, 0, u"DIRBOX"_s, u"Select Folder"_s, u"The folder whose .cnv files are imported"_s);
    m_browse = browseButton(grid, 0);
    grid->addWidget(new QLabel(u"Selected Files"_s), 1, 0, Qt::AlignTop);
    m_files = new QListWidget;
    m_files->setObjectName(u"FILEBOX"_s);
    m_files->setMinimumHeight(160);
    grid->addWidget(m_files, 1, 1, 1, 2);
    m_toOnline = new QCheckBox(u"&Upload to Online"_s);
    m_toOnline->setObjectName(u"chk_0"_s);
    m_onlineOnly = new QCheckBox(u"&Online only ?"_s);
    m_onlineOnly->setObjectName(u"chk_1"_s);
    m_onlineOnly->setVisible(false);
    auto *checks = new QHBoxLayout;
    checks->addWidget(m_toOnline);
    checks->addWidget(m_onlineOnly);
    checks->addStretch(1);
    m_upload = addButton(u"cmd_1"_s, u"&Upload"_s);
    checks->addWidget(m_upload);
    grid->addLayout(checks, 2, 1, 1, 2);
    body()->addWidget(frame);
    body()->addWidget(progressBar());

    connect(m_browse, &QPushButton::clicked, this, &ImportDirectoryScreen::browse);
    connect(m_folder, &QLineEdit::editingFinished, this, &ImportDirectoryScreen::listFolder);
    connect(m_toOnline, &QCheckBox::toggled, this, &ImportDirectoryScreen::uploadTicked);
    connect(m_upload, &QPushButton::clicked, this, &ImportDirectoryScreen::upload);
}

QCheckBox *ImportDirectoryScreen::chk(int index) const
{
    return index == 0 ? m_toOnline : index == 1 ? m_onlineOnly : nullptr;
}

QPushButton *ImportDirectoryScreen::cmd(int index) const
{
    return index == 0 ? m_browse : index == 1 ? m_upload : nullptr;
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
    m_upload->setEnabled(false);
    const QString ownCaption = windowTitle();
    DirectoryImport run(session(), prompter(), startRun());
    int fileIndex = 0;
    run.onCaption([this, &fileIndex](const QString &caption) {
        setWindowTitle(caption);
        // Each file's turn is announced by a caption with the counts; the last one restores the plain caption.
        if (caption.contains(u"Total Files Selected"_s) && fileIndex < m_files->count())
            m_files->setCurrentRow(fileIndex++);
    });
    const DirectoryImport::Options options{m_toOnline->isChecked(), m_toOnline->isChecked() && m_onlineOnly->isChecked()};
    run.run(m_folder->text().trimmed(), options);
    endRun();
    setWindowTitle(ownCaption);
    m_upload->setEnabled(true);
    if (options.uploadToOnline)
        showInstitutionTitle();
}

// ---------------------------------------------------------------------------------------------

ImportAutonomousScreen::ImportAutonomousScreen(const FormContext &context)
    : ImportScreen(context, u"IMPORTDATA_AUTO"_s, u"Import Data Filewise. . ."_s)
{
    auto *frame = new QGroupBox(this);
    frame->setObjectName(u"Frame"_s);
    auto *grid = new QGridLayout(frame);
    const QStringList labels{u"Univ. code"_s, u"College code"_s, u"Degree Code"_s};
    for (int i = 0; i < 3; ++i) {
        auto *box = new QLineEdit;
        box->setObjectName(u"text_"_s + QString::number(i));
        box->setMaxLength(10);
        box->setMaximumWidth(120);
        grid->addWidget(new QLabel(labels[i]), i, 0);
        grid->addWidget(box, i, 1, Qt::AlignLeft);
        // Codes are kept in capitals everywhere.
        connect(box, &QLineEdit::textEdited, box, [box](const QString &typed) {
            if (typed != typed.toUpper()) {
                const int at = box->cursorPosition();
                box->setText(typed.toUpper());
                box->setCursorPosition(at);
            }
        });
        m_boxes[std::size_t(i)] = box;
    }
    m_boxes[3] = addPathBox(grid, 3, u"text_3"_s, u"File Path"_s, u"Select / Enter File Path"_s);
    m_browse = browseButton(grid, 3);
    m_upload = addButton(u"cmd_1"_s, u"&Upload"_s);
    grid->addWidget(m_upload, 4, 1, Qt::AlignRight);
    body()->addWidget(frame);
    body()->addWidget(progressBar());
    for (std::size_t i = 0; i + 1 < m_boxes.size(); ++i)
        connect(m_boxes[i], &QLineEdit::returnPressed, m_boxes[i + 1], qOverload<>(&QWidget::setFocus));
    connect(m_boxes[3], &QLineEdit::returnPressed, m_upload, qOverload<>(&QWidget::setFocus));
    connect(m_browse, &QPushButton::clicked, this, &ImportAutonomousScreen::browse);
    connect(m_upload, &QPushButton::clicked, this, &ImportAutonomousScreen::upload);
}

QLineEdit *ImportAutonomousScreen::text(int index) const
{
    return index >= 0 && index < 4 ? m_boxes[std::size_t(index)] : nullptr;
}

QPushButton *ImportAutonomousScreen::cmd(int index) const
{
    return index == 0 ? m_browse : index == 1 ? m_upload : nullptr;
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
    m_upload->setEnabled(false);
    AutonomousImport run(session(), prompter(), startRun());
    const auto counts = run.run(codes, m_boxes[3]->text().trimmed());
    endRun();
    m_upload->setEnabled(true);
    if (counts)
        return;
    // Back to what was refused: the first empty code, else the path.
    for (QLineEdit *box : m_boxes) {
        if (box->text().trimmed().isEmpty()) {
            box->setFocus();
            return;
        }
    }
    m_boxes[3]->setFocus();
}

// ---------------------------------------------------------------------------------------------

ImportOnlineScreen::ImportOnlineScreen(const FormContext &context)
    : ImportScreen(context, u"IMPORTAPPONLINE"_s, u"Import Application Data from Online . . ."_s)
{
    auto *frame = new QGroupBox(this);
    frame->setObjectName(u"Frame"_s);
    auto *row = new QHBoxLayout(frame);
    auto *note = new QLabel(u"Paid applications of the online portal are brought into the fee register,\n"
                            "and the candidates' addresses, mobile numbers and e-mails are filled in."_s);
    row->addWidget(note, 1);
    m_import = addButton(u"cmd_1"_s, u"&Import"_s);
    row->addWidget(m_import);
    body()->addWidget(frame);
    body()->addWidget(progressBar());
    connect(m_import, &QPushButton::clicked, this, &ImportOnlineScreen::import);
}

QPushButton *ImportOnlineScreen::cmd(int index) const
{
    return index == 1 ? m_import : nullptr;
}

void ImportOnlineScreen::import()
{
    m_import->setEnabled(false);
    OnlineApplicationImport run(session(), prompter(), startRun());
    run.run();
    endRun();
    m_import->setEnabled(true);
    showInstitutionTitle();
}

// ---------------------------------------------------------------------------------------------

void registerImportScreens(ScreenRegistry &screens)
{
    screens.add(u"N21"_s, {u"IMPORTDATADIR"_s, false, [](const FormContext &c, const QString &) {
                               return new ImportDirectoryScreen(c);
                           }});
    screens.add(u"N28"_s, {u"IMPORTDATA"_s, false, [](const FormContext &c, const QString &) {
                               return new ImportDataScreen(c);
                           }});
    screens.add(u"N2C"_s, {u"IMPORTDATA_AUTO"_s, false, [](const FormContext &c, const QString &) {
                               return new ImportAutonomousScreen(c);
                           }});
    screens.add(u"N2D"_s, {u"IMPORTAPPONLINE"_s, false, [](const FormContext &c, const QString &) {
                               return new ImportOnlineScreen(c);
                           }});
}

} // namespace sw
