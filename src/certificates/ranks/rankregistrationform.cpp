// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/ranks/rankregistrationform.h"

#include "candidates/entry/candidatestore.h"
#include "shell/core/prompter.h"
#include "shell/session.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QList<SpreadColumn> rankColumns()
{
    return {{u"Reg. No."_s, SpreadColumn::Kind::Text,
             u"Enter Reg. No., maximum length "_s + QString::number(CandidateStore::columnWidth(u"fregno"_s))
                 + u", F1-Help"_s},
            {u"Name"_s, SpreadColumn::Kind::Text, u"Enter Name"_s},
            {u"Rank"_s, SpreadColumn::Kind::Text, u"Enter Rank No."_s},
            {u"Remarks"_s, SpreadColumn::Kind::Text, u"Enter Remarks"_s},
            {u"State"_s, SpreadColumn::Kind::State}};
}

} // namespace

RankRegistrationForm::RankRegistrationForm(const FormContext &context)
    : CodeGridForm(context, u"RANKREG"_s, u"Rank Registration . . ."_s, rankColumns())
    , m_store(context.session, context.prompter)
    , m_codes(context.session)
{
    m_degree = addHeaderCode(0, u"Degree"_s, u"Degree"_s, CandidateStore::columnWidth(u"fdegree"_s),
                             m_codes.source(MasterCodes::Master::Degree,
                                            [this] { return m_store.degreeLookup(editMode() == EditMode::Edit); }),
                             1);
    setFieldOrder(u"T0,S0"_s);
    setMandatoryFields(u"T0"_s);
}

std::optional<LookupRequest> RankRegistrationForm::keyLookup() const
{
    return withHeadings(m_store.regnoLookup(m_degree->text()), {u"Reg. No."_s, u"Name"_s});
}

void RankRegistrationForm::AEDproc(EditMode mode)
{
    if (mode == EditMode::Delete) {
        prompter().info(u"A registered rank is corrected on its line; it is not deleted."_s);
        return;
    }
    CodeGridForm::AEDproc(mode);
}

bool RankRegistrationForm::headerComplete()
{
    const QString degree = headerText(0);
    if (!m_store.checkDegree(degree))
        return false;
    const bool ranked = m_store.hasRanks(degree);
    setEditMode(ranked ? EditMode::Edit : EditMode::Add);
    if (ranked) {
        loadGrid();
    } else {
        spread()->clearRows();
        appendAddLine();
    }
    openGrid(spread()->rowCount() - 1, RegNo);
    return true;
}

void RankRegistrationForm::display_record(RecordSet &, const QString &) { loadGrid(); }

void RankRegistrationForm::loadGrid()
{
    fillGrid([this] {
        for (const RankRow &row : m_store.load(headerText(0)))
            spread()->appendRow({SpreadGrid::shownItem(row.regno), SpreadGrid::shownItem(row.name),
                                 SpreadGrid::typedItem(row.rank), SpreadGrid::typedItem(row.remarks),
                                 SpreadGrid::shownItem(row.state)});
        if (!browsing())
            appendAddLine();
    });
    setCount(QString::number(gridRows().size()) + u" ranks"_s);
}

void RankRegistrationForm::cellEdited(int row, int column)
{
    // Ranks are typed in capitals like every code of the screens.
    if (column != Rank)
        return;
    const QSignalBlocker hold(spread());
    spread()->setText(row, Rank, spread()->text(row, Rank).trimmed().toUpper());
}

void RankRegistrationForm::keyTyped(int row)
{
    const QString typed = spread()->text(row, RegNo).trimmed().toUpper();
    const std::optional<QString> name = m_store.nameForNewRow(headerText(0), typed, gridRows());
    {
        const QSignalBlocker hold(spread());
        if (name) {
            spread()->setText(row, RegNo, typed);
            spread()->lock(row, RegNo);
            spread()->setText(row, Name, *name);
            for (const int column : {int(Rank), int(Remarks)}) {
                QTableWidgetItem *cell = spread()->item(row, column);
                cell->setFlags(cell->flags() | Qt::ItemIsEditable);
            }
            spread()->setText(row, RowState, u"A"_s);
        } else {
            spread()->setText(row, RegNo, {});
        }
    }
    if (name) {
        appendAddLine();
        spread()->setCurrentCell(row, Rank);
    }
}

std::vector<RankRow> RankRegistrationForm::gridRows() const
{
    std::vector<RankRow> rows;
    for (int row = 0; row < spread()->rowCount(); ++row) {
        const QString state = spread()->text(row, RowState);
        if (state.isEmpty())
            continue;
        rows.push_back({spread()->text(row, RegNo), spread()->text(row, Name), spread()->text(row, Rank),
                        spread()->text(row, Remarks), state});
    }
    return rows;
}

void RankRegistrationForm::CmdSave_Click()
{
    try {
        if (!prepareSave())
            return;
        const QString degree = headerText(0);
        const int saved = m_store.save(degree, gridRows());
        if (saved == 0) {
            showOutcome(u"Not saved"_s);
            return;
        }
        // The degree's ranks are shown again as saved.
        resetForm();
        m_degree->setText(degree);
        describeHeader();
        loadGrid();
        showOutcome(u"Saved %1 ranks of %2"_s.arg(saved).arg(degree));
    } catch (const std::exception &e) {
        showError(e);
        showOutcome(u"Not saved: the database refused the change"_s);
    }
}

} // namespace sw
