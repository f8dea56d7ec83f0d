// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/certprint.h"

#include "certificates/printing/printingrun.h"
#include "certificates/printing/sheetnumbers.h"
#include "certificates/printing/stationeryledger.h"
#include "shell/core/stoperror.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/db/database.h"
#include "shell/forms/screenregistry.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSysInfo>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

QString CertPrint::caption(PrintMode mode)
{
    const QString base = u"Degree Certificate Printing . . ."_s;
    return mode == PrintMode::Pdf ? base + u" (PDF for NAD)"_s : base;
}

CertPrint::CertPrint(const FormContext &context, PrintMode mode)
    : ReportForm(context, u"CERTPRINT"_s, caption(mode))
    , m_mode(mode)
{
    auto *frame = new QWidget(this);
    m_grid = new QGridLayout(frame);
    body()->addWidget(frame);
    addBox(0, u"Degree"_s, u"Degree"_s, 0, 0);
    addBox(7, {}, {}, 0, 2)->setReadOnly(true);
    addBox(1, u"From College"_s, u"From College"_s, 1, 0);
    addBox(29, {}, {}, 1, 2)->setReadOnly(true);
    addBox(28, u"To College"_s, u"To College"_s, 2, 0);
    addBox(8, {}, {}, 2, 2)->setReadOnly(true);
    addBox(2, u"From Reg. No."_s, u"From Reg. No."_s, 3, 0);
    addBox(3, u"To Reg. No."_s, u"To Reg. No."_s, 4, 0);
    addBox(26, u"Conv. Date"_s, u"Convocation date"_s, 5, 0)->setReadOnly(true);
    m_date = new QLineEdit(frame);
    m_date->setObjectName(u"mskdt_0"_s);
    m_date->setInputMask(u"99/99/9999;_"_s);
    m_date->setToolTip(u"From Date in dd/mm/yyyy format"_s);
    m_grid->addWidget(m_date, 5, 2);
    addBox(4, u"Cert. Prefix"_s, u"Certificate Prefix"_s, 6, 0);
    addBox(5, u"Enter Cert. range"_s, u"Starting Certificate No."_s, 7, 0);
    addBox(30, {}, u"Ending Certificate No."_s, 7, 2);
    addBox(6, u"Cert. Type"_s,
           u"Certificate Type, 1 - UG / PG with out Speciality, 2 - UG / PG with Speciality, 3 - PHD, 4 - MPHIL "_s, 8,
           0);
    const QString checks[] = {u"&Temp"_s, u"&Diploma"_s, u"Facsimile Req?"_s};
    for (int i = 0; i < 3; ++i) {
        m_chk[i] = new QCheckBox(checks[i], frame);
        m_chk[i]->setObjectName(u"chk_"_s + QString::number(i));
        m_grid->addWidget(m_chk[i], 9, i);
    }
    m_stop = new QPushButton(u"S&top"_s, frame);
    m_stop->setObjectName(u"cmdStop"_s);
    m_stop->setToolTip(u"Stops the run before the next sheet; what was confirmed stays stored"_s);
    m_stop->setEnabled(false);
    m_grid->addWidget(m_stop, 10, 0);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        if (m_run) {
            m_run->requestStop();
            setHint(u"Stopping after this sheet ..."_s);
        }
    });
    m_spoiled = new QPushButton(u"Spoiled &Sheets..."_s, frame);
    m_spoiled->setObjectName(u"cmdSpoiled"_s);
    m_spoiled->setToolTip(u"Registers sheets that came out badly after their numbers were stored"_s);
    m_spoiled->setVisible(mode == PrintMode::Print);
    m_grid->addWidget(m_spoiled, 10, 1);
    connect(m_spoiled, &QPushButton::clicked, this, &CertPrint::registerSpoiledSheets);
    // Tab order as the clerk works down the selection.
    const int order[] = {0, 1, 28, 2, 3, 26};
    QWidget *previous = nullptr;
    for (int index : order) {
        if (previous)
            setTabOrder(previous, m_text.at(index));
        previous = m_text.at(index);
    }
    setTabOrder(previous, m_date);
    setTabOrder(m_date, m_text.at(4));
    setTabOrder(m_text.at(4), m_text.at(5));
    setTabOrder(m_text.at(5), m_text.at(30));
    setTabOrder(m_text.at(30), m_text.at(6));
}

