// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/cancellation/cancellationstore.h"
#include "masters/mastercodes.h"
#include "shell/forms/codegridform.h"

namespace sw {

enum class CancellationScreen { Register, Range };

// The two cancellation screens. CERTCAN (Register): the header chooses a degree
// and college, the grid `spread` shows the cancellation register of that pair, and
// a register number typed on the grid's last line, with a reason, cancels that
// candidate's certificate on Save, after a question naming each register number and
// certificate number; the reason of a loaded line can be corrected.
// CERTCANRANGE (Range): the grid lists the printed candidates of the pair, and
// Save cancels the ticked ones at once, after asking the reason that the
// stationery register keeps. Both save in one transaction and say what they
// cancelled; the rules live in CancellationStore. Both open ready to take the degree.
class CancellationForm final : public CodeGridForm
{
    Q_OBJECT
public:
    CancellationForm(const FormContext &context, CancellationScreen screen);

    void AEDproc(EditMode mode) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    CancellationScreen screen() const { return m_screen; }
    std::vector<CancelRow> registerRows() const;
    std::vector<PrintedRow> printedRows() const;

    // Register grid: Reg. No., Name, Cert. No., Reason, state (hidden).
    enum RegisterColumn { RegNo, Name, CertNo, Reason, RowState, RegisterColumns };
    // Range grid: Reg. No., Name, Cert. No., Printed Date, Cancel.
    enum RangeColumn { PrintedDate = 3, Cancel = 4, RangeColumns = 5 };

protected:
    bool headerComplete() override;
    void keyTyped(int row) override;
    std::optional<LookupRequest> keyLookup() const override;

private:
    bool isRegister() const { return m_screen == CancellationScreen::Register; }
    void loadGrid();
    void showAgain(const QString &degree, const QString &college);
    bool saveRegister(const QString &degree, const QString &college);
    bool saveRange(const QString &degree, const QString &college);
    QString filesSaid();

    CancellationStore m_store;
    MasterCodes m_codes;
    CancellationScreen m_screen;
    QLineEdit *m_degree;  // text_0
    QLineEdit *m_college; // text_3
};

} // namespace sw
