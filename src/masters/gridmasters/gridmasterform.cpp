// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/gridmasters/gridmasterform.h"

#include "shell/core/prompter.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/spreadgrid.h"
#include "shell/session.h"

#include <QGroupBox>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QList<SpreadColumn> columnsOf(const GridMasterKind &kind)
{
    QList<SpreadColumn> columns{{kind.codeCaption, SpreadColumn::Kind::Text, kind.noun + u" code"_s},
                                {kind.nameCaption, SpreadColumn::Kind::Text, kind.noun + u" name"_s}};
    if (kind.convocation)
        columns << SpreadColumn{u"Convocation Date"_s, SpreadColumn::Kind::Text, u"Convocation date, dd/mm/yyyy"_s}
                << SpreadColumn{u"Active?"_s, SpreadColumn::Kind::Check, u"The convocation being held"_s}
                << SpreadColumn{u"Del"_s, SpreadColumn::Kind::Check, u"F7 ticks the row for deletion"_s};
    else
        columns << SpreadColumn{u"Delete"_s, SpreadColumn::Kind::Check, u"F7 ticks the row for deletion"_s};
    return columns;
}

} // namespace

GridMasterForm::GridMasterForm(const FormContext &context, const GridMasterKind &kind)
    : RecordForm(context, kind.menuCode, kind.caption)
    , m_kind(kind)
    , m_store(context.session.db(), kind)
    , m_spread(new SpreadGrid(columnsOf(kind), this))
{
    m_store.setActor(context.session.userName);
    // The grid is the whole screen: the frame of boxes stays empty and hidden.
    frame()->hide();
    m_spread->setMinimumSize(560, 320);
    addGrowing(m_spread);
    registerField(u"S0"_s, m_spread);
    m_spread->installEventFilter(this);
    connect(m_spread, &SpreadGrid::hintChanged, this, &ChildForm::setHint);
    connect(m_spread, &QTableWidget::currentCellChanged, this,
            [this](int newRow, int newColumn, int oldRow, int oldColumn) {
                cellLeft(oldRow, oldColumn, newRow, newColumn);
            });
    setRowCount(1);
}

std::optional<BoundSql> GridMasterForm::recordsetStatement() const
{
    return GridMasterStore(session().db(), m_kind).browseStatement();
}

void GridMasterForm::display_record(RecordSet &rows, const QString &)
{
    if (!rows.onRow())
        return;
    const QString code = rows.text(m_kind.codeColumn).trimmed();
    for (int r = 0; r < m_spread->rowCount(); ++r) {
        if (m_spread->text(r, 0).trimmed() == code) {
            const QSignalBlocker hold(m_spread);
            m_spread->setCurrentCell(r, 0);
            m_spread->scrollToItem(m_spread->item(r, 0));
            return;
        }
    }
}

void GridMasterForm::setRowCount(int rows)
{
    const QSignalBlocker hold(m_spread);
    const int before = m_spread->rowCount();
    m_spread->setRowCount(rows);
    for (int r = before; r < rows; ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const bool check = c == deleteColumn() || (m_kind.convocation && c == 3);
            m_spread->setItem(r, c, check ? SpreadGrid::checkItem(false) : SpreadGrid::typedItem());
        }
    }
}

void GridMasterForm::lockCode(int row)
{
    m_spread->lock(row, 0);
    m_spread->item(row, 0)->setBackground(lockedColour());
}

int GridMasterForm::lastDataRow() const
{
    for (int r = m_spread->rowCount() - 1; r >= 0; --r) {
        if (!m_spread->text(r, 0).trimmed().isEmpty())
            return r;
    }
    return -1;
}