QLineEdit *CertPrint::addBox(int index, const QString &caption, const QString &hint, int row, int column)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(u"text_"_s + QString::number(index));
    box->setToolTip(hint);
    if (!caption.isEmpty())
        m_grid->addWidget(new QLabel(caption, this), row, column);
    m_grid->addWidget(box, row, column + 1);
    m_text[index] = box;
    return box;
}

void CertPrint::activated()
{
    ReportForm::activated();
    setWindowTitle(caption(m_mode));
    Rows rows = session().db().query(u"select masconvo.fdate, masconvo.fconvocode from masconvo where fconvocode = ?"_s,
                                     {session().convoCode});
    int count = 0;
    QString date;
    while (rows.next()) {
        date = rows.text(0).trimmed();
        ++count;
    }
    if (count != 1) {
        prompter().info(count == 0 ? u"Activate Convocation Date in Convocation Screen"_s
                                   : u"More than one Convocation is Activated!!. Activate One Convocation at a Time"_s);
        m_text.at(0)->setFocus();
        return;
    }
    m_text.at(26)->setText(date);
    if (date.isEmpty()) {
        prompter().info(u"Define Convocation Date in Control Screen"_s);
        m_text.at(0)->setFocus();
        return;
    }
    if (m_date->text() == u"__/__/____"_s || m_date->text().remove(u'/').trimmed().isEmpty())
        m_date->setText(PrintingRun::defaultIssueDate());
    m_chk[0]->setChecked(true);
    m_chk[0]->setEnabled(false);
    setHint({});
}

PrintSelection CertPrint::selection() const
{
    PrintSelection s;
    s.mode = m_mode;
    s.degree = m_text.at(0)->text().trimmed().toUpper();
    s.collegeFrom = m_text.at(1)->text().trimmed().toUpper();
    s.collegeTo = m_text.at(28)->text().trimmed().toUpper();
    s.regnoFrom = m_text.at(2)->text().trimmed().toUpper();
    s.regnoTo = m_text.at(3)->text().trimmed().toUpper();
    s.issueDate = m_date->text();
    s.prefix = m_text.at(4)->text().toUpper();
    s.startNumber = m_text.at(5)->text();
    s.endNumber = m_text.at(30)->text();
    s.certType = m_text.at(6)->text().trimmed().toUpper();
    s.temp = m_chk[0]->isChecked();
    s.diploma = m_chk[1]->isChecked();
    s.facsimile = m_chk[2]->isChecked();
    if (m_mode == PrintMode::Pdf) {
        s.startNumber = u"1"_s;
        s.endNumber = u"999999"_s;
    }
    return s;
}

void CertPrint::VPSproc(const QString &operation)
{
    if (m_run || (operation != u"preview"_s && operation != u"print"_s))
        return;
    PrintSelection s = selection();
    s.operation = operation == u"print"_s ? PrintOperation::Print : PrintOperation::Preview;
    if (!m_output)
        m_output = std::make_unique<PrinterOutput>(QString(), session().folder.filePath(u"Output/preview"_s));
    // The status bar follows the run; events are processed between sheets so the
    // window stays responsive while a long run prints.
    PrintingRun run(session(), prompter(), [this](const QString &status, int percent) {
        setHint(percent >= 0 && !status.isEmpty() ? status + u"  ("_s + QString::number(percent) + u"%)"_s : status);
        QCoreApplication::processEvents();
    });
    m_run = &run;
    m_stop->setEnabled(true);
    m_spoiled->setEnabled(false);
    const auto idle = qScopeGuard([this] {
        m_run = nullptr;
        m_stop->setEnabled(false);
        m_spoiled->setEnabled(true);
    });
    const PrintingResult result = run.run(s, *m_output);
    // Show where the range now stands, so the next run starts on the next sheet.
    if (s.mode == PrintMode::Print && s.operation == PrintOperation::Print && result.printed + result.spoiled > 0)
        m_text.at(5)->setText(QString::number(result.nextNumber));
    setHint({});
}

