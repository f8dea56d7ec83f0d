// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/audit/frmaudit.h"
#include "shell/core/dates.h"

#include "shell/audit/audittrail.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/forms/screenregistry.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

void registerAuditScreens(ScreenRegistry &screens)
{
    screens.add(u"N48"_s, {u"FRMAUDIT"_s, false, [](const FormContext &c, const QString &) { return new FrmAudit(c); }});
}

FrmAudit::FrmAudit(const FormContext &context)
    : ChildForm(context, u"FRMAUDIT"_s, u"Audit Trail . . ."_s)
    , m_from(new QLineEdit(this))
    , m_to(new QLineEdit(this))
    , m_user(new QLineEdit(this))
    , m_what(new QComboBox(this))
    , m_show(new QPushButton(u"&Show"_s, this))
    , m_grid(new QTableWidget(0, 9, this))
{
    const QString today = formatDmy(QDate::currentDate());
    for (QLineEdit *date : {m_from, m_to}) {
        date->setInputMask(u"99/99/9999;_"_s);
        date->setText(today);
        date->setFixedWidth(100);
    }
    m_from->setObjectName(u"mskdt_0"_s);
    m_to->setObjectName(u"mskdt_1"_s);
    m_user->setObjectName(u"text_0"_s);
    m_user->setMaxLength(50);
    m_what->setObjectName(u"cmbwhat"_s);
    m_what->addItems({u"(all)"_s, u"login"_s, u"users"_s, u"masters"_s, u"settings"_s, u"certificates"_s, u"restore"_s,
                      u"upgrade"_s});
    m_show->setObjectName(u"cmdshow"_s);
    m_grid->setObjectName(u"spread"_s);
    m_grid->setHorizontalHeaderLabels({u"When"_s, u"User"_s, u"Workstation"_s, u"What"_s, u"Action"_s, u"Table"_s,
                                       u"Key"_s, u"Old values"_s, u"New values"_s});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);

    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel(u"From"_s, this));
    filters->addWidget(m_from);
    filters->addWidget(new QLabel(u"To"_s, this));
    filters->addWidget(m_to);
    filters->addWidget(new QLabel(u"User"_s, this));
    filters->addWidget(m_user);
    filters->addWidget(new QLabel(u"What"_s, this));
    filters->addWidget(m_what);
    filters->addWidget(m_show);
    filters->addStretch();
    body()->addLayout(filters);
    addGrowing(m_grid);
    connect(m_show, &QPushButton::clicked, this, &FrmAudit::show_Click);
    connect(m_user, &QLineEdit::returnPressed, this, &FrmAudit::show_Click);
}

void FrmAudit::activated()
{
    if (!m_firstActivate)
        return;
    m_firstActivate = false;
    setHint(u"Audit trail of logins and changes"_s);
    show_Click();
}

void FrmAudit::show_Click()
{
    AuditTrail::Filter filter;
    const std::pair<QLineEdit *, QDate *> dates[] = {{m_from, &filter.from}, {m_to, &filter.to}};
    for (const auto &[box, date] : dates) {
        *date = parseDmy(box->text());
        if (!date->isValid()) {
            prompter().message(u"\""_s + box->text() + u"\" is not a date (dd/mm/yyyy)"_s, u"Message"_s,
                               PromptIcon::Exclamation);
            box->setFocus();
            return;
        }
    }
    filter.user = m_user->text().trimmed().toUpper();
    filter.what = m_what->currentIndex() > 0 ? m_what->currentText() : QString();
    try {
        const auto lines = AuditTrail(session().db()).lines(filter);
        m_grid->setRowCount(int(lines.size()));
        for (int row = 0; row < int(lines.size()); ++row) {
            const AuditTrail::Line &l = lines[size_t(row)];
            const QString cells[] = {l.when,         l.user,         l.workstation, l.entry.what,   l.entry.action,
                                     l.entry.table, l.entry.key, l.entry.oldValue, l.entry.newValue};
            for (int column = 0; column < 9; ++column)
                m_grid->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        m_grid->resizeColumnsToContents();
        showOutcome(QString::number(lines.size()) + u" line(s)"_s);
    } catch (const std::exception &e) {
        showError(e);
    }
}

} // namespace sw
