// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/recordform.h"
#include "shell/forms/spreadgrid.h"

class QLabel;

namespace sw {

// A record screen whose header of code boxes (a degree, one or a range of colleges)
// chooses what its grid `spread` holds: the cancellation screens, verification and
// activation, rank registration, recent certificates. Built once here:
//  - header code boxes with their description boxes beside them (addHeaderCode); the
//    checks of leaving each box; leaving the last one completes the header
//    (headerComplete(), where the screen loads its grid or opens it for new rows);
//  - the grid below the header, as wide as the window, disabled until the header is
//    complete; a hidden row-state column ("A" added, "U" loaded, "E" changed) when the
//    screen has one; the add line (an empty last row) whose key cell takes the register
//    number of a new row (keyTyped()), F1 there opening the screen's lookup;
//  - Enter in the header and the arrows in the grid as everywhere; the cell being typed
//    in committed before a save (prepareSave()); "Loading Please Wait ..." while a grid
//    loads; a count line below the grid.
// A screen that starts ready for work (startsEditing()) goes into edit mode as it opens,
// so the clerk types the degree at once.
class CodeGridForm : public RecordForm
{
    Q_OBJECT
public:
    CodeGridForm(const FormContext &context, const QString &formName, const QString &caption,
                 const QList<SpreadColumn> &columns);

    SpreadGrid *spread() const { return m_grid; }
    // The line below the grid ("12 candidates, 10 ticked").
    QString countText() const;

    void activated() override;
    // A new header: empty boxes, an empty disabled grid, the focus in the first box.
    void AEDproc(EditMode mode) override;
    bool hasUnsavedWork() const override;

protected:
    // A header code box with the description box `descriptionIndex` beside it. The last
    // one added completes the header when it is left.
    QLineEdit *addHeaderCode(int index, const QString &label, const QString &toolTip, int maxLength,
                             const CodeSource &source, int descriptionIndex);
    // The header is complete: load the grid or open it for new rows. False refuses the
    // last header box (the focus stays there).
    virtual bool headerComplete() = 0;
    // The register number typed in the key cell of the add line `row`.
    virtual void keyTyped(int row) { Q_UNUSED(row) }
    // A cell of a row changed by the clerk (not the add line's key).
    virtual void cellEdited(int row, int column)
    {
        Q_UNUSED(row)
        Q_UNUSED(column)
    }
    // The lookup F1 opens in the add line's key cell; nullopt when the screen has none.
    virtual std::optional<LookupRequest> keyLookup() const { return std::nullopt; }
    // Whether the screen goes into edit mode as it opens.
    virtual bool startsEditing() const { return true; }

    void resetForm() override;

    // The header boxes as typed, trimmed.
    QString headerText(int index) const;
    // Opens the grid for work with the current cell on (row, column).
    void openGrid(int row, int column);
    // Empties the grid ("Loading Please Wait ..." while `load` fills it).
    void fillGrid(const std::function<void()> &load);
    // Appends the add line: an empty row whose key cell takes a register number.
    void appendAddLine();
    bool isAddLine(int row) const;
    // Marks a loaded row as changed ("U" to "E").
    void markChanged(int row);
    // The column whose cells hold the row state; -1 when the grid has none.
    int stateColumn() const { return m_stateColumn; }
    void setKeyColumn(int column) { m_keyColumn = column; }
    void setCount(const QString &text);
    // What a save does first: the typed cell committed, the box the clerk is in checked.
    bool prepareSave();
    // The header's descriptions filled again (after a save shows the grid again).
    void describeHeader();

private:
    void cellChanged(QTableWidgetItem *item);
    void lookUpKey(int row, int column);

    SpreadGrid *m_grid;
    QLabel *m_count;
    QList<QLineEdit *> m_header;
    int m_stateColumn = -1;
    int m_keyColumn = 0;
    bool m_ticksChanged = false; // a check box of the grid was changed since it was filled
};

} // namespace sw
