// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/cancellation/cancellationform.h"

#include "candidates/entry/candidatestore.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/db/database.h"
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

QTableWidgetItem *readOnly(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem *editable(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    return item;
}

QString cellText(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

CancellationForm::CancellationForm(const FormContext &context, CancellationScreen screen)
    : RecordForm(context, screen == CancellationScreen::Register ? u"CERTCAN"_s : u"CERTCANRANGE"_s,
                 screen == CancellationScreen::Register ? u"Cancel Certificate . . ."_s
                                                        : u"Cancel Certificates (Range) . . ."_s)
    , m_store(context.session, context.prompter)
    , m_screen(screen)
    , m_grid(new QTableWidget(0, screen == CancellationScreen::Register ? int(RegisterColumns) : int(RangeColumns),
                              frame()))
{
    addShownBox(1, addText(0, u"Degree"_s, u"Degree"_s, CandidateStore::columnWidth(u"fdegree"_s)));
    addShownBox(2, addText(3, u"College"_s, u"College"_s, CandidateStore::columnWidth(u"fcollcode"_s)));
    setFieldOrder(u"T0,T3,S0"_s);
    setMandatoryFields(u"T0,T3"_s);
    setLookup(text(0), [this] { return m_store.degreeLookup(); });
    setLookup(text(3), [this] { return m_store.collegeLookup(isRegister() ? QString() : text(0)->text()); });

    m_grid->setObjectName(u"spread"_s);
    if (isRegister()) {
        m_grid->setHorizontalHeaderLabels({u"Reg. No."_s, u"Name"_s, u"Cert. No."_s, u"Reason"_s, u"State"_s});
        m_grid->setColumnHidden(RowState, true);
        m_grid->horizontalHeader()->setSectionResizeMode(Reason, QHeaderView::Stretch);
    } else {
        m_grid->setHorizontalHeaderLabels({u"Reg. No."_s, u"Name"_s, u"Cert. No."_s, u"Printed Date"_s, u"Cancel"_s});
        m_grid->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
    }
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setMinimumSize(620, 300);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_filling)
            cellChanged(item->row(), item->column());
    });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int, int column) {
        static const QString hints[] = {u"Enter Reg. No., maximum length 8"_s, u"Enter Name"_s,
                                        u"Enter Cert. No."_s, u"Enter Reason for Cancel"_s};
        if (isRegister() && column >= 0 && column < RowState)
            setHint(hints[column]);
    });
    auto *layout = qobject_cast<QGridLayout *>(frame()->layout());
    layout->addWidget(m_grid, layout->rowCount(), 0, 1, 3);
    registerField(u"S0"_s, m_grid);
}

QLineEdit *CancellationForm::addShownBox(int index, QLineEdit *beside)
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

std::optional<BoundSql> CancellationForm::recordsetStatement() const
{
    // The screen browses nothing of its own: it opens on an empty grid.
    return BoundSql{u"select fdegree, fcollcode from certcan where fcertno = ? group by fdegree, fcollcode "
            "order by fdegree, fcollcode"_s,
            {u"!@23"_s}};
}

void CancellationForm::AEDproc(const QString &operation)
{
    if (operation == u"delete"_s) {
        // Register lines are never deleted, and a cancellation is not undone.
        prompter().info(u"Cancelled certificates cannot be deleted."_s);
        return;
    }
    setEditMode(operation == u"edit"_s ? u"E"_s : u"A"_s);
    ClearControls();
    clearGrid();
    frame()->setEnabled(true);
    enableFields(true);
    for (QLineEdit *shown : frame()->findChildren<QLineEdit *>()) {
        if (shown->isReadOnly())
            shown->setEnabled(false);
    }
    m_grid->setEnabled(false);
    SetFieldColours(u'A');
    setLegend(editLegend());
    text(0)->setFocus();
}

