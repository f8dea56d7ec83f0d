// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/verification/gateform.h"

#include "candidates/entry/candidatestore.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/forms/frmhlpitem.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr int kRegnoWidth = 8;
// Where a loaded row keeps its flag as read, beside the tick the clerk changes.
constexpr int kFlagAsRead = Qt::UserRole + 1;

bool isActivation(Gate gate)
{
    return gate == Gate::Activation;
}

QTableWidgetItem *readOnly(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem *checkItem(bool ticked)
{
    auto *item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    return item;
}

} // namespace

GateForm::GateForm(const FormContext &context, Gate gate)
    : RecordForm(context, isActivation(gate) ? u"ACTIVATE"_s : u"VERIFY"_s,
                 isActivation(gate) ? u"Activation . . ."_s : u"Verification . . ."_s)
    , m_store(context.session, context.prompter, gate)
    , m_grid(new QTableWidget(0, ColumnCount, frame()))
    , m_count(new QLabel(frame()))
{
    const int degreeWidth = CandidateStore::columnWidth(u"fdegree"_s);
    const int collegeWidth = CandidateStore::columnWidth(u"fcollcode"_s);
    addShownBox(isActivation(gate) ? 50 : 1, addText(0, u"Degree"_s, u"Degree"_s, degreeWidth));
    if (isActivation(gate)) {
        addShownBox(51, addText(1, u"From College"_s, u"Starting College"_s, collegeWidth));
        addShownBox(52, addText(2, u"To College"_s, u"Ending College"_s, collegeWidth));
        setFieldOrder(u"T0,T1,T2,S0"_s);
        setMandatoryFields(u"T0,T1,T2"_s);
    } else {
        addShownBox(2, addText(3, u"College"_s, u"College"_s, collegeWidth));
        setFieldOrder(u"T0,T3,S0"_s);
        setMandatoryFields(u"T0,T3"_s);
    }
    addCheck(0, isActivation(gate) ? u"Activate all"_s : u"Fee paid for all"_s);
    connect(chk(0), &QCheckBox::clicked, this, &GateForm::tickAll);

    setLookup(text(0), [this] { return m_store.degreeLookup(); });
    for (QLineEdit *college : {firstCollegeBox(), lastCollegeBox()})
        setLookup(college, [this] { return m_store.collegeLookup(text(0)->text()); });

    m_grid->setObjectName(u"spread"_s);
    m_grid->setHorizontalHeaderLabels(
        {u"Reg. No."_s, u"Name"_s, isActivation(gate) ? u"Activate?"_s : u"Fee Paid?"_s, u"State"_s});
    m_grid->setColumnHidden(RowState, true);
    m_grid->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setMinimumSize(520, 280);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_filling)
            return;
        if (item->column() == RegNo)
            regnoTyped(item->row());
        updateCount();
    });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int, int column) {
        static const QString hints[] = {u"Enter Reg. No., maximum length 8, F1-Help"_s, u"Enter Name"_s,
                                        u"Enter Active or Inactive"_s};
        if (column >= 0 && column < RowState)
            setHint(hints[column]);
    });
    auto *layout = qobject_cast<QGridLayout *>(frame()->layout());
    const int row = layout->rowCount();
    layout->addWidget(m_grid, row, 0, 1, 3);
    m_count->setObjectName(u"lblCount"_s);
    layout->addWidget(m_count, row + 1, 0, 1, 3);
    registerField(u"S0"_s, m_grid);
}

QLineEdit *GateForm::addShownBox(int index, QLineEdit *beside)
{
    auto *layout = qobject_cast<QGridLayout *>(frame()->layout());
    auto *edit = new QLineEdit(frame());
    edit->setObjectName(u"text_"_s + QString::number(index));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    layout->getItemPosition(layout->indexOf(beside), &row, &column, &rowSpan, &columnSpan);
    layout->addWidget(edit, row, column + 1);
    layout->setColumnStretch(2, 2);
    registerField(u"T"_s + QString::number(index), edit);
    return edit;
}

QLineEdit *GateForm::firstCollegeBox() const
{
    return text(isActivation(gate()) ? 1 : 3);
}

QLineEdit *GateForm::lastCollegeBox() const
{
    return text(isActivation(gate()) ? 2 : 3);
}

GateSelection GateForm::selection() const
{
    return {text(0)->text().trimmed(), firstCollegeBox()->text().trimmed(), lastCollegeBox()->text().trimmed()};
}