void GridMasterForm::loadGrid(bool editing)
{
    const QSignalBlocker hold(m_spread);
    m_spread->setRowCount(0);
    const std::vector<GridRow> rows = m_store.load();
    setRowCount(std::max<int>(1, int(rows.size())));
    for (int r = 0; r < int(rows.size()); ++r) {
        m_spread->setText(r, 0, rows[size_t(r)].code);
        m_spread->setText(r, 1, rows[size_t(r)].name);
        if (m_kind.convocation) {
            m_spread->setText(r, 2, rows[size_t(r)].date);
            m_spread->setTicked(r, 3, rows[size_t(r)].active);
        }
        lockCode(r);
    }
    // Browsing shows the rows; nothing in them changes until Add or Edit.
    m_spread->setEditTriggers(editing ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < m_spread->rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem *cell = m_spread->item(r, c);
            if (m_spread->columnsShown()[c].kind == SpreadColumn::Kind::Check)
                cell->setFlags(editing ? cell->flags() | Qt::ItemIsUserCheckable
                                       : cell->flags() & ~Qt::ItemIsUserCheckable);
        }
    }
    m_changes.reset(rows);
    m_spread->fitColumns();
    m_spread->setCurrentCell(0, 0);
}

void GridMasterForm::openAddRow(int afterRow)
{
    if (afterRow + 1 >= m_spread->rowCount())
        setRowCount(afterRow + 2);
    const QSignalBlocker hold(m_spread);
    m_spread->setCurrentCell(afterRow + 1, 0);
}

GridRow GridMasterForm::gridRow(int row) const
{
    GridRow out;
    // Codes are upper case, however they were typed.
    out.code = GridMasterStore::cleanCode(m_spread->text(row, 0));
    out.name = m_spread->text(row, 1).trimmed();
    if (m_kind.convocation) {
        out.date = m_spread->text(row, 2).trimmed();
        out.active = m_spread->ticked(row, 3);
    }
    out.mode = m_spread->ticked(row, deleteColumn()) ? GridRowMode::Deleted : GridRowMode::Added;
    return out;
}

std::vector<GridRow> GridMasterForm::gridRows() const
{
    std::vector<GridRow> rows;
    for (int r = 0; r <= lastDataRow(); ++r)
        rows.push_back(gridRow(r));
    return rows;
}

bool GridMasterForm::rowRecorded(int row) const { return m_changes.contains(m_spread->text(row, 0)); }

bool GridMasterForm::checkCell(int row, int column)
{
    const GridRow typed = gridRow(row);
    QString refusal;
    if (column == 0) {
        if (typed.code.isEmpty()) {
            refusal = m_kind.codeMissingOnLeave();
        } else {
            for (int other = 0; other <= lastDataRow() && refusal.isEmpty(); ++other) {
                if (other != row && m_spread->text(other, 0).trimmed().compare(typed.code, Qt::CaseInsensitive) == 0)
                    refusal = m_kind.codeExistsOnLeave();
            }
        }
    } else if (column == 1 && typed.name.isEmpty()) {
        refusal = m_kind.nameMissingOnLeave();
    }
    if (refusal.isEmpty())
        return true;
    prompter().message(refusal, u"Message"_s, PromptIcon::Information);
    const QSignalBlocker hold(m_spread);
    if (column == 0 && typed.code.isEmpty())
        m_spread->setText(row, 0, {});
    m_spread->setCurrentCell(row, column);
    return false;
}

bool GridMasterForm::checkRow(int row)
{
    if (browsing())
        return true;
    std::vector<GridRow> rows = gridRows();
    if (row >= int(rows.size()))
        rows.resize(size_t(row) + 1);
    rows[size_t(row)] = gridRow(row);
    rows[size_t(row)].mode = GridRowMode::Added; // a ticked row is still checked when it is left
    const auto problem = m_store.checkRow(rows, row);
    if (!problem)
        return true;
    prompter().message(problem->message, u"Message"_s, PromptIcon::Exclamation);
    const QSignalBlocker hold(m_spread);
    m_spread->setCurrentCell(problem->row, problem->cell == GridProblem::Cell::Name ? 1 : 0);
    return false;
}

void GridMasterForm::record(int row)
{
    const GridRow r = gridRow(row);
    m_changes.record(r, r.mode == GridRowMode::Deleted);
    {
        const QSignalBlocker block(m_spread);
        m_spread->setText(row, 0, r.code);
    }
    lockCode(row);
}

