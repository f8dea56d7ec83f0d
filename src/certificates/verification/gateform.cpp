// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/verification/gateform.h"

#include "candidates/entry/candidatestore.h"
#include "shell/core/prompter.h"
#include "shell/session.h"

#include <QCheckBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Where a loaded row keeps its flag as read, beside the tick the clerk changes.
constexpr int kFlagAsRead = Qt::UserRole + 1;

bool isActivation(Gate gate) { return gate == Gate::Activation; }

QList<SpreadColumn> gateColumns(Gate gate)
{
    const QString regno = u"Enter Reg. No., maximum length "_s
                          + QString::number(CandidateStore::columnWidth(u"fregno"_s)) + u", F1-Help"_s;
    return {{u"Reg. No."_s, SpreadColumn::Kind::Text, regno},
            {u"Name"_s, SpreadColumn::Kind::Text, u"Enter Name"_s},
            isActivation(gate) ? SpreadColumn{u"Activate?"_s, SpreadColumn::Kind::Check, u"Enter Active or Inactive"_s}
                               : SpreadColumn{u"Fee Paid?"_s, SpreadColumn::Kind::Check,
                                              u"Tick when the fee is paid, clear when it is not"_s},
            {u"State"_s, SpreadColumn::Kind::State}};
}

} // namespace

GateForm::GateForm(const FormContext &context, Gate gate)
    : CodeGridForm(context, isActivation(gate) ? u"ACTIVATE"_s : u"VERIFY"_s,
                   isActivation(gate) ? u"Activation . . ."_s : u"Verification . . ."_s, gateColumns(gate))
    , m_store(context.session, context.prompter, gate)
    , m_codes(context.session)
{
    using Master = MasterCodes::Master;
    const int degreeWidth = CandidateStore::columnWidth(u"fdegree"_s);
    const int collegeWidth = CandidateStore::columnWidth(u"fcollcode"_s);
    const CodeSource degrees = m_codes.source(Master::Degree, [this] { return m_store.degreeLookup(); });
    const CodeSource colleges =
        m_codes.source(Master::College, [this] { return m_store.collegeLookup(m_degree->text()); });
    m_degree = addHeaderCode(0, u"Degree"_s, u"Degree"_s, degreeWidth, degrees, isActivation(gate) ? 50 : 1);
    if (isActivation(gate)) {
        m_firstCollege = addHeaderCode(1, u"From College"_s, u"Starting College"_s, collegeWidth, colleges, 51);
        m_lastCollege = addHeaderCode(2, u"To College"_s, u"Ending College"_s, collegeWidth, colleges, 52);
        setFieldOrder(u"T0,T1,T2,S0"_s);
        setMandatoryFields(u"T0,T1,T2"_s);
    } else {
        m_firstCollege = m_lastCollege = addHeaderCode(3, u"College"_s, u"College"_s, collegeWidth, colleges, 2);
        setFieldOrder(u"T0,T3,S0"_s);
        setMandatoryFields(u"T0,T3"_s);
    }
    m_all = addCheck(0, isActivation(gate) ? u"Activate all"_s : u"Fee paid for all"_s);
    connect(m_all, &QCheckBox::clicked, this, &GateForm::tickAll);
}

GateSelection GateForm::selection() const
{
    return {m_degree->text().trimmed(), m_firstCollege->text().trimmed(), m_lastCollege->text().trimmed()};
}

std::optional<LookupRequest> GateForm::keyLookup() const
{
    return withHeadings(m_store.regnoLookup(m_degree->text(), m_firstCollege->text()), {u"Reg. No."_s, u"Name"_s});
}

void GateForm::AEDproc(EditMode mode)
{
    CodeGridForm::AEDproc(mode);
    // The grid and its "all" box open once the header has chosen the candidates.
    m_all->setEnabled(false);
    updateCount();
}

bool GateForm::headerComplete()
{
    const GateSelection chosen = selection();
    if (!m_store.checkHeader(chosen))
        return false;
    if (editMode() == EditMode::Delete) {
        const bool changed = m_store.deactivateAll(chosen) > 0;
        resetForm();
        showOutcome(changed ? u"Deactivated the unprinted candidates of %1, colleges %2 to %3"_s.arg(
                        chosen.degree, chosen.collegeFrom, chosen.collegeTo)
                            : u"Nothing deactivated"_s);
        return true;
    }
    const bool found = m_store.hasCandidates(chosen);
    setEditMode(found ? EditMode::Edit : EditMode::Add);
    m_all->setEnabled(true);
    if (found) {
        loadGrid();
    } else {
        spread()->clearRows();
        appendAddLine();
        setHint(u"No candidates await this step: type a register number to add one"_s);
    }
    openGrid(found ? 0 : spread()->rowCount() - 1, found ? int(Ticked) : int(RegNo));
    updateCount();
    return true;
}

