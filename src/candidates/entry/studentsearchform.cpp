// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/studentsearchform.h"

#include "candidates/entry/gravetyping.h"
#include "candidates/entry/studentform.h"
#include "shell/core/session.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/ui/mdimainmenu.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

enum Column { RegNo, Name, CertNo, PrintedDate, AppNo, Mobile, Email, Active, ColumnCount };

constexpr int kRowHeight = 15;

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

StudentSearchForm::StudentSearchForm(const FormContext &context)
    : ChildForm(context, u"STUDSEARCH"_s, u"Search Students . . ."_s)
    , m_mode(new QComboBox(this))
    , m_grid(new QTableWidget(0, ColumnCount, this))
    , m_count(new QLabel(this))
{
    auto *boxes = new QGridLayout;
    m_mode->setObjectName(u"CMB"_s);
    m_mode->addItems({u"Begins with"_s, u"Contains"_s, u"Ends with!"_s});
    m_mode->setCurrentIndex(0);
    m_mode->installEventFilter(this);
    boxes->addWidget(m_mode, 0, 0, 1, 2);
    const QString captions[] = {u"Name"_s, u"Cert.no."_s, u"Online App.no."_s, u"Register no."_s};
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(captions[i], this);
        m_boxes[i] = new QLineEdit(this);
        m_boxes[i]->setObjectName(u"text_"_s + QString::number(i));
        label->setBuddy(m_boxes[i]);
        graveAccentTyping(m_boxes[i]);
        m_boxes[i]->installEventFilter(this);
        boxes->addWidget(label, i + 1, 0);
        boxes->addWidget(m_boxes[i], i + 1, 1);
    }
    boxes->setColumnStretch(1, 1);
    body()->addLayout(boxes);

    m_grid->setObjectName(u"spread"_s);
    m_grid->setHorizontalHeaderLabels({u"Reg. No."_s, u"Name"_s, u"Cert. No."_s, u"Printed Date"_s,
                                       u"Online App.no."_s, u"Mobile no."_s, u"E mail"_s, u"Active?"_s});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setMinimumSectionSize(kRowHeight);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
    m_grid->installEventFilter(this);
    // The window opens at its layout's size: room for the eight columns.
    m_grid->setMinimumSize(780, 300);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openInEntry(row); });
    body()->addWidget(m_grid, 1);
    m_count->setObjectName(u"lblCount"_s);
    body()->addWidget(m_count);
}

void StudentSearchForm::activated()
{
    // The screen only reads: of the toolbar, only Exit means anything here.
    ToolStates states{};
    states[slot(Command::Exit)] = true;
    commands().setToolStates(states);
    if (m_firstActivate) {
        m_firstActivate = false;
        m_boxes[0]->setFocus();
    }
}

QLineEdit *StudentSearchForm::text(int index) const
{
    return index >= 0 && index < 4 ? m_boxes[index] : nullptr;
}

SearchCriteria StudentSearchForm::criteria() const
{
    SearchCriteria c;
    c.name = m_boxes[0]->text().trimmed();
    c.certno = m_boxes[1]->text().trimmed();
    c.appno = m_boxes[2]->text().trimmed();
    c.regno = m_boxes[3]->text().trimmed();
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
    m_grid->setRowCount(0);
    m_grid->setRowCount(int(hits.size()));
    for (int row = 0; row < int(hits.size()); ++row) {
        const SearchHit &hit = hits[std::size_t(row)];
        const QString texts[] = {hit.regno, hit.name, hit.certno, hit.printedDate, hit.appno, hit.mobile, hit.email};
        for (int column = 0; column < Active; ++column)
            m_grid->setItem(row, column, cell(texts[column]));
        QTableWidgetItem *active = cell({});
        active->setCheckState(hit.active ? Qt::Checked : Qt::Unchecked);
        m_grid->setItem(row, Active, active);
    }
    m_grid->resizeColumnToContents(RegNo);
    m_count->setText(hits.empty() ? u"No candidates found"_s
                                  : QString::number(hits.size()) + (hits.size() == 1 ? u" candidate"_s : u" candidates"_s));
}

bool StudentSearchForm::openInEntry(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return false;
    const QString regno = m_grid->item(row, RegNo)->text();
    auto *main = qobject_cast<MdiMainMenu *>(window());
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

bool StudentSearchForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && watched == m_grid) {
            openInEntry(m_grid->currentRow());
            return true;
        }
        if (enter) {
            search();
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