bool CancellationForm::acceptHeaderBox(QLineEdit *box)
{
    if (box == text(0)) {
        const auto name = m_store.degreeName(box->text());
        if (!name) {
            prompter().message(u"Invalid Degree Code"_s, u"Message"_s, PromptIcon::Exclamation);
            return false;
        }
        text(1)->setText(*name);
        return true;
    }
    const auto name = m_store.collegeName(box->text());
    if (!name) {
        prompter().message(u"Invalid College Code"_s, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    text(2)->setText(*name);
    headerComplete();
    return true;
}

void CancellationForm::headerComplete()
{
    const QString degree = text(0)->text().trimmed();
    const QString college = text(3)->text().trimmed();
    if (!m_store.checkHeader(degree, college))
        return;
    const bool found = isRegister() ? m_store.hasRegister(degree, college) : m_store.hasPrinted(degree, college);
    setEditMode(found || !isRegister() ? u"E"_s : u"A"_s);
    m_grid->setEnabled(true);
    if (found)
        loadGrid();
    else if (isRegister()) {
        clearGrid();
        appendEmptyRow();
    } else {
        clearGrid();
        prompter().info(u"No records found"_s);
    }
    m_grid->setFocus();
    if (m_grid->rowCount() > 0)
        m_grid->setCurrentCell(isRegister() ? m_grid->rowCount() - 1 : 0, isRegister() ? int(RegNo) : int(Cancel));
}

void CancellationForm::display_record(RecordSet &, const QString &)
{
    loadGrid();
}

void CancellationForm::clearGrid()
{
    m_grid->clearContents();
    m_grid->setRowCount(0);
}

void CancellationForm::loadGrid()
{
    setHint(u"Loading Please Wait ..."_s);
    clearGrid();
    const QString degree = text(0)->text().trimmed();
    const QString college = text(3)->text().trimmed();
    if (isRegister()) {
        for (const CancelRow &row : m_store.loadRegister(degree, college))
            appendRegisterRow(row);
        if (!browsing())
            appendEmptyRow();
    } else {
        for (const PrintedRow &row : m_store.loadPrinted(degree, college))
            appendPrintedRow(row);
    }
    setHint({});
}

void CancellationForm::appendRegisterRow(const CancelRow &row)
{
    m_filling = true;
    const int at = m_grid->rowCount();
    m_grid->insertRow(at);
    m_grid->setItem(at, RegNo, readOnly(row.regno));
    m_grid->setItem(at, Name, readOnly(row.name));
    m_grid->setItem(at, CertNo, readOnly(row.certNo));
    m_grid->setItem(at, Reason, editable(row.reason));
    m_grid->setItem(at, RowState, readOnly(row.state.isEmpty() ? u"U"_s : row.state));
    m_filling = false;
}

// The last line of the register grid takes the register number of a certificate to cancel.
void CancellationForm::appendEmptyRow()
{
    m_filling = true;
    const int at = m_grid->rowCount();
    m_grid->insertRow(at);
    m_grid->setItem(at, RegNo, editable({}));
    m_grid->setItem(at, Name, readOnly({}));
    m_grid->setItem(at, CertNo, readOnly({}));
    m_grid->setItem(at, Reason, editable({}));
    m_grid->setItem(at, RowState, readOnly({}));
    m_filling = false;
}

void CancellationForm::appendPrintedRow(const PrintedRow &row)
{
    m_filling = true;
    const int at = m_grid->rowCount();
    m_grid->insertRow(at);
    m_grid->setItem(at, RegNo, readOnly(row.regno));
    m_grid->setItem(at, Name, readOnly(row.name));
    m_grid->setItem(at, CertNo, readOnly(row.certNo));
    m_grid->setItem(at, PrintedDate, readOnly(row.issued.isValid() ? formatDmy(row.issued) : QString()));
    auto *tick = new QTableWidgetItem;
    tick->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    tick->setCheckState(row.ticked ? Qt::Checked : Qt::Unchecked);
    m_grid->setItem(at, Cancel, tick);
    m_filling = false;
}

void CancellationForm::cellChanged(int row, int column)
{
    if (!isRegister())
        return;
    if (column == RegNo) {
        regnoTyped(row);
        return;
    }
    QTableWidgetItem *state = m_grid->item(row, RowState);
    if (column == Reason && state && state->text() == u"U"_s) {
        m_filling = true;
        state->setText(u"E"_s);
        m_filling = false;
    }
}

void CancellationForm::regnoTyped(int row)
{
    QTableWidgetItem *state = m_grid->item(row, RowState);
    QTableWidgetItem *regno = m_grid->item(row, RegNo);
    if (!state || !regno || !state->text().isEmpty() || regno->text().trimmed().isEmpty())
        return;
    std::vector<CancelRow> others = registerRows();
    const std::optional<CancelRow> line =
        m_store.newRow(text(0)->text(), text(3)->text(), regno->text(), others);
    m_filling = true;
    if (line) {
        regno->setText(line->regno);
        regno->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_grid->item(row, Name)->setText(line->name);
        m_grid->item(row, CertNo)->setText(line->certNo);
        state->setText(u"A"_s);
    } else {
        regno->setText({});
    }
    m_filling = false;
    if (line) {
        appendEmptyRow();
        m_grid->setCurrentCell(row, Reason);
    }
}

void CancellationForm::lookUpRegno()
{
    const int row = m_grid->currentRow();
    if (!isRegister() || row < 0 || !cellText(m_grid, row, RowState).isEmpty())
        return;
    try {
        if (const auto code = FrmHLPItem::choose(session().db(), prompter(),
                                                 m_store.regnoLookup(text(0)->text(), text(3)->text()), this))
            m_grid->item(row, RegNo)->setText(*code);
    } catch (const std::exception &e) {
        showError(e);
    }
    m_grid->setFocus();
}

std::vector<CancelRow> CancellationForm::registerRows() const
{
    std::vector<CancelRow> rows;
    if (!isRegister())
        return rows;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString state = cellText(m_grid, row, RowState);
        if (state.isEmpty())
            continue;
        rows.push_back({cellText(m_grid, row, RegNo), cellText(m_grid, row, Name), cellText(m_grid, row, CertNo),
                        cellText(m_grid, row, Reason), state == u"U"_s ? QString() : state});
    }
    return rows;
}

std::vector<PrintedRow> CancellationForm::printedRows() const
{
    std::vector<PrintedRow> rows;
    if (isRegister())
        return rows;
    for (int row = 0; row < m_grid->rowCount(); ++row)
        rows.push_back({cellText(m_grid, row, RegNo), cellText(m_grid, row, Name), cellText(m_grid, row, CertNo),
                        parseDmy(cellText(m_grid, row, PrintedDate)),
                        m_grid->item(row, Cancel)->checkState() == Qt::Checked});
    return rows;
}

bool CancellationForm::eventFilter(QObject *watched, QEvent *event)
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
            // A complete header has moved the focus into the grid.
            if (box == text(3))
                return true;
        }
    }
    return RecordForm::eventFilter(watched, event);
}

