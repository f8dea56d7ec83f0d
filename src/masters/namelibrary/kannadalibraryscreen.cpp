// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/namelibrary/kannadalibraryscreen.h"

#include "masters/namelibrary/namelibrary.h"
#include "masters/recordmasters/recordmasterform.h"
#include "shell/core/legacytext.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/kannadabox.h"
#include "shell/session.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The widths of kanlib's columns.
constexpr int kWordWidth = 50;

} // namespace

KannadaLibraryScreen::KannadaLibraryScreen(const FormContext &context)
    : ChildForm(context, u"AUTOCORRECT"_s, u"Kannada Library . . ."_s)
    , m_fields(addFieldFrame())
    , m_spread(new QTableWidget(0, 2, this))
    , m_ok(new QPushButton(u"&OK"_s))
    , m_cancel(new QPushButton(u"&Cancel"_s))
{
    m_english = m_fields->addText(0, u"English"_s, u"The English name word"_s, kWordWidth);
    m_english->setFont(QFont(u"MS Sans Serif"_s));
    m_kannada = m_fields->addText(1, u"Kannada"_s, u"Its Kannada spelling"_s, kWordWidth);
    m_fields->keepCase(m_kannada); // the legacy font's codes are not letters to upper-case
    m_ok->setObjectName(u"cmd_0"_s);
    m_ok->setToolTip(u"Stores the word and its spelling; Enter presses it"_s);
    m_cancel->setObjectName(u"cmd_1"_s);
    auto *row = new QWidget;
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    m_fields->addField(u"R0"_s, {}, row);
    m_fields->registerField(u"B0"_s, m_ok);
    m_fields->setFieldOrder(u"T0,T1,B0"_s);

    m_spread->setObjectName(u"spread"_s);
    m_spread->setHorizontalHeaderLabels({u"English"_s, u"Kannada"_s});
    m_spread->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_spread->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_spread->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_spread->setMinimumHeight(300);
    m_spread->installEventFilter(this);
    addGrowing(m_spread);

    connect(m_ok, &QPushButton::clicked, this, [this] { cmd_Click(0); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { cmd_Click(1); });
    connect(m_spread, &QTableWidget::cellClicked, this, [this] { takeActiveRow(); });
}

void KannadaLibraryScreen::activated()
{
    commands().setToolMode(ToolMode::Disabled);
    // The appearance gives every box the screen's font; the Kannada ones take theirs back.
    KannadaBox::attach(m_kannada, RecordMasterForm::kannadaFont(), 13);
    KannadaBox::showColumn(m_spread, 1, RecordMasterForm::kannadaFont(), 13);
    growWindowToFit();
    reload();
    if (m_firstActivate) {
        m_firstActivate = false;
        m_fields->focusFirst();
    }
}

void KannadaLibraryScreen::takeActiveRow()
{
    const int row = m_spread->currentRow();
    if (row < 0 || !m_spread->item(row, 0))
        return;
    m_english->setText(m_spread->item(row, 0)->text());
    m_kannada->setText(m_spread->item(row, 1) ? m_spread->item(row, 1)->text() : QString());
}

void KannadaLibraryScreen::reload()
{
    try {
        const auto entries = NameLibrary(session().db()).entries();
        m_spread->setRowCount(int(entries.size()));
        for (int row = 0; row < int(entries.size()); ++row) {
            const NameLibrary::Entry &e = entries[size_t(row)];
            m_spread->setItem(row, 0, new QTableWidgetItem(e.english));
            m_spread->setItem(row, 1, new QTableWidgetItem(e.kannada)); // drawn by its column's Kannada delegate
        }
        if (!entries.empty())
            m_spread->setCurrentCell(0, 0);
    } catch (const std::exception &e) {
        showError(e);
    }
}

void KannadaLibraryScreen::cmd_Click(int index)
{
    if (index == 1) {
        unload();
        return;
    }
    store();
}

void KannadaLibraryScreen::store()
{
    // The English word is a name word: an apostrophe in it becomes a grave accent as
    // everywhere names are typed. The Kannada bytes are kept as they are.
    const QString english = legacytext::graveApostrophes(NameLibrary::trimBlanks(m_english->text()));
    const QString kannada = NameLibrary::trimBlanks(KannadaBox::storedText(m_kannada));
    if (english.isEmpty() || kannada.isEmpty()) {
        showOutcome(u"Nothing stored"_s);
        m_fields->refuse(english.isEmpty() ? m_english : m_kannada, u"Replace or With fields should be Entered"_s,
                         PromptIcon::Information);
        return;
    }
    try {
        NameLibrary library(session().db());
        WriteScope scope(session().db());
        if (!library.contains(english)) {
            library.add(english, kannada);
            showOutcome(u"Stored "_s + english);
        } else if (prompter().ask(u"This Code already exist. Do you want to replace old one"_s, u"Message"_s,
                                  PromptIcon::Information, PromptButtons::YesNo, PromptAnswer::No)
                   == PromptAnswer::Yes) {
            library.replace(english, kannada);
            showOutcome(u"Replaced the spelling of "_s + english);
        } else {
            showOutcome(english + u" keeps its spelling"_s);
        }
        scope.commit();
    } catch (const std::exception &e) {
        showOutcome(u"Nothing stored"_s);
        showError(e);
    }
    reload();
    // The next word is typed over this one.
    m_fields->returnFocusTo(m_english);
}

void KannadaLibraryScreen::deleteActiveRow()
{
    const int row = m_spread->currentRow();
    if (row < 0 || !m_spread->item(row, 0))
        return;
    if (prompter().ask(u"Are you sure?"_s, u"Message"_s, PromptIcon::Information, PromptButtons::YesNo,
                       PromptAnswer::No)
        != PromptAnswer::Yes)
        return;
    const QString english = NameLibrary::trimBlanks(m_spread->item(row, 0)->text());
    try {
        NameLibrary(session().db()).remove(english);
        showOutcome(u"Deleted "_s + english);
    } catch (const std::exception &e) {
        showError(e);
    }
    reload();
    if (m_spread->rowCount() > 0)
        m_spread->setCurrentCell(qMin(row, m_spread->rowCount() - 1), 0);
}

bool KannadaLibraryScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_spread && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Delete) {
            deleteActiveRow();
            return true;
        }
        // Enter takes the row's word to the boxes, to correct its spelling.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            takeActiveRow();
            m_fields->returnFocusTo(m_kannada);
            return true;
        }
    }
    return ChildForm::eventFilter(watched, event);
}

} // namespace sw
