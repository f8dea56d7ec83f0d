// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/ranks/rankstore.h"
#include "masters/mastercodes.h"
#include "shell/forms/codegridform.h"

namespace sw {

// RANKREG, the rank registration screen. The header takes a degree; the grid
// `spread` shows the degree's ranks when it has any (the screen edits them) and
// takes new lines on its last line: a register number of a candidate of the
// degree, the rank as a Roman numeral and remarks. Save writes the grid in one
// transaction and says how many ranks it saved; the rules live in RankStore.
class RankRegistrationForm final : public CodeGridForm
{
    Q_OBJECT
public:
    explicit RankRegistrationForm(const FormContext &context);

    void AEDproc(EditMode mode) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    // The grid's lines as the store takes them; the empty last line is left out.
    std::vector<RankRow> gridRows() const;

    enum Column { RegNo, Name, Rank, Remarks, RowState, ColumnCount };

protected:
    bool headerComplete() override;
    void keyTyped(int row) override;
    void cellEdited(int row, int column) override;
    std::optional<LookupRequest> keyLookup() const override;

private:
    void loadGrid();

    RankStore m_store;
    MasterCodes m_codes;
    QLineEdit *m_degree; // text_0
};

} // namespace sw
