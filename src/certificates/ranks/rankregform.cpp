// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/ranks/rankregform.h"

#include "candidates/entry/candidatestore.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/forms/frmhlpitem.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QTableWidgetItem *item(const QString &text, bool editable)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(editable ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable
                            : Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

QString cellText(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *cell = grid->item(row, column);
    return cell ? cell->text() : QString();
}

} // namespace

RankRegForm::RankRegForm(const FormContext &context)
    : RecordForm(context, u"RANKREG"_s, u"Rank Registration . . ."_s)
    , m_store(context.session, context.prompter)
    , m_grid(new QTableWidget(0, ColumnCount, frame()))
    , m_degreeName(new QLineEdit(frame()))
{
    QLineEdit *degree = addText(0, u"Degree"_s, u"Degree"_s, CandidateStore::columnWidth(u"fdegree"_s));
    auto *layout = qobject_cast<QGridLayout *>(frame()->layout());
    m_degreeName->setObjectName(u"text_1"_s);
    m_degreeName->setReadOnly(true);
    m_degreeName->setFocusPolicy(Qt::NoFocus);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    layout->getItemPosition(layout->indexOf(degree), &row, &column, &rowSpan, &columnSpan);
    layout->addWidget(m_degreeName, row, column + 1);
    layout->setColumnStretch(2, 2);
    registerField(u"T1"_s, m_degreeName);
    setFieldOrder(u"T0,S0"_s);
    setMandatoryFields(u"T0"_s);
    setLookup(text(0), [this] { return m_store.degreeLookup(editMode() == EditMode::Edit); });

    m_grid->setObjectName(u"spread"_s);
    m_grid->setHorizontalHeaderLabels({u"Reg. No."_s, u"Name"_s, u"Rank"_s, u"Remarks"_s, u"State"_s});
    m_grid->setColumnHidden(RowState, true);
    m_grid->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setMinimumSize(560, 300);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *cell) {
        if (!m_filling)
            cellChanged(cell->row(), cell->column());
    });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int, int column) {
        static const QString hints[] = {u"Enter Reg. No., maximum length 8, F1-Help"_s, u"Enter Name"_s,
                                        u"Enter Rank No."_s, u"Enter Remarks"_s};
        if (column >= 0 && column < RowState)
            setHint(hints[column]);
    });
    layout->addWidget(m_grid, layout->rowCount(), 0, 1, 3);
    registerField(u"S0"_s, m_grid);
}

std::optional<BoundSql> RankRegForm::recordsetStatement() const
{
    // The screen opens on an empty grid.
    return BoundSql{u"select fdegree, fregno from rankreg where fregno = ? order by fdegree, fregno"_s, {u"!@23"_s}};
}

void RankRegForm::AEDproc(const QString &operation)
{
    if (operation == u"delete"_s) {
        prompter().info(u"A registered rank is corrected on its line; it is not deleted."_s);
        return;
    }
    setEditMode(operation == u"edit"_s ? u"E"_s : u"A"_s);
    ClearControls();
    clearGrid();
    frame()->setEnabled(true);
    enableFields(true);
    m_degreeName->setEnabled(false);
    m_grid->setEnabled(false);
    SetFieldColours(u'A');
    setLegend(editLegend());
    text(0)->setFocus();
}

bool RankRegForm::acceptDegree()
{
    const QString degree = text(0)->text().trimmed();
    if (!m_store.checkDegree(degree))
        return false;
    m_degreeName->setText(m_store.degreeName(degree).value_or(QString()));
    const bool ranked = m_store.hasRanks(degree);
    setEditMode(ranked ? u"E"_s : u"A"_s);
    m_grid->setEnabled(true);
    if (ranked) {
        loadGrid();
    } else {
        clearGrid();
        appendEmptyRow();
    }
    m_grid->setFocus();
    m_grid->setCurrentCell(m_grid->rowCount() - 1, RegNo);
    return true;
}

void RankRegForm::display_record(RecordSet &, const QString &)
{
    loadGrid();
}

void RankRegForm::clearGrid()
{
    m_grid->clearContents();
    m_grid->setRowCount(0);
}

void RankRegForm::loadGrid()
{
    setHint(u"Loading Please Wait ..."_s);
    clearGrid();
    for (const RankRow &row : m_store.load(text(0)->text()))
        appendRow(row);
    if (!browsing())
        appendEmptyRow();
    setHint({});
}

