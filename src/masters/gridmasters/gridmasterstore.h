// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "masters/gridmasters/gridmasterkind.h"
#include "shell/db/sqldialect.h"

#include <QString>

#include <optional>
#include <vector>

namespace sw {

class Database;
class Prompter;

// What happens to a row of a grid master on save.
enum class GridRowMode : char {
    Loaded = 'E',  // read from the table and unchanged
    Added = 'A',   // to insert
    Updated = 'U', // name (date, active flag) changed
    Deleted = 'D', // to delete
};

// One row of a grid master as the grid holds it. `date` and `active` belong to the
// convocation table only.
struct GridRow
{
    QString code;
    QString name;
    QString date;
    bool active = false;
    GridRowMode mode = GridRowMode::Loaded;
};

// A row that fails the checks: which row (index into the rows checked), which
// cell, and the message the screen shows. For a duplicate code `row` is the other
// row that carries the code, where the cursor goes.
struct GridProblem
{
    enum class Cell { Code, Name, Date };
    int row = -1;
    Cell cell = Cell::Code;
    QString message;
};

// The pending changes of one grid screen, from its load to its save. Rows are
// recorded as the user leaves them; a code is never changed, only added or deleted.
class GridChangeSet
{
public:
    void reset(std::vector<GridRow> loaded) { m_rows = std::move(loaded); }
    const std::vector<GridRow> &rows() const { return m_rows; }
    bool contains(const QString &code) const;

    // Records one grid row: a code not yet in the set is added; a known one takes
    // the new name (date, flag) and becomes "D" when its delete box is ticked,
    // else stays "A" when it was added since the load, else "U".
    void record(const GridRow &gridRow, bool deleteTicked);

private:
    std::vector<GridRow> m_rows;
};

// Reads and saves one grid master table. A save applies every pending row in one
// transaction: either all rows reach the table or none does.
class GridMasterStore
{
public:
    GridMasterStore(Database &db, const GridMasterKind &kind);

    const GridMasterKind &kind() const { return m_kind; }
    // The logged-in user, whom the audit trail names for every row saved.
    void setActor(const QString &user) { m_actor = user; }

    // The rows the screen browses, by code.
    BoundSql browseStatement() const;
    // Every row of the table by code, each "E".
    std::vector<GridRow> load() const;

    // The whole-row check of every row that is not being deleted: code and name
    // present, code unique among the rows (whatever its letter case), texts within
    // their column widths, the convocation's date a real date and one convocation active.
    std::optional<GridProblem> check(const std::vector<GridRow> &rows) const;
    // The same check for the one row `index`.
    std::optional<GridProblem> checkRow(const std::vector<GridRow> &rows, int index) const;

    // Writes the rows in one transaction. An empty set gets "No Details found."; a
    // deleted code that candidates use refuses the save with their count; a failing
    // statement rolls everything back and its description is shown.
    // Returns whether the changes were committed.
    bool save(const std::vector<GridRow> &rows, Prompter &prompter);
    // The same transaction for callers that report failures themselves: throws
    // DbError after the rollback.
    void write(const std::vector<GridRow> &rows);

    // A code as it is stored: trimmed, upper case, apostrophes as grave accents. Codes
    // are compared without regard to case everywhere, as the servers compare them.
    static QString cleanCode(const QString &code);

    // How many candidates refer to `code`.
    int candidatesUsing(const QString &code) const;
    // The message refusing a save that deletes a code candidates still use; nullopt when none does.
    std::optional<QString> deletionRefused(const std::vector<GridRow> &rows) const;

private:
    // Name present, every text within its width and free of control characters, a date that exists.
    std::optional<GridProblem> checkCells(const GridRow &row, int index) const;
    // A convocation ticked active while another is.
    std::optional<GridProblem> checkActive(const std::vector<GridRow> &rows, int index) const;
    void apply(const GridRow &row);

    QString m_actor;
    Database &m_db;
    const GridMasterKind &m_kind;
};

} // namespace sw
