// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QTableWidget>

namespace sw {

// One column of a grid `spread`: its caption, what its cells hold, and the hint the
// screen's status bar shows while a cell of it is current.
struct SpreadColumn
{
    enum class Kind {
        Text,  // text, typed or shown as the row decides
        Check, // a check box
        State, // the hidden row-state column ("A" added, "U" loaded, "E" changed)
    };
    QString caption;
    Kind kind = Kind::Text;
    QString hint;
};

// The spreadsheet grid of the screens (object name `spread`): columns as the screen
// describes them, the row-state column hidden, the columns as wide as their contents
// and the last one taking what the window has left. Its item makers are the one way
// screens make cells. F1 in a cell asks the screen for a lookup; a cell still being
// typed in is committed by commitEditor() before a screen checks or saves the grid.
// GUI thread only.
class SpreadGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit SpreadGrid(const QList<SpreadColumn> &columns, QWidget *parent = nullptr);

    // A cell the clerk cannot type into, one he can, and a check box.
    static QTableWidgetItem *shownItem(const QString &text);
    static QTableWidgetItem *typedItem(const QString &text = {});
    static QTableWidgetItem *checkItem(bool ticked, bool changeable = true);

    // Adds a row of cells at the end; returns its index. Signals are held while it fills.
    int appendRow(const QList<QTableWidgetItem *> &cells);
    void clearRows();

    QString text(int row, int column) const;
    void setText(int row, int column, const QString &text);
    bool ticked(int row, int column) const;
    void setTicked(int row, int column, bool ticked);
    // Makes a cell read-only (a code that has passed its checks).
    void lock(int row, int column);

    // The text of a cell still being typed in goes into the cell now.
    void commitEditor();
    // Each visible column as wide as its caption and contents; the last takes the rest.
    // When they are wider than the grid together, the widest column after the first
    // gives way (its cells end in "...", their whole text a tooltip), so the first
    // column (register numbers, codes) stays whole and every column stays on screen.
    void fitColumns();

    const QList<SpreadColumn> &columnsShown() const { return m_columns; }
    QString hint(int column) const;

signals:
    // F1 in a cell.
    void lookupRequested(int row, int column);
    // The current cell moved to a column with this hint.
    void hintChanged(const QString &hint);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A cell given a text wider than its column widens the column (but the give-way one).
    void widenFor(const QTableWidgetItem *cell);
    void giveWay();

    QList<SpreadColumn> m_columns;
    int m_givingWay = -1; // the column narrowed to keep the others on screen
};

} // namespace sw
