// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/audit/audittrailscreen.h"

#include "shell/audit/audittrail.h"
#include "shell/core/dates.h"
#include "shell/core/prompter.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/screenregistry.h"
#include "shell/session.h"
#include "shell/users/userstore.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

void registerAuditScreens(ScreenRegistry &screens)
{
    screens.add(u"N48"_s,
                {u"FRMAUDIT"_s, false, [](const FormContext &c, const QString &) { return new AuditTrailScreen(c); }});
}

AuditTrailScreen::AuditTrailScreen(const FormContext &context)
    : ChildForm(context, u"FRMAUDIT"_s, u"Audit Trail . . ."_s)
    , m_fields(addFieldFrame())
    , m_what(new QComboBox)
    , m_show(new QPushButton(u"&Show"_s))
    , m_grid(new QTableWidget(0, 9, this))
{
    FieldFrame &f = *m_fields;
    const QString today = formatDmy(QDate::currentDate());
    m_from = f.addDate(0, u"From"_s, u"The first day of the lines, dd/mm/yyyy"_s);
    m_to = f.addDate(1, u"To"_s, u"The last day of the lines, dd/mm/yyyy"_s);
    f.moveBeside(m_to, m_from);
    for (QLineEdit *date : {m_from, m_to}) {
        date->setText(today);
        f.setCheck(date, [this, date] { return checkDate(date); });
    }
    m_user =
        f.addText(0, u"User"_s, u"The user whose lines are shown, all when empty, F1-Help"_s, UserStore::kNameWidth);
    f.setLookup(m_user, [this] { return UserStore::lookup(session().db(), true); });
    m_what->setObjectName(u"cmbwhat"_s);
    m_what->setToolTip(u"The kind of lines shown"_s);
    m_what->addItems({u"(all)"_s, u"login"_s, u"users"_s, u"masters"_s, u"settings"_s, u"certificates"_s, u"imports"_s,
                      u"restore"_s, u"upgrade"_s});
    f.addField(u"W0"_s, u"What"_s, m_what);
    f.moveBeside(m_what, m_user);
    m_show->setObjectName(u"cmdshow"_s);
    m_show->setDefault(true);
    m_show->setToolTip(u"Shows the lines chosen; Enter presses it"_s);
    f.addField(u"B0"_s, {}, m_show);
    f.moveBeside(m_show, m_what);
    f.setFieldOrder(u"M0,M1,T0,W0,B0"_s);

    m_grid->setObjectName(u"spread"_s);
    m_grid->setHorizontalHeaderLabels({u"When"_s, u"User"_s, u"Workstation"_s, u"What"_s, u"Action"_s, u"Table"_s,
                                       u"Key"_s, u"Old values"_s, u"New values"_s});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    addGrowing(m_grid);
    connect(m_show, &QPushButton::clicked, this, &AuditTrailScreen::show_Click);
}

bool AuditTrailScreen::checkDate(QLineEdit *box)
{
    if (parseDmy(box->text()).isValid())
        return true;
    m_fields->refuse(box, u"\""_s + box->text() + u"\" is not a date (dd/mm/yyyy)"_s);
    return false;
}

void AuditTrailScreen::activated()
{
    if (!m_firstActivate)
        return;
    m_firstActivate = false;
    show_Click();
    m_fields->focusFirst();
}

void AuditTrailScreen::show_Click()
{
    AuditTrail::Filter filter;
    for (QLineEdit *box : {m_from, m_to}) {
        if (!checkDate(box)) {
            showOutcome(u"Not shown: a date is wrong"_s);
            return;
        }
    }
    filter.from = parseDmy(m_from->text());
    filter.to = parseDmy(m_to->text());
    filter.user = m_user->text().trimmed().toUpper();
    filter.what = m_what->currentIndex() > 0 ? m_what->currentText() : QString();
    try {
        const auto lines = AuditTrail(session().db()).lines(filter);
        m_grid->setRowCount(int(lines.size()));
        for (int row = 0; row < int(lines.size()); ++row) {
            const AuditTrail::Line &l = lines[size_t(row)];
            const QString cells[] = {l.when,        l.user,      l.workstation,    l.entry.what,    l.entry.action,
                                     l.entry.table, l.entry.key, l.entry.oldValue, l.entry.newValue};
            for (int column = 0; column < 9; ++column)
                m_grid->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        m_grid->resizeColumnsToContents();
        showOutcome(QString::number(lines.size()) + u" line(s) shown"_s);
    } catch (const std::exception &e) {
        showError(e);
    }
}

} // namespace sw
