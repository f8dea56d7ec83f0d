// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/cancellation/cancellationform.h"
#include "shell/core/dates.h"

#include "candidates/entry/candidatestore.h"
#include "shell/core/prompter.h"
#include "shell/session.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QList<SpreadColumn> cancellationColumns(CancellationScreen screen)
{
    const QString regno = u"Enter Reg. No., maximum length "_s
                          + QString::number(CandidateStore::columnWidth(u"fregno"_s)) + u", F1-Help"_s;
    if (screen == CancellationScreen::Register)
        return {{u"Reg. No."_s, SpreadColumn::Kind::Text, regno},
                {u"Name"_s, SpreadColumn::Kind::Text, u"Enter Name"_s},
                {u"Cert. No."_s, SpreadColumn::Kind::Text, u"Enter Cert. No."_s},
                {u"Reason"_s, SpreadColumn::Kind::Text, u"Enter Reason for Cancel"_s},
                {u"State"_s, SpreadColumn::Kind::State}};
    return {{u"Reg. No."_s},
            {u"Name"_s},
            {u"Cert. No."_s},
            {u"Printed Date"_s},
            {u"Cancel"_s, SpreadColumn::Kind::Check, u"Tick the certificates to cancel"_s}};
}

QString plural(qsizetype n, const QString &one, const QString &many)
{
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

} // namespace

CancellationForm::CancellationForm(const FormContext &context, CancellationScreen screen)
    : CodeGridForm(context, screen == CancellationScreen::Register ? u"CERTCAN"_s : u"CERTCANRANGE"_s,
                   screen == CancellationScreen::Register ? u"Cancel Certificate . . ."_s
                                                          : u"Cancel Certificates (Range) . . ."_s,
                   cancellationColumns(screen))
    , m_store(context.session, context.prompter)
    , m_codes(context.session)
    , m_screen(screen)
{
    using Master = MasterCodes::Master;
    m_degree = addHeaderCode(0, u"Degree"_s, u"Degree"_s, CandidateStore::columnWidth(u"fdegree"_s),
                             m_codes.source(Master::Degree, [this] { return m_store.degreeLookup(); }), 1);
    m_college = addHeaderCode(
        3, u"College"_s, u"College"_s, CandidateStore::columnWidth(u"fcollcode"_s),
        m_codes.source(Master::College,
                       [this] { return m_store.collegeLookup(isRegister() ? QString() : m_degree->text()); }),
        2);
    setFieldOrder(u"T0,T3,S0"_s);
    setMandatoryFields(u"T0,T3"_s);
}

std::optional<LookupRequest> CancellationForm::keyLookup() const
{
    if (!isRegister())
        return std::nullopt;
    return withHeadings(m_store.regnoLookup(m_degree->text(), m_college->text()), {u"Reg. No."_s, u"Name"_s});
}

void CancellationForm::AEDproc(EditMode mode)
{
    if (mode == EditMode::Delete) {
        // Register lines are never deleted, and a cancellation is not undone.
        prompter().info(u"Cancelled certificates cannot be deleted."_s);
        return;
    }
    CodeGridForm::AEDproc(mode);
}

bool CancellationForm::headerComplete()
{
    const QString degree = headerText(0);
    const QString college = headerText(3);
    if (!m_store.checkHeader(degree, college))
        return false;
    const bool found = isRegister() ? m_store.hasRegister(degree, college) : m_store.hasPrinted(degree, college);
    setEditMode(found || !isRegister() ? EditMode::Edit : EditMode::Add);
    if (found) {
        loadGrid();
    } else if (isRegister()) {
        spread()->clearRows();
        appendAddLine();
    } else {
        spread()->clearRows();
        prompter().info(u"No records found"_s);
    }
    if (spread()->rowCount() > 0)
        openGrid(isRegister() ? spread()->rowCount() - 1 : 0, isRegister() ? int(RegNo) : int(Cancel));
    return true;
}

void CancellationForm::display_record(RecordSet &, const QString &) { loadGrid(); }

void CancellationForm::loadGrid()
{
    const QString degree = headerText(0);
    const QString college = headerText(3);
    fillGrid([&] {
        if (isRegister()) {
            for (const CancelRow &row : m_store.loadRegister(degree, college))
                spread()->appendRow({SpreadGrid::shownItem(row.regno), SpreadGrid::shownItem(row.name),
                                     SpreadGrid::shownItem(row.certNo), SpreadGrid::typedItem(row.reason),
                                     SpreadGrid::shownItem(row.state.isEmpty() ? u"U"_s : row.state)});
            if (!browsing())
                appendAddLine();
        } else {
            for (const PrintedRow &row : m_store.loadPrinted(degree, college))
                spread()->appendRow({SpreadGrid::shownItem(row.regno), SpreadGrid::shownItem(row.name),
                                     SpreadGrid::shownItem(row.certNo),
                                     SpreadGrid::shownItem(row.issued.isValid() ? formatDmy(row.issued) : QString()),
                                     SpreadGrid::checkItem(row.ticked)});
        }
    });
    setCount(isRegister() ? plural(registerRows().size(), u"cancellation"_s, u"cancellations"_s)
                          : plural(spread()->rowCount(), u"printed certificate"_s, u"printed certificates"_s));
}

void CancellationForm::keyTyped(int row)
{
    const std::vector<CancelRow> others = registerRows();
    const std::optional<CancelRow> line =
        m_store.newRow(headerText(0), headerText(3), spread()->text(row, RegNo), others);
    {
        const QSignalBlocker hold(spread());
        if (line) {
            spread()->setText(row, RegNo, line->regno);
            spread()->lock(row, RegNo);
            spread()->setText(row, Name, line->name);
            spread()->setText(row, CertNo, line->certNo);
            QTableWidgetItem *reason = spread()->item(row, Reason);
            reason->setFlags(reason->flags() | Qt::ItemIsEditable);
            spread()->setText(row, RowState, u"A"_s);
        } else {
            spread()->setText(row, RegNo, {});
        }
    }
    if (line) {
        appendAddLine();
        spread()->setCurrentCell(row, Reason);
    }
}