void RankRegForm::appendRow(const RankRow &row)
{
    m_filling = true;
    const int at = m_grid->rowCount();
    m_grid->insertRow(at);
    m_grid->setItem(at, RegNo, item(row.regno, false));
    m_grid->setItem(at, Name, item(row.name, false));
    m_grid->setItem(at, Rank, item(row.rank, true));
    m_grid->setItem(at, Remarks, item(row.remarks, true));
    m_grid->setItem(at, RowState, item(row.state, false));
    m_filling = false;
}

// The last line takes the register number of a candidate to rank.
void RankRegForm::appendEmptyRow()
{
    m_filling = true;
    const int at = m_grid->rowCount();
    m_grid->insertRow(at);
    m_grid->setItem(at, RegNo, item({}, true));
    m_grid->setItem(at, Name, item({}, false));
    m_grid->setItem(at, Rank, item({}, true));
    m_grid->setItem(at, Remarks, item({}, true));
    m_grid->setItem(at, RowState, item({}, false));
    m_filling = false;
}

void RankRegForm::cellChanged(int row, int column)
{
    if (column == RegNo) {
        regnoTyped(row);
        return;
    }
    QTableWidgetItem *cell = m_grid->item(row, column);
    QTableWidgetItem *state = m_grid->item(row, RowState);
    m_filling = true;
    // Ranks are typed in capitals like every code of the screens.
    if (column == Rank && cell)
        cell->setText(cell->text().trimmed().toUpper());
    if (state && state->text() == u"U"_s)
        state->setText(u"E"_s);
    m_filling = false;
}

void RankRegForm::regnoTyped(int row)
{
    QTableWidgetItem *state = m_grid->item(row, RowState);
    QTableWidgetItem *regno = m_grid->item(row, RegNo);
    if (!state || !regno || !state->text().isEmpty() || regno->text().trimmed().isEmpty())
        return;
    const QString typed = regno->text().trimmed().toUpper();
    const std::optional<QString> name = m_store.nameForNewRow(text(0)->text(), typed, gridRows());
    m_filling = true;
    if (name) {
        regno->setText(typed);
        regno->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_grid->item(row, Name)->setText(*name);
        state->setText(u"A"_s);
    } else {
        regno->setText({});
    }
    m_filling = false;
    if (name) {
        appendEmptyRow();
        m_grid->setCurrentCell(row, Rank);
    }
}

void RankRegForm::lookUpRegno()
{
    const int row = m_grid->currentRow();
    if (row < 0 || !cellText(m_grid, row, RowState).isEmpty())
        return;
    try {
        if (const auto code =
                FrmHLPItem::choose(session().db(), prompter(), m_store.regnoLookup(text(0)->text()), this))
            m_grid->item(row, RegNo)->setText(*code);
    } catch (const std::exception &e) {
        showError(e);
    }
    m_grid->setFocus();
}

std::vector<RankRow> RankRegForm::gridRows() const
{
    std::vector<RankRow> rows;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString state = cellText(m_grid, row, RowState);
        if (state.isEmpty())
            continue;
        rows.push_back({cellText(m_grid, row, RegNo), cellText(m_grid, row, Name), cellText(m_grid, row, Rank),
                        cellText(m_grid, row, Remarks), state});
    }
    return rows;
}

bool RankRegForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && !browsing()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == m_grid) {
            if (key == Qt::Key_F1 && m_grid->currentColumn() == RegNo) {
                lookUpRegno();
                return true;
            }
            if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter)
                return QWidget::eventFilter(watched, event);
        }
        const bool forward = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down;
        if (watched == text(0) && forward && !FieldMissing(text(0))) {
            if (!acceptDegree())
                text(0)->setFocus();
            return true;
        }
    }
    return RecordForm::eventFilter(watched, event);
}

void RankRegForm::CmdSave_Click()
{
    try {
        const QString degree = text(0)->text().trimmed();
        if (m_store.save(degree, gridRows()) == 0)
            return;
        // The degree's ranks are shown again as saved.
        resetForm();
        clearGrid();
        text(0)->setText(degree);
        m_degreeName->setText(m_store.degreeName(degree).value_or(QString()));
        loadGrid();
    } catch (const std::exception &e) {
        showError(e);
    }
}

} // namespace sw
