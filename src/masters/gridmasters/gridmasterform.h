// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "masters/gridmasters/gridmasterstore.h"
#include "shell/forms/recordform.h"

class QTableWidget;

namespace sw {

// The grid screen of a small code table: every row at once in the grid `spread`,
// rows added at the bottom, names edited in place, rows ticked for deletion, and
// nothing written until Save, which applies every change in one transaction. A code
// loaded from the table, or in a row that passed its checks, is locked and yellow.
class GridMasterForm : public RecordForm
{
    Q_OBJECT
public:
    GridMasterForm(const FormContext &context, const GridMasterKind &kind);

    void AEDproc(const QString &operation) override;
    void CmdSave_Click() override;
    void cmdCancel_Click() override;
    void cmdsearch_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    QTableWidget *spread() const { return m_spread; }
    const GridChangeSet &changes() const { return m_changes; }
    static QColor lockedColour() { return QColor(255, 255, 0); }

protected:
    BoundSql recordsetStatement() const override;
    void resetForm() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int columnCount() const { return m_kind.convocation ? 5 : 3; }
    int deleteColumn() const { return columnCount() - 1; }
    void loadGrid();
    void setRowCount(int rows);
    void lockCode(int row);
    void openAddRow(int afterRow);
    int lastDataRow() const;
    GridRow gridRow(int row) const;
    std::vector<GridRow> gridRows() const;
    bool rowRecorded(int row) const;
    // The whole-row check with its message; the cursor goes to the offending cell.
    bool checkRow(int row);
    void record(int row);
    void rowLeft(int oldRow, int newRow);

    const GridMasterKind &m_kind;
    GridMasterStore m_store;
    GridChangeSet m_changes;
    QTableWidget *m_spread;
    bool m_moving = false;
};

} // namespace sw
