// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/verification/gatestore.h"
#include "masters/mastercodes.h"
#include "shell/forms/codegridform.h"

namespace sw {

// The two gate screens: VERIFY (fee verification, one college) and ACTIVATE
// (release for printing, a range of colleges). The header chooses the candidates;
// the grid `spread` lists them with a check box each, the box chk_0 ticks or clears
// every row at once, and new rows are added by typing a register number on the
// grid's last line. Save writes every row in one transaction and says how many rows
// it wrote and which it refused and why; Delete deactivates every candidate of the
// selection the gate handles. Printed candidates never reach either grid. The rules
// live in GateStore. The screen opens ready to take the degree.
class GateForm final : public CodeGridForm
{
    Q_OBJECT
public:
    GateForm(const FormContext &context, Gate gate);

    void AEDproc(EditMode mode) override;
    void CmdSave_Click() override;
    // Loads the grid for the header's selection.
    void display_record(RecordSet &rows, const QString &tagname) override;

    Gate gate() const { return m_store.gate(); }
    GateSelection selection() const;
    // The grid as the store takes it; the empty line for a new row is left out.
    std::vector<GateRow> gridRows() const;

    enum Column { RegNo, Name, Ticked, RowState, ColumnCount };

protected:
    bool headerComplete() override;
    void keyTyped(int row) override;
    void cellEdited(int row, int column) override;
    std::optional<LookupRequest> keyLookup() const override;

private:
    // The header box the college (or the first college of the range) is typed in, and the last one.
    void loadGrid();
    void tickAll(bool ticked);
    void updateCount();

    GateStore m_store;
    MasterCodes m_codes;
    QLineEdit *m_degree;       // text_0
    QLineEdit *m_firstCollege; // activation: text_1 (From College); verification: text_3 (College)
    QLineEdit *m_lastCollege;  // activation: text_2 (To College); verification: the college again
    QCheckBox *m_all;          // chk_0: tick (or clear) every row
};

} // namespace sw
