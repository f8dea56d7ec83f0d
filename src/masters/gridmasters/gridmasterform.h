// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "masters/gridmasters/gridmasterstore.h"
#include "shell/forms/recordform.h"

namespace sw {

class SpreadGrid;

// The grid screen of a small code table: every row at once in the grid `spread`,
// shown as soon as the screen opens (read-only, the browse commands moving through the
// rows), rows added at the bottom, names edited in place, rows ticked for deletion,
// and nothing written until Save, which applies every change in one transaction. A
// code loaded from the table, or in a row that passed its checks, is locked and
// yellow. Leaving a cell checks it (an empty or repeated code, an empty name), leaving
// a row checks the row; the cell being typed in counts as typed for every check.
class GridMasterForm : public RecordForm
{
    Q_OBJECT
public:
    GridMasterForm(const FormContext &context, const GridMasterKind &kind);

    void AEDproc(EditMode mode) override;
    void CmdSave_Click() override;
    void cmdCancel_Click() override;
    void cmdsearch_Click() override;
    // Puts the grid's cursor on the row `rsdisp` stands on.
    void display_record(RecordSet &rows, const QString &tagname) override;

    SpreadGrid *spread() const { return m_spread; }
    const GridChangeSet &changes() const { return m_changes; }
    static QColor lockedColour() { return QColor(255, 255, 0); }

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    void resetForm() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int columnCount() const { return m_kind.convocation ? 5 : 3; }
    int deleteColumn() const { return columnCount() - 1; }
    // Fills the grid from the table; check boxes change only while editing.
    void loadGrid(bool editing);
    void setRowCount(int rows);
    void lockCode(int row);
    void openAddRow(int afterRow);
    int lastDataRow() const;
    GridRow gridRow(int row) const;
    std::vector<GridRow> gridRows() const;
    bool rowRecorded(int row) const;
    // The check of one cell as it is left, with its message; the cursor goes back to it.
    bool checkCell(int row, int column);
    // The whole-row check with its message; the cursor goes to the offending cell.
    bool checkRow(int row);
    void record(int row);
    void cellLeft(int oldRow, int oldColumn, int newRow, int newColumn);
    QString changeSummary() const;

    const GridMasterKind &m_kind;
    GridMasterStore m_store;
    GridChangeSet m_changes;
    SpreadGrid *m_spread;
    bool m_moving = false;
};

} // namespace sw
