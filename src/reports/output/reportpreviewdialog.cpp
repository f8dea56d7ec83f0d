// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportpreviewdialog.h"

#include "reports/output/reportspooler.h"
#include "shell/db/failures.h"
#include "shell/core/appfolder.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/document/fonttable.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QKeySequence>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextBlock>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QFont fixedPitchFont()
{
    QFont font(FontTable::drawnFamily(u"Lucida Console"_s), 10);
    font.setStyleHint(QFont::Monospace);
    return font;
}

QPushButton *button(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

ReportPreviewDialog::ReportPreviewDialog(const QString &reportFile, const AppFolder &folder, Prompter &prompter,
                                         ReportPrinting printing, QWidget *parent)
    : QDialog(parent)
    , m_reportFile(reportFile)
    , m_folder(folder.root())
    , m_prompter(prompter)
    , m_printing(std::move(printing))
    , m_preview(ReportPreview::load(reportFile))
{
    setObjectName(u"PREVIEWFRM"_s);
    setWindowTitle(u"Preview . . ."_s);

    auto *frame = new QHBoxLayout;
    QPushButton *cmdprint = button(u"&Print"_s, u"cmdprint"_s, this);
    QPushButton *cmdsave = button(u"&Save"_s, u"cmdsave"_s, this);
    QPushButton *cmdsearch = button(u"Sea&rch"_s, u"cmdsearch"_s, this);
    m_dos = new QRadioButton(u"&DOS"_s, this);
    m_dos->setObjectName(u"Opt_0"_s);
    m_windows = new QRadioButton(u"&Windows"_s, this);
    m_windows->setObjectName(u"Opt_1"_s);
    m_dos->setChecked(true);
    auto *pageLabel = new QLabel(u"Pa&ge"_s, this);
    m_page = new QSpinBox(this);
    m_page->setObjectName(u"txtpage"_s);
    m_page->setRange(1, std::max(1, m_preview.pageCount()));
    pageLabel->setBuddy(m_page);
    QPushButton *cmdgo = button(u"&Go"_s, u"cmdgo"_s, this);
    QPushButton *cmdprevious = button(u"<"_s, u"cmdprevious"_s, this);
    QPushButton *cmdnext = button(u">"_s, u"cmdnext"_s, this);
    cmdprevious->setShortcut(QKeySequence(Qt::Key_PageUp | Qt::ControlModifier));
    cmdnext->setShortcut(QKeySequence(Qt::Key_PageDown | Qt::ControlModifier));
    m_where = new QLabel(this);
    m_where->setObjectName(u"lblwhere"_s);
    for (QWidget *w : std::initializer_list<QWidget *>{cmdprint, m_dos, m_windows, cmdsave, cmdsearch, pageLabel,
                                                       m_page, cmdgo, cmdprevious, cmdnext})
        frame->addWidget(w);
    frame->addStretch();
    frame->addWidget(m_where);

    m_rtb = new QPlainTextEdit(this);
    m_rtb->setObjectName(u"RTB"_s);
    m_rtb->setReadOnly(true);
    m_rtb->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_rtb->setFont(fixedPitchFont());

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(frame);
    layout->addWidget(m_rtb);

    connect(cmdprint, &QPushButton::clicked, this, &ReportPreviewDialog::print);
    connect(cmdsave, &QPushButton::clicked, this, &ReportPreviewDialog::save);
    connect(cmdsearch, &QPushButton::clicked, this, &ReportPreviewDialog::search);
    connect(cmdgo, &QPushButton::clicked, this, [this] { goToPage(m_page->value()); });
    connect(cmdprevious, &QPushButton::clicked, this, [this] { goToPage(m_currentPage - 1); });
    connect(cmdnext, &QPushButton::clicked, this, [this] { goToPage(m_currentPage + 1); });

    // As wide as the screen and a little less high, leaving the task bar visible; the
    // window manager's frame and title bar go around it, within the screen too.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::max(400, area.width() - 16), std::max(300, area.height() - 48));
    }
    showPage(1);
    m_rtb->setFocus();
}

void ReportPreviewDialog::showPage(int page)
{
    page = std::clamp(page, 1, std::max(1, m_preview.pageCount()));
    if (page == m_currentPage)
        return;
    m_currentPage = page;
    const qsizetype start = m_preview.pageStart(page);
    const qsizetype end = page < m_preview.pageCount() ? m_preview.pageStart(page + 1) : m_preview.text().size();
    m_rtb->setPlainText(m_preview.text().mid(start, end - start));
    m_page->setValue(page);
    showWhereWeAre();
}

void ReportPreviewDialog::showWhereWeAre()
{
    m_where->setText(QStringLiteral("Page %1 of %2").arg(m_currentPage).arg(m_preview.pageCount()));
}

void ReportPreviewDialog::print()
{
    try {
        if (m_dos->isChecked()) {
            ReportSpooler::print(m_reportFile, m_printing.printer);
        } else {
            if (!m_printing.throughDocumentPrinter)
                throw StopError(u"Printing through Windows is not available here; choose DOS."_s,
                                PromptIcon::Exclamation);
            m_printing.throughDocumentPrinter(m_reportFile, m_printing.printer);
        }
    } catch (const StopError &) {
        showFailure(m_prompter, ErrorForm::Report);
    }
}

void ReportPreviewDialog::save()
{
    const auto file = m_prompter.chooseFile(u"Save"_s, m_folder, u"Text files (*.txt)"_s, Prompter::FileMode::Save);
    if (!file || file->trimmed().isEmpty()) {
        m_prompter.message(u"Select Save file name"_s, u"Message"_s, PromptIcon::Information);
        return;
    }
    try {
        m_preview.saveAs(*file);
    } catch (const StopError &) {
        showFailure(m_prompter, ErrorForm::Report);
    }
}

void ReportPreviewDialog::search()
{
    const auto answer = m_prompter.input(u"Enter Search String"_s, u"Search"_s, {});
    if (!answer)
        return;
    if (answer->trimmed().isEmpty()) {
        m_prompter.message(u"Enter Search String"_s, u"Message"_s, PromptIcon::Exclamation);
        return;
    }
    const qsizetype hit = m_preview.search(*answer);
    if (hit < 0) {
        m_where->setText(u"\""_s + *answer + u"\" not found"_s);
        return;
    }
    const int page = m_preview.pageAt(hit);
    showPage(page);
    const int inPage = int(hit - m_preview.pageStart(page));
    QTextCursor cursor = m_rtb->textCursor();
    cursor.setPosition(inPage);
    cursor.setPosition(inPage + int(answer->size()), QTextCursor::KeepAnchor);
    m_rtb->setTextCursor(cursor);
    m_rtb->ensureCursorVisible();
    m_rtb->setFocus();
}

void ReportPreviewDialog::goToPage(int page)
{
    showPage(page);
    m_rtb->moveCursor(QTextCursor::Start);
    m_rtb->setFocus();
}

void ShowReportPreview(const QString &reportFile, const AppFolder &folder, Prompter &prompter,
                       const ReportPrinting &printing, QWidget *parent)
{
    ReportPreviewDialog window(reportFile, folder, prompter, printing, parent);
    window.exec();
}

} // namespace sw
