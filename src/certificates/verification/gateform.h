// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/verification/gatestore.h"
#include "shell/forms/recordform.h"

class QLabel;
class QTableWidget;

namespace sw {

// The two gate screens: VERIFY (fee verification, one college) and ACTIVATE
// (release for printing, a range of colleges). The header chooses the candidates;
// the grid `spread` lists them with a check box each, the box chk_0 ticks or clears
// every row at once, and new rows are added by typing a register number on the
// grid's last line. Save writes every row in one transaction; Delete deactivates
// every candidate of the selection the gate handles. Printed candidates never reach
// either grid. The rules live in GateStore.
class GateForm final : public RecordForm
{
    Q_OBJECT
public:
    GateForm(const FormContext &context, Gate gate);

    void AEDproc(const QString &operation) override;
    void CmdSave_Click() override;
    // Loads the grid for the header's selection.
    void display_record(RecordSet &rows, const QString &tagname) override;

    Gate gate() const { return m_store.gate(); }
    QTableWidget *spread() const { return m_grid; }
    GateSelection selection() const;
    // The grid as the store takes it; the empty line for a new row is left out.
    std::vector<GateRow> gridRows() const;
    // "N candidates, M ticked" below the grid.
    QString countText() const;

    enum Column { RegNo, Name, Ticked, RowState, ColumnCount };

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    void resetForm() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addShownBox(int index, QLineEdit *beside);
    // The header box the college (or the first college of the range) is typed in, and the last one.
    QLineEdit *firstCollegeBox() const;
    QLineEdit *lastCollegeBox() const;
    bool acceptHeaderBox(QLineEdit *box);
    void headerComplete();
    void showHeaderNames();
    void loadGrid();
    void clearGrid();
    void appendRow(const GateRow &row);
    void appendEmptyRow();
    void regnoTyped(int row);
    void lookUpRegno();
    void tickAll(bool ticked);
    void updateCount();

    GateStore m_store;
    QTableWidget *m_grid;
    QLabel *m_count;
    bool m_filling = false;
};

} // namespace sw
