// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/codegridform.h"

#include "shell/db/dberror.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/session.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace sw {

CodeGridForm::CodeGridForm(const FormContext &context, const QString &formName, const QString &caption,
                           const QList<SpreadColumn> &columns)
    : RecordForm(context, formName, caption)
    , m_grid(new SpreadGrid(columns, this))
    , m_count(new QLabel(this))
{
    for (int c = 0; c < int(columns.size()); ++c) {
        if (columns[c].kind == SpreadColumn::Kind::State)
            m_stateColumn = c;
    }
    m_grid->setMinimumSize(560, 260);
    m_grid->setEnabled(false);
    addGrowing(m_grid);
    m_count->setObjectName(u"lblCount"_s);
    addGrowing(m_count, 0);
    registerField(u"S0"_s, m_grid);
    connect(m_grid, &QTableWidget::itemChanged, this, &CodeGridForm::cellChanged);
    connect(m_grid, &SpreadGrid::hintChanged, this, &ChildForm::setHint);
    connect(m_grid, &SpreadGrid::lookupRequested, this, &CodeGridForm::lookUpKey);
}

QLineEdit *CodeGridForm::addHeaderCode(int index, const QString &label, const QString &toolTip, int maxLength,
                                       const CodeSource &source, int descriptionIndex)
{
    QLineEdit *box = addText(index, label, toolTip, maxLength);
    QLineEdit *description = fields().addDescription(descriptionIndex, box);
    fields().setCode(box, source, description);
    fields().setCheck(box, [this, box] { return box != m_header.last() || headerComplete(); });
    m_header << box;
    return box;
}

QString CodeGridForm::headerText(int index) const { return text(index)->text().trimmed(); }

void CodeGridForm::activated()
{
    const bool first = m_firstActivate;
    RecordForm::activated();
    // A screen ready for work takes the degree as soon as it opens.
    if (first && startsEditing() && !m_header.isEmpty() && commands().activeForm() == this
        && commands().isEnabled(Command::Edit)) {
        commands().doCommand(Command::Edit);
    }
}

void CodeGridForm::AEDproc(EditMode mode)
{
    setEditMode(mode);
    fields().clear();
    m_grid->clearRows();
    frame()->setEnabled(true);
    enableFields(true);
    // The descriptions are shown, never typed.
    for (QLineEdit *shown : frame()->findChildren<QLineEdit *>()) {
        if (shown->isReadOnly())
            shown->setEnabled(false);
    }
    m_grid->setEnabled(false);
    SetFieldColours(u'A');
    setLegend(editLegend());
    setCount({});
    showOutcome({});
    if (!m_header.isEmpty())
        m_header.first()->setFocus();
}

bool CodeGridForm::hasUnsavedWork() const
{
    if (browsing())
        return false;
    // A header typed but no grid row touched loses nothing.
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString state = m_stateColumn >= 0 ? m_grid->text(row, m_stateColumn) : QString();
        if (state == u"A"_s || state == u"E"_s)
            return true;
    }
    return m_ticksChanged;
}

void CodeGridForm::resetForm()
{
    RecordForm::resetForm();
    m_grid->clearRows();
    m_grid->setEnabled(false);
    m_ticksChanged = false;
    setCount({});
}

void CodeGridForm::openGrid(int row, int column)
{
    m_grid->setEnabled(true);
    m_grid->fitColumns();
    m_grid->setFocus();
    if (row >= 0 && row < m_grid->rowCount())
        m_grid->setCurrentCell(row, column);
}

void CodeGridForm::fillGrid(const std::function<void()> &load)
{
    setHint(u"Loading Please Wait ..."_s);
    m_grid->clearRows();
    m_ticksChanged = false;
    load();
    m_grid->fitColumns();
    setHint({});
}

void CodeGridForm::appendAddLine()
{
    QList<QTableWidgetItem *> cells;
    for (int c = 0; c < m_grid->columnCount(); ++c) {
        const SpreadColumn::Kind kind = m_grid->columnsShown()[c].kind;
        if (c == m_keyColumn)
            cells << SpreadGrid::typedItem();
        else if (kind == SpreadColumn::Kind::Check)
            cells << SpreadGrid::checkItem(false);
        else
            cells << SpreadGrid::shownItem({});
    }
    m_grid->appendRow(cells);
}

bool CodeGridForm::isAddLine(int row) const
{
    return m_stateColumn >= 0 && row >= 0 && row < m_grid->rowCount() && m_grid->text(row, m_stateColumn).isEmpty();
}

void CodeGridForm::markChanged(int row)
{
    if (m_stateColumn < 0 || m_grid->text(row, m_stateColumn) != u"U"_s)
        return;
    const QSignalBlocker hold(m_grid);
    m_grid->setText(row, m_stateColumn, u"E"_s);
}

void CodeGridForm::setCount(const QString &text) { m_count->setText(text); }

QString CodeGridForm::countText() const { return m_count->text(); }

bool CodeGridForm::prepareSave()
{
    m_grid->commitEditor();
    const bool gridWasOpen = m_grid->isEnabled();
    if (!fields().checkFocused())
        return false;
    // A header completed by this very Save has only now shown its candidates: the
    // clerk sees them before anything is written.
    if (!gridWasOpen && m_grid->isEnabled() && !m_header.isEmpty()) {
        showOutcome(u"Not saved yet: the grid now lists the candidates of the header"_s);
        return false;
    }
    return true;
}

void CodeGridForm::describeHeader()
{
    for (QLineEdit *box : m_header)
        fields().describe(box);
}

void CodeGridForm::cellChanged(QTableWidgetItem *item)
{
    const int row = item->row();
    const int column = item->column();
    if (column == m_keyColumn && isAddLine(row)) {
        if (!item->text().trimmed().isEmpty())
            keyTyped(row);
        return;
    }
    if (m_grid->columnsShown()[column].kind == SpreadColumn::Kind::Check)
        m_ticksChanged = true;
    markChanged(row);
    cellEdited(row, column);
}

void CodeGridForm::lookUpKey(int row, int column)
{
    if (browsing() || column != m_keyColumn || !isAddLine(row))
        return;
    const std::optional<LookupRequest> request = keyLookup();
    if (!request)
        return;
    m_grid->commitEditor();
    try {
        if (const auto code =
                LookupDialog::choose(session().db(), prompter(), *request, this, m_grid->text(row, column)))
            m_grid->item(row, column)->setText(*code);
    } catch (const std::exception &e) {
        showError(e);
    }
    m_grid->setFocus();
}

} // namespace sw