void CancellationForm::showAgain(const QString &degree, const QString &college)
{
    resetForm();
    clearGrid();
    text(0)->setText(degree);
    text(3)->setText(college);
    text(1)->setText(m_store.degreeName(degree).value_or(QString()));
    text(2)->setText(m_store.collegeName(college).value_or(QString()));
    const bool any = isRegister() ? m_store.hasRegister(degree, college) : m_store.hasPrinted(degree, college);
    if (any)
        loadGrid();
}

void CancellationForm::CmdSave_Click()
{
    try {
        const QString degree = text(0)->text().trimmed();
        const QString college = text(3)->text().trimmed();
        int saved = -1;
        if (isRegister()) {
            saved = m_store.saveRegister(degree, college, registerRows());
        } else {
            const std::vector<PrintedRow> rows = printedRows();
            const auto ticked = std::count_if(rows.begin(), rows.end(), [](const PrintedRow &r) { return r.ticked; });
            if (!rows.empty() && ticked == 0) {
                prompter().info(u"No certificate is ticked for cancellation."_s);
                return;
            }
            std::optional<QString> reason;
            if (ticked > 0) {
                reason = prompter().input(u"Reason for cancelling "_s + QString::number(ticked)
                                              + (ticked == 1 ? u" certificate"_s : u" certificates"_s),
                                          u"Message"_s, u"Range cancellation"_s);
                if (!reason)
                    return;
            }
            saved = m_store.cancelTicked(degree, college, rows, reason.value_or(QString()));
        }
        if (saved < 0)
            return;
        // The grid is shown again as the tables now hold it.
        showAgain(degree, college);
    } catch (const std::exception &e) {
        showError(e);
    }
}

} // namespace sw
