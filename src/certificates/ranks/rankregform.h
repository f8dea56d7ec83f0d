// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/ranks/rankstore.h"
#include "shell/forms/recordform.h"

class QTableWidget;

namespace sw {

// RANKREG, the rank registration screen. The header takes a degree; the grid
// `spread` shows the degree's ranks when it has any (the screen edits them) and
// takes new lines on its last line: a register number of a candidate of the
// degree, the rank as a Roman numeral and remarks. Save writes the grid in one
// transaction; the rules live in RankStore.
class RankRegForm final : public RecordForm
{
    Q_OBJECT
public:
    explicit RankRegForm(const FormContext &context);

    void AEDproc(const QString &operation) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    QTableWidget *spread() const { return m_grid; }
    // The grid's lines as the store takes them; the empty last line is left out.
    std::vector<RankRow> gridRows() const;

    enum Column { RegNo, Name, Rank, Remarks, RowState, ColumnCount };

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool acceptDegree();
    void loadGrid();
    void clearGrid();
    void appendRow(const RankRow &row);
    void appendEmptyRow();
    void cellChanged(int row, int column);
    void regnoTyped(int row);
    void lookUpRegno();

    RankStore m_store;
    QTableWidget *m_grid;
    QLineEdit *m_degreeName;
    bool m_filling = false;
};

} // namespace sw
