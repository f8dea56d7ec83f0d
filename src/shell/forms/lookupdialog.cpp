// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/lookupdialog.h"

#include "shell/core/kannadatext.h"
#include "shell/core/prompter.h"
#include "shell/db/schema.h"
#include "shell/forms/kannadabox.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

// ---- LookupRequest --------------------------------------------------------------

QList<LookupRequest::Column> LookupRequest::parsedColumns() const
{
    QList<Column> out;
    QString part;
    int depth = 0;
    const auto flush = [&out, &part] {
        const QString item = part.trimmed();
        part.clear();
        if (item.isEmpty())
            return;
        static const QRegularExpression alias(u"^(.*\\S)\\s+as\\s+(\\S.*)$"_s,
                                              QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = alias.match(item);
        if (m.hasMatch())
            out.append({m.captured(1), m.captured(2)});
        else
            out.append({item, item});
    };
    for (const QChar c : columns) {
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        if (c == u',' && depth == 0)
            flush();
        else
            part += c;
    }
    flush();
    return out;
}

BoundSql LookupRequest::statement(const QString &typed) const
{
    const QList<Column> cols = parsedColumns();
    BoundSql out;
    out.sql = u"Select "_s + columns + u" from "_s + table;
    out.params = params;
    QStringList where;
    if (!condition.trimmed().isEmpty())
        where.append(u"("_s + condition + u')');
    if (!typed.isEmpty() && !cols.isEmpty()) {
        // "!" escapes the pattern characters the user may type.
        QString pattern = typed;
        pattern.replace(u"!"_s, u"!!"_s).replace(u"%"_s, u"!%"_s).replace(u"_"_s, u"!_"_s);
        pattern += u'%';
        QString narrow = cols.first().expression + u" like ? escape '!'"_s;
        out.params.append(pattern);
        if (cols.size() > 1 && cols.at(1).expression != cols.first().expression) {
            narrow = u"("_s + narrow + u" or "_s + cols.at(1).expression + u" like ? escape '!')"_s;
            out.params.append(pattern);
        }
        where.append(narrow);
    }
    if (!where.isEmpty())
        out.sql += u" where "_s + where.join(u" and "_s);
    if (!groupBy.trimmed().isEmpty())
        out.sql += u" group by "_s + groupBy;
    const QString order = orderBy.trimmed().isEmpty() && !cols.isEmpty() ? cols.first().expression : orderBy;
    if (!order.trimmed().isEmpty())
        out.sql += u" order by "_s + order;
    return out;
}

// ---- LookupModel ----------------------------------------------------------------

LookupModel::LookupModel(const Database &db, QObject *parent)
    : QAbstractTableModel(parent)
    , m_db(db)
{
}

void LookupModel::run(const LookupRequest &request, const QString &typed)
{
    beginResetModel();
    m_rows.reset();
    m_data.clear();
    m_columns = request.parsedColumns();
    m_headings = request.headings;
    const BoundSql statement = request.statement(typed);
    try {
        m_rows.emplace(m_db.query(statement.sql, statement.params));
        m_exhausted = false;
        m_data = readPage();
    } catch (...) {
        m_exhausted = true;
        endResetModel();
        throw;
    }
    endResetModel();
}

QList<QStringList> LookupModel::readPage()
{
    QList<QStringList> page;
    const int columns = columnCount();
    for (int i = 0; i < kPageSize && !m_exhausted; ++i) {
        if (!m_rows->next()) {
            m_exhausted = true;
            m_rows.reset();
            break;
        }
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row << m_rows->text(c);
        page.append(row);
    }
    return page;
}

QString LookupModel::code(int row) const
{
    return row >= 0 && row < m_data.size() ? m_data.at(row).value(0) : QString();
}

int LookupModel::rowOf(const QString &code, int limit)
{
    const QString wanted = code.trimmed();
    if (wanted.isEmpty())
        return -1;
    for (int row = 0;; ++row) {
        if (row >= m_data.size()) {
            if (row >= limit || !canFetchMore({}))
                return -1;
            fetchMore({});
            if (row >= m_data.size())
                return -1;
        }
        if (m_data.at(row).value(0).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return row;
    }
}

int LookupModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_data.size()); }

int LookupModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(std::max<qsizetype>(1, m_columns.size()));
}

QVariant LookupModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole) || index.row() >= m_data.size())
        return {};
    return m_data.at(index.row()).value(index.column());
}

QVariant LookupModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return section < m_headings.size() ? m_headings.at(section) : m_columns.at(section).heading;
}

bool LookupModel::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && !m_exhausted; }

void LookupModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || m_exhausted)
        return;
    const QList<QStringList> page = readPage();
    if (page.isEmpty())
        return;
    const int first = int(m_data.size());
    beginInsertRows({}, first, first + int(page.size()) - 1);
    m_data.append(page);
    endInsertRows();
}