std::optional<BoundSql> GateForm::recordsetStatement() const
{
    // The screen browses no rows of its own: the grid is what it shows.
    return BoundSql{u"select fdegree, fcollcode from convo where fcertno = ? group by fdegree, fcollcode "
            "order by fdegree, fcollcode"_s,
            {u"!23"_s}};
}

void GateForm::resetForm()
{
    RecordForm::resetForm();
    updateCount();
}

void GateForm::AEDproc(const QString &operation)
{
    setEditMode(operation == u"delete"_s ? u"D"_s : operation == u"edit"_s ? u"E"_s : u"A"_s);
    ClearControls();
    frame()->setEnabled(true);
    enableFields(true);
    for (QLineEdit *shown : frame()->findChildren<QLineEdit *>()) {
        if (shown->isReadOnly())
            shown->setEnabled(false);
    }
    // The grid opens once the header has chosen its candidates.
    m_grid->setEnabled(false);
    chk(0)->setEnabled(false);
    SetFieldColours(u'A');
    setLegend(editLegend());
    updateCount();
    text(0)->setFocus();
}

bool GateForm::acceptHeaderBox(QLineEdit *box)
{
    if (box == text(0)) {
        const auto name = m_store.degreeName(box->text());
        if (!name) {
            prompter().message(u"Invalid Degree Code"_s, u"Message"_s, PromptIcon::Exclamation);
            return false;
        }
        text(isActivation(gate()) ? 50 : 1)->setText(*name);
        return true;
    }
    const auto name = m_store.collegeName(box->text());
    if (!name) {
        prompter().message(u"Invalid College Code"_s, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    const int shown = !isActivation(gate()) ? 2 : box == text(1) ? 51 : 52;
    text(shown)->setText(*name);
    if (box == lastCollegeBox())
        headerComplete();
    return true;
}

void GateForm::showHeaderNames()
{
    text(isActivation(gate()) ? 50 : 1)->setText(m_store.degreeName(text(0)->text()).value_or(QString()));
    if (isActivation(gate())) {
        text(51)->setText(m_store.collegeName(text(1)->text()).value_or(QString()));
        text(52)->setText(m_store.collegeName(text(2)->text()).value_or(QString()));
    } else {
        text(2)->setText(m_store.collegeName(text(3)->text()).value_or(QString()));
    }
}

void GateForm::headerComplete()
{
    const GateSelection chosen = selection();
    if (!m_store.checkHeader(chosen))
        return;
    if (editMode() == EditMode::Delete) {
        m_store.deactivateAll(chosen);
        resetForm();
        return;
    }
    const bool found = m_store.hasCandidates(chosen);
    setEditMode(found ? u"E"_s : u"A"_s);
    m_grid->setEnabled(true);
    chk(0)->setEnabled(true);
    if (found) {
        loadGrid();
    } else {
        clearGrid();
        appendEmptyRow();
    }
    m_grid->setFocus();
    m_grid->setCurrentCell(found ? 0 : m_grid->rowCount() - 1, found ? int(Ticked) : int(RegNo));
}

void GateForm::clearGrid()
{
    m_grid->clearContents();
    m_grid->setRowCount(0);
}

void GateForm::display_record(RecordSet &, const QString &)
{
    loadGrid();
}

void GateForm::loadGrid()
{
    setHint(u"Loading Please Wait ..."_s);
    clearGrid();
    for (const GateRow &row : m_store.load(selection()))
        appendRow(row);
    if (!browsing())
        appendEmptyRow();
    setHint({});
    updateCount();
}

void GateForm::appendRow(const GateRow &row)
{
    m_filling = true;
    const int at = m_grid->rowCount();
    m_grid->insertRow(at);
    m_grid->setItem(at, RegNo, readOnly(row.regno));
    m_grid->setItem(at, Name, readOnly(row.name));
    QTableWidgetItem *tick = checkItem(row.ticked);
    if (row.flagAsRead)
        tick->setData(kFlagAsRead, *row.flagAsRead);
    m_grid->setItem(at, Ticked, tick);
    m_grid->setItem(at, RowState, readOnly(row.added ? u"A"_s : u"U"_s));
    m_filling = false;
}

// The last line of the grid takes the register number of a candidate to add.
void GateForm::appendEmptyRow()
{
    m_filling = true;
    const int at = m_grid->rowCount();
    m_grid->insertRow(at);
    auto *regno = new QTableWidgetItem;
    regno->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    m_grid->setItem(at, RegNo, regno);
    m_grid->setItem(at, Name, readOnly({}));
    m_grid->setItem(at, Ticked, checkItem(false));
    m_grid->setItem(at, RowState, readOnly({}));
    m_filling = false;
}

void GateForm::regnoTyped(int row)
{
    QTableWidgetItem *state = m_grid->item(row, RowState);
    QTableWidgetItem *regno = m_grid->item(row, RegNo);
    if (!state || !regno || !state->text().isEmpty())
        return;
    const QString typed = regno->text().trimmed().toUpper();
    if (typed.isEmpty())
        return;
    const std::optional<QString> name = m_store.nameForNewRow(typed, gridRows());
    m_filling = true;
    if (name) {
        regno->setText(typed);
        regno->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_grid->item(row, Name)->setText(*name);
        // A candidate is added to the grid to be passed through the gate.
        m_grid->item(row, Ticked)->setCheckState(Qt::Checked);
        state->setText(u"A"_s);
    } else {
        regno->setText({});
    }
    m_filling = false;
    if (name)
        appendEmptyRow();
    updateCount();
}

void GateForm::lookUpRegno()
{
    const int row = m_grid->currentRow();
    if (row < 0 || !m_grid->item(row, RowState) || !m_grid->item(row, RowState)->text().isEmpty())
        return;
    try {
        if (const auto code = FrmHLPItem::choose(session().db(), prompter(),
                                                 m_store.regnoLookup(text(0)->text(), firstCollegeBox()->text()), this))
            m_grid->item(row, RegNo)->setText(*code);
    } catch (const std::exception &e) {
        showError(e);
    }
    m_grid->setFocus();
}

void GateForm::tickAll(bool ticked)
{
    m_filling = true;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        if (!m_grid->item(row, RowState)->text().isEmpty())
            m_grid->item(row, Ticked)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    updateCount();
}

std::vector<GateRow> GateForm::gridRows() const
{
    std::vector<GateRow> rows;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString state = m_grid->item(row, RowState)->text();
        if (state.isEmpty())
            continue;
        const QTableWidgetItem *tick = m_grid->item(row, Ticked);
        const QVariant asRead = tick->data(kFlagAsRead);
        rows.push_back({m_grid->item(row, RegNo)->text(), m_grid->item(row, Name)->text(),
                        tick->checkState() == Qt::Checked, state == u"A"_s,
                        asRead.isValid() ? std::optional(asRead.toString()) : std::nullopt});
    }
    return rows;
}

QString GateForm::countText() const
{
    return m_count->text();
}

void GateForm::updateCount()
{
    const std::vector<GateRow> rows = gridRows();
    const auto ticked = std::count_if(rows.begin(), rows.end(), [](const GateRow &r) { return r.ticked; });
    m_count->setText(QString::number(rows.size()) + (rows.size() == 1 ? u" candidate, "_s : u" candidates, "_s)
                     + QString::number(ticked) + u" ticked"_s);
}

bool GateForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && !browsing()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == m_grid) {
            if (key == Qt::Key_F1 && m_grid->currentColumn() == RegNo) {
                lookUpRegno();
                return true;
            }
            // The arrows and Enter belong to the grid while it has the focus.
            if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter)
                return QWidget::eventFilter(watched, event);
        }
        auto *box = qobject_cast<QLineEdit *>(watched);
        const bool forward = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down;
        if (box && forward && !box->isReadOnly() && !FieldMissing(box)) {
            if (!acceptHeaderBox(box)) {
                box->setFocus();
                return true;
            }
            // A complete header has moved the focus into the grid (or reset the screen).
            if (box == lastCollegeBox())
                return true;
        }
    }
    return RecordForm::eventFilter(watched, event);
}

void GateForm::CmdSave_Click()
{
    try {
        const QString mode = editMode();
        if (mode == u"D"_s) {
            headerComplete();
            return;
        }
        const GateSelection chosen = selection();
        if (!m_store.checkHeader(chosen))
            return;
        m_store.save(chosen, gridRows());
        if (gridRows().empty())
            return;
        // The grid is shown again as the table now holds it, for the clerk to see.
        resetForm();
        text(0)->setText(chosen.degree);
        firstCollegeBox()->setText(chosen.collegeFrom);
        lastCollegeBox()->setText(chosen.collegeTo);
        showHeaderNames();
        loadGrid();
    } catch (const std::exception &e) {
        showError(e);
    }
}

} // namespace sw