std::vector<CancelRow> CancellationForm::registerRows() const
{
    std::vector<CancelRow> rows;
    if (!isRegister())
        return rows;
    for (int row = 0; row < spread()->rowCount(); ++row) {
        const QString state = spread()->text(row, RowState);
        if (state.isEmpty())
            continue;
        rows.push_back({spread()->text(row, RegNo), spread()->text(row, Name), spread()->text(row, CertNo),
                        spread()->text(row, Reason), state == u"U"_s ? QString() : state});
    }
    return rows;
}

std::vector<PrintedRow> CancellationForm::printedRows() const
{
    std::vector<PrintedRow> rows;
    if (isRegister())
        return rows;
    for (int row = 0; row < spread()->rowCount(); ++row)
        rows.push_back({spread()->text(row, RegNo), spread()->text(row, Name), spread()->text(row, CertNo),
                        parseDmy(spread()->text(row, PrintedDate)), spread()->ticked(row, Cancel)});
    return rows;
}

void CancellationForm::showAgain(const QString &degree, const QString &college)
{
    resetForm();
    m_degree->setText(degree);
    m_college->setText(college);
    describeHeader();
    const bool any = isRegister() ? m_store.hasRegister(degree, college) : m_store.hasPrinted(degree, college);
    if (any)
        loadGrid();
}

bool CancellationForm::saveRegister(const QString &degree, const QString &college)
{
    const std::vector<CancelRow> rows = registerRows();
    QStringList cancelling;
    int reasons = 0;
    for (const CancelRow &row : rows) {
        // The reason is asked for before the question, not after it.
        if (row.state == u"A"_s && row.reason.trimmed().isEmpty()) {
            prompter().message(u"Reason should be entered"_s, u"Message"_s, PromptIcon::Exclamation);
            showOutcome(u"Not saved: a reason is missing"_s);
            return false;
        }
        if (row.state == u"A"_s)
            cancelling << u"certificate "_s + row.certNo.trimmed() + u" of "_s + row.regno.trimmed();
        reasons += row.state == u"E"_s ? 1 : 0;
    }
    // A cancellation cannot be undone: the clerk confirms each number first.
    if (!cancelling.isEmpty()
        && !prompter().askYesNo(u"Cancel "_s + cancelling.join(u", "_s) + u"?"_s, u"Cancel Certificate"_s,
                                PromptIcon::Question, PromptAnswer::No)) {
        showOutcome(u"Not saved: nothing was cancelled"_s);
        return false;
    }
    const int cancelled = m_store.saveRegister(degree, college, rows);
    if (cancelled < 0) {
        showOutcome(u"Not saved: nothing was cancelled"_s);
        return false;
    }
    QString said = u"Cancelled "_s + plural(cancelled, u"certificate"_s, u"certificates"_s);
    if (cancelled > 0)
        said += u": "_s + cancelling.join(u", "_s);
    if (reasons > 0)
        said += u"; "_s + plural(reasons, u"reason"_s, u"reasons"_s) + u" corrected"_s;
    showAgain(degree, college);
    showOutcome(said + filesSaid());
    return true;
}

// The cancelled sheets' files went to Cancelled/: a count on the panel; a file that could
// not be moved is a message of its own, since it still stands among the valid ones.
QString CancellationForm::filesSaid()
{
    const InvalidSheetFiles::Moved &files = m_store.filesSetAside();
    if (!files.failed.isEmpty())
        prompter().message(files.failed.join(u'\n'), u"Message"_s, PromptIcon::Exclamation);
    const int moved = int(files.moved.size());
    return moved == 0 ? QString() : u"; "_s + plural(moved, u"PDF file"_s, u"PDF files"_s) + u" moved to Cancelled"_s;
}

bool CancellationForm::saveRange(const QString &degree, const QString &college)
{
    const std::vector<PrintedRow> rows = printedRows();
    QStringList ticked;
    for (const PrintedRow &row : rows) {
        if (row.ticked)
            ticked << row.certNo.trimmed();
    }
    if (!rows.empty() && ticked.isEmpty()) {
        prompter().info(u"No certificate is ticked for cancellation."_s);
        return false;
    }
    std::optional<QString> reason;
    if (!ticked.isEmpty()) {
        reason =
            prompter().input(u"Reason for cancelling "_s + plural(ticked.size(), u"certificate"_s, u"certificates"_s)
                                 + u" ("_s + ticked.join(u", "_s) + u')',
                             u"Message"_s, u"Range cancellation"_s);
        if (!reason) {
            showOutcome(u"Not saved: nothing was cancelled"_s);
            return false;
        }
    }
    const int cancelled = m_store.cancelTicked(degree, college, rows, reason.value_or(QString()));
    if (cancelled < 0) {
        showOutcome(u"Not saved: nothing was cancelled"_s);
        return false;
    }
    showAgain(degree, college);
    showOutcome(u"Cancelled "_s + plural(cancelled, u"certificate"_s, u"certificates"_s) + u": "_s
                + ticked.join(u", "_s) + filesSaid());
    return true;
}

void CancellationForm::CmdSave_Click()
{
    try {
        if (!prepareSave())
            return;
        const QString degree = headerText(0);
        const QString college = headerText(3);
        if (isRegister())
            saveRegister(degree, college);
        else
            saveRange(degree, college);
    } catch (const std::exception &e) {
        showError(e);
        showOutcome(u"Not saved: the database refused the change"_s);
    }
}

} // namespace sw