void GateForm::display_record(RecordSet &, const QString &) { loadGrid(); }

void GateForm::loadGrid()
{
    fillGrid([this] {
        for (const GateRow &row : m_store.load(selection())) {
            QTableWidgetItem *tick = SpreadGrid::checkItem(row.ticked);
            if (row.flagAsRead)
                tick->setData(kFlagAsRead, *row.flagAsRead);
            spread()->appendRow({SpreadGrid::shownItem(row.regno), SpreadGrid::shownItem(row.name), tick,
                                 SpreadGrid::shownItem(row.added ? u"A"_s : u"U"_s)});
        }
        if (!browsing())
            appendAddLine();
    });
    updateCount();
}

void GateForm::keyTyped(int row)
{
    const QString typed = spread()->text(row, RegNo).trimmed().toUpper();
    const std::optional<QString> name = m_store.nameForNewRow(selection(), typed, gridRows());
    {
        const QSignalBlocker hold(spread());
        if (name) {
            spread()->setText(row, RegNo, typed);
            spread()->lock(row, RegNo);
            spread()->setText(row, Name, *name);
            // A candidate is added to the grid to be passed through the gate.
            spread()->setTicked(row, Ticked, true);
            spread()->setText(row, RowState, u"A"_s);
        } else {
            spread()->setText(row, RegNo, {});
        }
    }
    if (name)
        appendAddLine();
    updateCount();
}

void GateForm::cellEdited(int, int) { updateCount(); }

void GateForm::tickAll(bool ticked)
{
    {
        const QSignalBlocker hold(spread());
        for (int row = 0; row < spread()->rowCount(); ++row) {
            if (!isAddLine(row))
                spread()->setTicked(row, Ticked, ticked);
        }
    }
    cellEdited(0, Ticked);
    updateCount();
}

std::vector<GateRow> GateForm::gridRows() const
{
    std::vector<GateRow> rows;
    for (int row = 0; row < spread()->rowCount(); ++row) {
        const QString state = spread()->text(row, RowState);
        if (state.isEmpty())
            continue;
        const QVariant asRead = spread()->item(row, Ticked)->data(kFlagAsRead);
        rows.push_back({spread()->text(row, RegNo), spread()->text(row, Name), spread()->ticked(row, Ticked),
                        state == u"A"_s, asRead.isValid() ? std::optional(asRead.toString()) : std::nullopt});
    }
    return rows;
}

void GateForm::updateCount()
{
    const std::vector<GateRow> rows = gridRows();
    const auto ticked = std::count_if(rows.begin(), rows.end(), [](const GateRow &r) { return r.ticked; });
    setCount(QString::number(rows.size()) + (rows.size() == 1 ? u" candidate, "_s : u" candidates, "_s)
             + QString::number(ticked) + u" ticked"_s);
}

void GateForm::CmdSave_Click()
{
    try {
        if (!prepareSave())
            return;
        if (editMode() == EditMode::Delete) {
            headerComplete();
            return;
        }
        const GateSelection chosen = selection();
        if (!fields().checkMandatory() || !m_store.checkHeader(chosen))
            return;
        const GateStore::SaveReport report = m_store.saveReporting(chosen, gridRows());
        if (report.rows == 0)
            return;
        if (!report.refused.empty()) {
            QStringList lines;
            for (const auto &[regno, reason] : report.refused)
                lines << regno + u": "_s + reason;
            prompter().message(u"These rows were not saved:\n"_s + lines.join(u'\n'), u"Message"_s,
                               PromptIcon::Exclamation);
        }
        // The grid is shown again as the table now holds it, for the clerk to see.
        resetForm();
        m_degree->setText(chosen.degree);
        m_firstCollege->setText(chosen.collegeFrom);
        m_lastCollege->setText(chosen.collegeTo);
        describeHeader();
        loadGrid();
        showOutcome(report.summary(gate()));
    } catch (const std::exception &e) {
        showError(e);
        showOutcome(u"Not saved: the database refused the change"_s);
    }
}

} // namespace sw
