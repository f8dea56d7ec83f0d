// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/studentsearchform.h"

#include "candidates/entry/gravetyping.h"
#include "candidates/entry/studentform.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/spreadgrid.h"
#include "shell/session.h"
#include "shell/ui/mainwindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>

#include <tuple>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

enum Column { RegNo, Name, CertNo, PrintedDate, AppNo, Mobile, Email, Active, ColumnCount };

constexpr int kRowHeight = 15;

} // namespace

StudentSearchForm::StudentSearchForm(const FormContext &context)
    : ChildForm(context, u"STUDSEARCH"_s, u"Search Students . . ."_s)
    , m_fields(addFieldFrame())
    , m_mode(new QComboBox(this))
    , m_grid(new SpreadGrid({{u"Reg. No."_s},
                             {u"Name"_s},
                             {u"Cert. No."_s},
                             {u"Printed Date"_s},
                             {u"Online App.no."_s},
                             {u"Mobile no."_s},
                             {u"E mail"_s},
                             {u"Active?"_s, SpreadColumn::Kind::Check}},
                            this))
    , m_count(new QLabel(this))
{
    m_mode->setObjectName(u"CMB"_s);
    m_mode->addItems({u"Begins with"_s, u"Contains"_s, u"Ends with!"_s});
    m_mode->setCurrentIndex(0);
    m_fields->addField(u"CMB"_s, {}, m_mode);
    // The boxes take what the candidates' columns hold, searched in any part.
    const std::tuple<QString, int, QLineEdit **> boxes[] = {{u"Name"_s, 100, &m_name},
                                                            {u"Cert.no."_s, 12, &m_certNo},
                                                            {u"Online App.no."_s, 30, &m_appNo},
                                                            {u"Register no."_s, 20, &m_regno}};
    int index = 0;
    for (const auto &[caption, width, member] : boxes) {
        *member = m_fields->addText(index++, caption, caption, width);
        // A name is searched as the candidates' names are stored, in any letter case.
        if (*member == m_name)
            m_fields->keepCase(m_name);
        graveAccentTyping(*member);
    }
    m_fields->setFieldOrder(u"CMB,T0,T1,T2,T3"_s);
    m_fields->setKeyHook([this](QWidget *box, QKeyEvent *event) { return boxKey(box, event); });

    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->setMinimumSectionSize(kRowHeight);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->installEventFilter(this);
    // The window opens at its layout's size: room for the eight columns.
    m_grid->setMinimumSize(780, 300);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openInEntry(row); });
    addGrowing(m_grid);
    m_count->setObjectName(u"lblCount"_s);
    addGrowing(m_count, 0);
}

void StudentSearchForm::activated()
{
    // The screen only reads: of the toolbar, only Exit means anything here.
    ToolStates states{};
    states[slot(Command::Exit)] = true;
    commands().setToolStates(states);
    if (m_firstActivate) {
        m_firstActivate = false;
        m_name->setFocus();
    }
}

QLineEdit *StudentSearchForm::text(int index) const
{
    return index >= 0 && index < 4 ? m_fields->text(index) : nullptr;
}

SearchCriteria StudentSearchForm::criteria() const
{
    SearchCriteria c;
    c.name = m_name->text().trimmed();
    c.certno = m_certNo->text().trimmed();
    c.appno = m_appNo->text().trimmed();
    c.regno = m_regno->text().trimmed();
    c.match = m_mode->currentIndex() == 1   ? SearchMatch::Contains
              : m_mode->currentIndex() == 2 ? SearchMatch::EndsWith
                                            : SearchMatch::BeginsWith;
    return c;
}

void StudentSearchForm::search()
{
    const SearchCriteria c = criteria();
    if (c.isEmpty())
        return;
    QWidget *from = focusWidget();
    try {
        const std::vector<SearchHit> hits = CandidateSearch(session()).find(c);
        fill(hits);
        if (hits.empty() && from)
            from->setFocus();
    } catch (const std::exception &e) {
        showError(e);
    }
}

void StudentSearchForm::fill(const std::vector<SearchHit> &hits)
{
    m_grid->clearRows();
    for (const SearchHit &hit : hits) {
        QList<QTableWidgetItem *> cells;
        for (const QString &text : {hit.regno, hit.name, hit.certno, hit.printedDate, hit.appno, hit.mobile, hit.email})
            cells << SpreadGrid::shownItem(text);
        cells << SpreadGrid::checkItem(hit.active, false);
        m_grid->appendRow(cells);
    }
    // Whole names and numbers: every column as wide as its longest text.
    m_grid->fitColumns();
    m_count->setText(hits.empty()
                         ? u"No candidates found"_s
                         : QString::number(hits.size()) + (hits.size() == 1 ? u" candidate"_s : u" candidates"_s));
}

bool StudentSearchForm::openInEntry(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return false;
    const QString regno = m_grid->item(row, RegNo)->text();
    auto *main = qobject_cast<MainWindow *>(window());
    if (!main)
        return false;
    main->openScreen(entryMenuCode());
    // The screen is found among the open ones: it becomes the active one only once its
    // window has been shown, after this returns.
    for (QMdiSubWindow *sub : main->mdiArea()->subWindowList()) {
        if (auto *entry = qobject_cast<StudentForm *>(sub->widget()))
            return entry->showCandidate(regno);
    }
    return false;
}

bool StudentSearchForm::boxKey(QWidget *, QKeyEvent *event)
{
    // Enter searches from any box, the match list too; Down and Up move as everywhere.
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    search();
    return true;
}

bool StudentSearchForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openInEntry(m_grid->currentRow());
            return true;
        }
    }
    return ChildForm::eventFilter(watched, event);
}

void StudentSearchForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        unload();
        return;
    }
    ChildForm::keyPressEvent(event);
}

} // namespace sw
