// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/database.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QString>
#include <QVariantList>

#include <optional>

class QLabel;
class QLineEdit;
class QTableView;

namespace sw {

class Prompter;

// What the lookup window lists: "Select " + columns + " from " + table
// [+ " where " + condition] [+ " group by " + groupBy] [+ " order by " + orderBy].
// The columns are a code column and, usually, a name column, each with its
// heading as an alias ("fusername as Users, fusername as Name"); the first one is
// the code handed back. Table, columns and the parts are the screen's own text;
// values in the condition are "?" placeholders bound from `params`.
struct LookupRequest
{
    QString table;
    QString columns;
    QString condition;
    QVariantList params;
    QString groupBy;
    QString orderBy; // the code column when empty
    // The captions of the columns, in order; where none is given, the column's alias.
    QStringList headings;

    struct Column
    {
        QString expression;
        QString heading;
    };
    // The columns split at their commas, each into its expression and heading.
    QList<Column> parsedColumns() const;
    // The statement, narrowed to rows whose code or name starts with `typed` when
    // it is not empty (the type-ahead search).
    BoundSql statement(const QString &typed = {}) const;
};

// The lookup's rows, read a page at a time from the open statement as the view
// scrolls, so a table of any size opens at once. Code in column 0, then the columns
// that describe it (name, speciality, ...).
class LookupModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit LookupModel(const Database &db, QObject *parent = nullptr);

    // Runs the request's statement (narrowed to `typed`) and reads the first page.
    void run(const LookupRequest &request, const QString &typed = {});
    QString code(int row) const;
    // The row holding `code` (letter case and blanks aside), reading further pages as
    // needed up to `limit` rows; -1 when it is not among them.
    int rowOf(const QString &code, int limit = 5000);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    static constexpr int kPageSize = 100;

private:
    QList<QStringList> readPage();

    const Database &m_db;
    std::optional<Rows> m_rows;
    QList<LookupRequest::Column> m_columns;
    QStringList m_headings;
    QList<QStringList> m_data;
    bool m_exhausted = true;
};

// The lookup window ("Help") that F1 opens from a code field: the rows of the
// request under their captions, each column as wide as its longest text, the row of
// the field's current value highlighted, a search box that narrows them on each
// keystroke, "Code : " + the highlighted code in its status bar. Enter or a double
// click hands the code back; Esc leaves the field as it was. A column of Kannada text
// is shown in its legacy font, or read as Unicode where that font is missing; Kannada
// typed in Unicode in the search box narrows on the codes it is stored as.
class LookupDialog : public QDialog
{
    Q_OBJECT
public:
    LookupDialog(const Database &db, const LookupRequest &request, QWidget *parent = nullptr,
                 const QString &current = {});

    // False (and nothing shown) when the request has no rows.
    bool hasRows() const;
    // The highlighted code; empty when none.
    QString currentCode() const;
    // The code chosen when the window was accepted.
    QString chosenCode() const { return m_chosen; }

    // Opens the window modally and returns the chosen code: "Table not found." when
    // the request names no table (or one that is missing), "No data found." when it
    // has no rows, both titled "Message", and nullopt then or when the user leaves.
    static std::optional<QString> choose(const Database &db, Prompter &prompter, const LookupRequest &request,
                                         QWidget *parent = nullptr, const QString &current = {});

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void narrow(const QString &typed);
    void showCode();
    void fitToColumns();
    // Columns of Kannada text show it as a Kannada box would.
    void showKannadaColumns();

    LookupRequest m_request;
    LookupModel *m_model;
    QLineEdit *m_search;
    QTableView *m_list;
    QLabel *m_status;
    QString m_chosen;
};

} // namespace sw