// ---- LookupDialog ---------------------------------------------------------------

LookupDialog::LookupDialog(const Database &db, const LookupRequest &request, QWidget *parent, const QString &current)
    : QDialog(parent)
    , m_request(request)
    , m_model(new LookupModel(db, this))
    , m_search(new QLineEdit(this))
    , m_list(new QTableView(this))
    , m_status(new QLabel(this))
{
    setObjectName(u"frmHLPItem"_s);
    setWindowTitle(u"Help"_s);
    m_search->setObjectName(u"txtSearch"_s);
    m_list->setObjectName(u"DataList1"_s);
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Every row has the same height, so the view never measures the rows it does not show.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_status->setObjectName(u"StatusBar1_1"_s);
    auto *bar = new QStatusBar(this);
    bar->setObjectName(u"StatusBar1"_s);
    bar->setSizeGripEnabled(false);
    bar->addWidget(m_status, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_list, 1);
    layout->addWidget(bar);
    resize(480, 420);

    connect(m_search, &QLineEdit::textEdited, this, &LookupDialog::narrow);
    connect(m_list, &QTableView::doubleClicked, this, &LookupDialog::accept);
    m_search->installEventFilter(this);
    m_list->installEventFilter(this);
    m_model->run(m_request);
    showKannadaColumns();
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LookupDialog::showCode);
    const int at = m_model->rowOf(current);
    if (m_model->rowCount() > 0)
        m_list->selectRow(std::max(at, 0));
    fitToColumns();
    if (at >= 0)
        m_list->scrollTo(m_model->index(at, 0), QAbstractItemView::PositionAtCenter);
    showCode();
    m_search->setFocus();
}

void LookupDialog::fitToColumns()
{
    // Whole codes, names and specialities: each column as wide as its longest text so far.
    m_list->resizeColumnsToContents();
    int width = 0;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        m_list->setColumnWidth(c, m_list->columnWidth(c) + 16);
        width += m_list->columnWidth(c);
    }
    const int chrome = 2 * layout()->contentsMargins().left() + m_list->verticalScrollBar()->sizeHint().width() + 8;
    resize(std::clamp(width + chrome, 480, 1000), height());
}

bool LookupDialog::hasRows() const { return m_model->rowCount() > 0; }

QString LookupDialog::currentCode() const { return m_model->code(m_list->currentIndex().row()); }

void LookupDialog::showKannadaColumns()
{
    const QList<LookupRequest::Column> columns = m_request.parsedColumns();
    for (int c = 0; c < m_model->columnCount() && c < columns.size(); ++c) {
        const QString family = schema::kannadaFont(columns.at(c).expression);
        if (!family.isEmpty())
            KannadaBox::showColumn(m_list, c, family, 13); // the size of the screens' Kannada boxes
    }
}

void LookupDialog::narrow(const QString &typed)
{
    // Kannada typed in Unicode looks for the codes it is stored as.
    const QString wanted = kannada::hasUnicodeKannada(typed) ? kannada::fromUnicode(typed).text : typed;
    m_model->run(m_request, wanted.trimmed());
    if (m_model->rowCount() > 0)
        m_list->selectRow(0);
    showCode();
}

void LookupDialog::showCode()
{
    const QString code = currentCode();
    m_status->setText(code.isEmpty() ? QString() : u"Code : "_s + code);
}

void LookupDialog::accept()
{
    m_chosen = currentCode();
    if (m_chosen.isEmpty())
        return;
    QDialog::accept();
}

bool LookupDialog::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_search || watched == m_list) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    // Up and Down in the search box move the highlight, so the clerk never leaves the keyboard.
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            QCoreApplication::sendEvent(m_list, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<QString> LookupDialog::choose(const Database &db, Prompter &prompter, const LookupRequest &request,
                                            QWidget *parent, const QString &current)
{
    if (request.table.trimmed().isEmpty()) {
        prompter.message(u"Table not found."_s, u"Message"_s, PromptIcon::Information);
        return std::nullopt;
    }
    std::unique_ptr<LookupDialog> window;
    try {
        window = std::make_unique<LookupDialog>(db, request, parent, current);
    } catch (const DbError &e) {
        if (e.kind() != DbErrorKind::MissingTable)
            throw;
        prompter.message(u"Table not found."_s, u"Message"_s, PromptIcon::Information);
        return std::nullopt;
    }
    if (!window->hasRows()) {
        prompter.message(u"No data found."_s, u"Message"_s, PromptIcon::Information);
        return std::nullopt;
    }
    if (window->exec() != QDialog::Accepted)
        return std::nullopt;
    return window->chosenCode();
}

} // namespace sw
