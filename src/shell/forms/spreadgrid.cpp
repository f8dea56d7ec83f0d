// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/spreadgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

SpreadGrid::SpreadGrid(const QList<SpreadColumn> &columns, QWidget *parent)
    : QTableWidget(0, int(columns.size()), parent)
    , m_columns(columns)
{
    setObjectName(u"spread"_s);
    QStringList captions;
    for (const SpreadColumn &c : columns)
        captions << c.caption;
    setHorizontalHeaderLabels(captions);
    for (int c = 0; c < int(columns.size()); ++c) {
        if (columns[c].kind == SpreadColumn::Kind::State)
            setColumnHidden(c, true);
    }
    horizontalHeader()->setStretchLastSection(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *cell) { widenFor(cell); });
    connect(this, &QTableWidget::currentCellChanged, this, [this](int, int column) {
        if (column >= 0)
            emit hintChanged(hint(column));
    });
    fitColumns();
}

QTableWidgetItem *SpreadGrid::shownItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem *SpreadGrid::typedItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    return item;
}

QTableWidgetItem *SpreadGrid::checkItem(bool ticked, bool changeable)
{
    auto *item = new QTableWidgetItem;
    item->setFlags(changeable ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable
                              : Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    return item;
}

int SpreadGrid::appendRow(const QList<QTableWidgetItem *> &cells)
{
    const QSignalBlocker hold(this);
    const int row = rowCount();
    insertRow(row);
    for (int c = 0; c < int(cells.size()) && c < columnCount(); ++c) {
        setItem(row, c, cells[c]);
        widenFor(cells[c]);
    }
    // A column the row gave no cell gets an empty shown one, so every cell exists.
    for (int c = int(cells.size()); c < columnCount(); ++c)
        setItem(row, c, m_columns[c].kind == SpreadColumn::Kind::Check ? checkItem(false) : shownItem({}));
    return row;
}

void SpreadGrid::clearRows()
{
    const QSignalBlocker hold(this);
    clearContents();
    setRowCount(0);
}

QString SpreadGrid::text(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void SpreadGrid::setText(int row, int column, const QString &text)
{
    if (QTableWidgetItem *cell = item(row, column))
        cell->setText(text);
    else
        setItem(row, column, shownItem(text));
}

bool SpreadGrid::ticked(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell && cell->checkState() == Qt::Checked;
}

void SpreadGrid::setTicked(int row, int column, bool ticked)
{
    if (QTableWidgetItem *cell = item(row, column))
        cell->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void SpreadGrid::lock(int row, int column)
{
    if (QTableWidgetItem *cell = item(row, column))
        cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
}

void SpreadGrid::commitEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // The open editor is the widget with the focus inside the grid's viewport.
    QWidget *editor = QApplication::focusWidget();
    if (editor && viewport()->isAncestorOf(editor))
        commitData(editor);
}

void SpreadGrid::fitColumns()
{
    QHeaderView *header = horizontalHeader();
    int last = -1;
    for (int c = 0; c < columnCount(); ++c) {
        if (!isColumnHidden(c))
            last = c;
    }
    m_givingWay = -1;
    for (int c = 0; c < columnCount(); ++c) {
        if (isColumnHidden(c) || c == last)
            continue;
        resizeColumnToContents(c);
        // Room for a few more letters than the widest so far, as typing goes on.
        setColumnWidth(c, std::max(columnWidth(c) + 12, header->sectionSizeHint(c)));
    }
    giveWay();
}

void SpreadGrid::widenFor(const QTableWidgetItem *cell)
{
    if (!cell || cell->text().isEmpty())
        return;
    const int column = cell->column();
    if (column < 0 || column == m_givingWay || isColumnHidden(column))
        return;
    const int needed =
        fontMetrics().horizontalAdvance(cell->text()) + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 16;
    if (needed > columnWidth(column))
        setColumnWidth(column, needed);
}

void SpreadGrid::giveWay()
{
    // Room for the vertical scroll bar too, which rows added later bring.
    const int room =
        viewport()->width()
        - (verticalScrollBar()->isVisible() ? 0 : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    if (room <= 0)
        return;
    int last = -1;
    int total = 0;
    int widest = -1;
    for (int c = 0; c < columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        last = c;
        if (c > 0 && m_columns.value(c).kind != SpreadColumn::Kind::Check
            && (widest < 0 || columnWidth(c) > columnWidth(widest)))
            widest = c;
    }
    for (int c = 0; c < columnCount(); ++c) {
        if (!isColumnHidden(c))
            // The stretched last column keeps at least the header's default width.
            total += c == last
                         ? std::max(horizontalHeader()->sectionSizeHint(c), horizontalHeader()->defaultSectionSize())
                         : columnWidth(c);
    }
    if (total <= room || widest < 0 || widest == last)
        return;
    const int least = horizontalHeader()->sectionSizeHint(widest);
    setColumnWidth(widest, std::max(least, columnWidth(widest) - (total - room)));
    m_givingWay = widest;
    // The whole text of a cell the column cuts is its tooltip.
    for (int row = 0; row < rowCount(); ++row) {
        if (QTableWidgetItem *cell = item(row, widest); cell && cell->toolTip().isEmpty())
            cell->setToolTip(cell->text());
    }
}

void SpreadGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    if (m_givingWay >= 0 || rowCount() > 0)
        fitColumns();
}

QString SpreadGrid::hint(int column) const
{
    return column >= 0 && column < int(m_columns.size()) ? m_columns[column].hint : QString();
}

void SpreadGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && currentRow() >= 0) {
        emit lookupRequested(currentRow(), currentColumn());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace sw