void GridMasterForm::cellLeft(int oldRow, int oldColumn, int newRow, int newColumn)
{
    if (m_moving || browsing() || oldRow < 0 || oldRow >= m_spread->rowCount())
        return;
    if (oldRow == newRow && oldColumn == newColumn)
        return;
    // The text still being typed in the cell left is what is checked.
    m_spread->commitEditor();
    const GridRow left = gridRow(oldRow);
    // Moving left within the row checks nothing, nor leaving an empty row upwards.
    if (newRow == oldRow && newColumn < oldColumn)
        return;
    if (left.code.isEmpty() && left.name.isEmpty() && newRow < oldRow)
        return;
    m_moving = true;
    const bool lockedCode = oldColumn == 0 && !(m_spread->item(oldRow, 0)->flags() & Qt::ItemIsEditable);
    if (lockedCode || checkCell(oldRow, oldColumn)) {
        if (newRow != oldRow && checkRow(oldRow)) {
            record(oldRow);
            if (newRow > lastDataRow())
                openAddRow(lastDataRow());
        }
    }
    m_moving = false;
}

void GridMasterForm::AEDproc(EditMode mode)
{
    showOutcome({});
    setEditMode(mode);
    setLegend(editLegend());
    // Delete marks rows with F7 or the "Delete" box; Add opens a fresh row below the data.
    loadGrid(true);
    if (editMode() == EditMode::Add)
        openAddRow(lastDataRow());
    m_spread->setFocus();
}

QString GridMasterForm::changeSummary() const
{
    int added = 0, changed = 0, deleted = 0;
    for (const GridRow &row : m_changes.rows()) {
        added += row.mode == GridRowMode::Added ? 1 : 0;
        changed += row.mode == GridRowMode::Updated ? 1 : 0;
        deleted += row.mode == GridRowMode::Deleted ? 1 : 0;
    }
    if (added + changed + deleted == 0)
        return u"Saved: nothing had changed"_s;
    return u"Saved: %1 added, %2 changed, %3 deleted"_s.arg(added).arg(changed).arg(deleted);
}

void GridMasterForm::CmdSave_Click()
{
    // The cell being typed in is part of what is saved.
    m_spread->commitEditor();
    const int active = m_spread->currentRow();
    if (active >= 0 && !gridRow(active).code.isEmpty()) {
        if (!checkRow(active))
            return;
        record(active);
    }
    // Every row typed but never left is recorded too, so Save writes what the grid shows.
    for (int r = 0; r <= lastDataRow(); ++r) {
        if (gridRow(r).code.isEmpty())
            continue;
        if (!checkRow(r))
            return;
        if (!rowRecorded(r))
            record(r);
    }
    if (!m_store.save(m_changes.rows(), prompter())) {
        showOutcome(u"Not saved"_s);
        m_spread->setFocus();
        return;
    }
    const QString said = changeSummary();
    rsdisp().requery(session().db());
    resetForm();
    showOutcome(said);
}

void GridMasterForm::cmdCancel_Click() { resetForm(); }

void GridMasterForm::cmdsearch_Click() { m_spread->setFocus(); }

void GridMasterForm::resetForm()
{
    setEditMode(EditMode::Browse);
    loadGrid(false);
    setHint(QString());
    setLegend(browseLegend());
    if (commands().activeForm() == this)
        commands().setToolMode(ToolMode::Browse);
}

bool GridMasterForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_spread && event->type() == QEvent::KeyPress && !browsing()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        m_spread->commitEditor();
        const int row = m_spread->currentRow();
        if (key == Qt::Key_Escape && row >= 0 && !rowRecorded(row)) {
            const QSignalBlocker hold(m_spread);
            for (int c = 0; c < 3 && c < columnCount() - 1; ++c)
                m_spread->setText(row, c, {});
            m_spread->setCurrentCell(row, 0);
            return true;
        }
        if (key == Qt::Key_F7 && row >= 0 && rowRecorded(row)) {
            m_spread->setTicked(row, deleteColumn(), !m_spread->ticked(row, deleteColumn()));
            record(row);
            return true;
        }
        // F4, or Down on the last row, opens a fresh row below the data once this one passes.
        if (key == Qt::Key_F4 || (key == Qt::Key_Down && row == m_spread->rowCount() - 1)) {
            if (row < 0 || checkRow(row)) {
                if (row >= 0 && !gridRow(row).code.isEmpty())
                    record(row);
                openAddRow(lastDataRow());
            }
            return true;
        }
    }
    return RecordForm::eventFilter(watched, event);
}

} // namespace sw
