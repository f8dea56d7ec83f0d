// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/cancellation/cancellationstore.h"
#include "shell/forms/recordform.h"

class QTableWidget;

namespace sw {

enum class CancellationScreen { Register, Range };

// The two cancellation screens. CERTCAN (Register): the header chooses a degree
// and college, the grid `spread` shows the cancellation register of that pair, and
// a register number typed on the grid's last line, with a reason, cancels that
// candidate's certificate on Save; the reason of a loaded line can be corrected.
// CERTCANRANGE (Range): the grid lists the printed candidates of the pair, and
// Save cancels the ticked ones at once, after asking the reason that the
// stationery register keeps. Both save in one transaction; the rules live in
// CancellationStore.
class CancellationForm final : public RecordForm
{
    Q_OBJECT
public:
    CancellationForm(const FormContext &context, CancellationScreen screen);

    void AEDproc(const QString &operation) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    CancellationScreen screen() const { return m_screen; }
    QTableWidget *spread() const { return m_grid; }
    std::vector<CancelRow> registerRows() const;
    std::vector<PrintedRow> printedRows() const;

    // Register grid: Reg. No., Name, Cert. No., Reason, state (hidden).
    enum RegisterColumn { RegNo, Name, CertNo, Reason, RowState, RegisterColumns };
    // Range grid: Reg. No., Name, Cert. No., Printed Date, Cancel.
    enum RangeColumn { PrintedDate = 3, Cancel = 4, RangeColumns = 5 };

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isRegister() const { return m_screen == CancellationScreen::Register; }
    QLineEdit *addShownBox(int index, QLineEdit *beside);
    bool acceptHeaderBox(QLineEdit *box);
    void headerComplete();
    void loadGrid();
    void clearGrid();
    void appendRegisterRow(const CancelRow &row);
    void appendEmptyRow();
    void appendPrintedRow(const PrintedRow &row);
    void cellChanged(int row, int column);
    void regnoTyped(int row);
    void lookUpRegno();
    void showAgain(const QString &degree, const QString &college);

    CancellationStore m_store;
    CancellationScreen m_screen;
    QTableWidget *m_grid;
    bool m_filling = false;
};

} // namespace sw
