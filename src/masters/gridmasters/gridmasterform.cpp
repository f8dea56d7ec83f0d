// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/gridmasters/gridmasterform.h"

#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/forms/commanddispatcher.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QTableWidgetItem *checkItem(bool checked)
{
    auto *item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

} // namespace

GridMasterForm::GridMasterForm(const FormContext &context, const GridMasterKind &kind)
    : RecordForm(context, kind.menuCode, kind.caption)
    , m_kind(kind)
    , m_store(context.session.db(), kind)
    , m_spread(new QTableWidget(1, kind.convocation ? 5 : 3, frame()))
{
    m_spread->setObjectName(u"spread"_s);
    QStringList headers{kind.codeCaption, kind.nameCaption};
    if (kind.convocation)
        headers << u"Convocation Date"_s << u"Active?"_s << u"Del"_s;
    else
        headers << u"Delete"_s;
    m_spread->setHorizontalHeaderLabels(headers);
    m_spread->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_spread->setMinimumSize(560, 320);
    frame()->layout()->addWidget(m_spread);
    registerField(u"S0"_s, m_spread);
    m_spread->installEventFilter(this);
    connect(m_spread, &QTableWidget::currentCellChanged, this,
            [this](int newRow, int, int oldRow, int) { rowLeft(oldRow, newRow); });
    setRowCount(1);
}

BoundSql GridMasterForm::recordsetStatement() const
{
    return {u"select * from "_s + session().db().table(m_kind.table), {}};
}

void GridMasterForm::display_record(RecordSet &, const QString &)
{
    // The grid shows every row itself; the browse commands have nothing to show.
}

void GridMasterForm::setRowCount(int rows)
{
    const int before = m_spread->rowCount();
    m_spread->setRowCount(rows);
    for (int r = before; r < rows; ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const bool check = c == deleteColumn() || (m_kind.convocation && c == 3);
            m_spread->setItem(r, c, check ? checkItem(false) : new QTableWidgetItem);
        }
    }
}

void GridMasterForm::lockCode(int row)
{
    QTableWidgetItem *code = m_spread->item(row, 0);
    code->setFlags(code->flags() & ~Qt::ItemIsEditable);
    code->setBackground(lockedColour());
}

int GridMasterForm::lastDataRow() const
{
    for (int r = m_spread->rowCount() - 1; r >= 0; --r) {
        if (!m_spread->item(r, 0)->text().trimmed().isEmpty())
            return r;
    }
    return -1;
}

void GridMasterForm::loadGrid()
{
    const QSignalBlocker block(m_spread);
    m_spread->setRowCount(0);
    const std::vector<GridRow> rows = m_store.load();
    setRowCount(std::max<int>(1, int(rows.size())));
    for (int r = 0; r < int(rows.size()); ++r) {
        m_spread->item(r, 0)->setText(rows[size_t(r)].code);
        m_spread->item(r, 1)->setText(rows[size_t(r)].name);
        if (m_kind.convocation) {
            m_spread->item(r, 2)->setText(rows[size_t(r)].date);
            m_spread->item(r, 3)->setCheckState(rows[size_t(r)].active ? Qt::Checked : Qt::Unchecked);
        }
        lockCode(r);
    }
    m_changes.reset(rows);
    m_spread->setCurrentCell(0, 0);
}

void GridMasterForm::openAddRow(int afterRow)
{
    const QSignalBlocker block(m_spread);
    if (afterRow + 1 >= m_spread->rowCount())
        setRowCount(afterRow + 2);
    m_spread->setCurrentCell(afterRow + 1, 0);
}

GridRow GridMasterForm::gridRow(int row) const
{
    GridRow out;
    out.code = m_spread->item(row, 0)->text().trimmed();
    out.name = m_spread->item(row, 1)->text().trimmed();
    if (m_kind.convocation) {
        out.date = m_spread->item(row, 2)->text().trimmed();
        out.active = m_spread->item(row, 3)->checkState() == Qt::Checked;
    }
    out.mode = m_spread->item(row, deleteColumn())->checkState() == Qt::Checked ? GridRowMode::Deleted
                                                                                  : GridRowMode::Added;
    return out;
}

std::vector<GridRow> GridMasterForm::gridRows() const
{
    std::vector<GridRow> rows;
    for (int r = 0; r <= lastDataRow(); ++r)
        rows.push_back(gridRow(r));
    return rows;
}

bool GridMasterForm::rowRecorded(int row) const
{
    return m_changes.contains(m_spread->item(row, 0)->text());
}

bool GridMasterForm::checkRow(int row)
{
    if (editMode() == u"Z"_s)
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
    const QSignalBlocker block(m_spread);
    m_spread->setCurrentCell(problem->row, problem->cell == GridProblem::Cell::Name ? 1 : 0);
    return false;
}

void GridMasterForm::record(int row)
{
    const GridRow r = gridRow(row);
    m_changes.record(r, r.mode == GridRowMode::Deleted);
    lockCode(row);
}

void GridMasterForm::rowLeft(int oldRow, int newRow)
{
    if (m_moving || editMode() == u"Z"_s || oldRow < 0 || oldRow == newRow || oldRow >= m_spread->rowCount())
        return;
    const GridRow left = gridRow(oldRow);
    // Leaving an empty row upwards checks nothing.
    if (left.code.isEmpty() && left.name.isEmpty() && newRow < oldRow)
        return;
    m_moving = true;
    if (checkRow(oldRow)) {
        record(oldRow);
        if (newRow > lastDataRow())
            openAddRow(lastDataRow());
    }
    m_moving = false;
}

void GridMasterForm::AEDproc(const QString &operation)
{
    frame()->setEnabled(true);
    m_spread->setEnabled(true);
    setLegend(editLegend());
    if (operation == u"add"_s) {
        setEditMode(u"A"_s);
        loadGrid();
        openAddRow(lastDataRow());
    } else if (operation == u"edit"_s) {
        setEditMode(u"E"_s);
        loadGrid();
    } else {
        setEditMode(u"D"_s);
        if (m_changes.rows().empty())
            loadGrid();
    }
    m_spread->setFocus();
}

void GridMasterForm::CmdSave_Click()
{
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
        m_spread->setFocus();
        return;
    }
    resetForm();
}

void GridMasterForm::cmdCancel_Click()
{
    resetForm();
}

void GridMasterForm::cmdsearch_Click()
{
    frame()->setEnabled(true);
}

void GridMasterForm::resetForm()
{
    setEditMode(u"Z"_s);
    {
        const QSignalBlocker block(m_spread);
        m_spread->setRowCount(0);
        setRowCount(1);
    }
    frame()->setEnabled(false);
    setHint(QString());
    setLegend(browseLegend());
    commands().setToolMode(ToolMode::Browse);
}

bool GridMasterForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_spread && event->type() == QEvent::KeyPress && editMode() != u"Z"_s) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int row = m_spread->currentRow();
        if (key == Qt::Key_Escape && row >= 0 && !rowRecorded(row)) {
            for (int c = 0; c < 3 && c < columnCount() - 1; ++c)
                m_spread->item(row, c)->setText(QString());
            m_spread->setCurrentCell(row, 0);
            return true;
        }
        if (key == Qt::Key_F7 && row >= 0 && rowRecorded(row)) {
            QTableWidgetItem *del = m_spread->item(row, deleteColumn());
            del->setCheckState(del->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
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