void CertPrint::closeEvent(QCloseEvent *event)
{
    if (m_run) {
        m_run->requestStop();
        setHint(u"Stopping after this sheet ..."_s);
        event->ignore();
        return;
    }
    ReportForm::closeEvent(event);
}

void CertPrint::registerSpoiledSheets()
{
    if (m_run || m_mode != PrintMode::Print)
        return;
    const QString prefix = m_text.at(4)->text().trimmed().toUpper();
    const QString title = u"Spoiled Sheets"_s;
    try {
        StationeryLedger ledger(session().db(), session().convoCode, session().userName, QSysInfo::machineHostName());
        if (!settlePendingSheets(ledger, prefix))
            return;
        const std::optional<QString> list = prompter().input(
            u"Numbers of the spoiled sheets"_s + (prefix.isEmpty() ? QString() : u" (prefix "_s + prefix + u')')
                + u", for example 17, 19-21:"_s,
            title, {});
        if (!list || list->trimmed().isEmpty())
            return;
        const std::vector<long long> numbers = sheetnumbers::parseList(*list, prefix);
        const QStringList plan = ledger.planSpoiled(prefix, numbers);
        if (!prompter().askYesNo(plan.join(u'\n') + u"\n\nRegister these sheets as spoiled?"_s, title))
            return;
        const std::optional<QString> reason = prompter().input(u"Why were they spoiled?"_s, title, {});
        ledger.registerSpoiled(prefix, numbers, reason.value_or(QString()));
        prompter().info(QString::number(numbers.size()) + (numbers.size() == 1 ? u" sheet"_s : u" sheets"_s) + u" registered as spoiled."_s, title);
    } catch (const StopError &e) {
        prompter().message(e.text(), title, e.icon());
    } catch (const DbError &e) {
        prompter().message(e.reportMessage(), u"Message"_s, PromptIcon::Critical);
    }
}

// Sheets a run sent to the printer and never confirmed (it was stopped, or the
// program ended): the clerk says of each how it came out. False when he cancels.
bool CertPrint::settlePendingSheets(StationeryLedger &ledger, const QString &prefix)
{
    const QString title = u"Spoiled Sheets"_s;
    for (const QString &line : ledger.pendingSheets(prefix)) {
        const QString certNo = line.section(u' ', 0, 0);
        const PromptAnswer answer = prompter().ask(
            line + u".\n\nDid this sheet come out well? Yes stores its number on the candidate; No registers it as "
                   "spoiled and the candidate prints again on a new sheet."_s,
            title, PromptIcon::Question, PromptButtons::YesNoCancel, PromptAnswer::Cancel);
        if (answer == PromptAnswer::Cancel)
            return false;
        const auto parsed = sheetnumbers::parse(certNo);
        if (!parsed)
            continue;
        ledger.settle(parsed->prefix, {parsed->number}, answer == PromptAnswer::Yes, {});
    }
    return true;
}

void registerPrintingScreens(ScreenRegistry &screens)
{
    screens.add(u"N24"_s, {u"CERTPRINT"_s, false, [](const FormContext &c, const QString &) {
                               return new CertPrint(c, PrintMode::Print);
                           }});
    screens.add(u"N2F"_s, {u"CERTPRINT"_s, false, [](const FormContext &c, const QString &) {
                               return new CertPrint(c, PrintMode::Pdf);
                           }});
}

} // namespace sw
