// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/reccert/reccertform.h"

#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/core/stoperror.h"
#include "shell/forms/screenregistry.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

RecCertForm::RecCertForm(const FormContext &context)
    : RecordForm(context, u"RECCERT"_s, u"Recent Certificates . . ."_s)
    , m_spread(new QTableWidget(0, 4, frame()))
{
    m_spread->setObjectName(u"spread"_s);
    m_spread->setHorizontalHeaderLabels({u"Reg. No."_s, u"Name"_s, u"Cert. No."_s, u"Take back"_s});
    m_spread->horizontalHeader()->setStretchLastSection(true);
    m_spread->setToolTip(u"Enter Reg. No., maximum length 8"_s);
    frame()->layout()->addWidget(m_spread);
    registerField(u"S0"_s, m_spread);
    setFieldOrder(u"S0"_s);
}

std::optional<BoundSql> RecCertForm::recordsetStatement() const
{
    return BoundSql{u"select reccert.*, convo.fname from reccert, convo where convo.fregno = reccert.fregno "
            "order by reccert.fcertno"_s,
            {}};
}

void RecCertForm::fillGrid()
{
    setHint(u"Loading Please Wait ..."_s);
    m_rows = RecentCertificates(session()).load();
    m_spread->setRowCount(int(m_rows.size()));
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const RecentCertificates::Row &row = m_rows[r];
        const QString cells[] = {row.regno, row.name, row.certNo};
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_spread->setItem(r, c, item);
        }
        auto *check = new QTableWidgetItem;
        check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        check->setCheckState(Qt::Unchecked);
        m_spread->setItem(r, 3, check);
    }
    setHint({});
    m_loaded = true;
    if (m_rows.empty())
        prompter().info(u"No records found"_s);
}

void RecCertForm::display_record(RecordSet &, const QString &)
{
    if (!m_loaded)
        fillGrid();
    setLegend(browsing() ? browseLegend() : editLegend());
}

void RecCertForm::resetForm()
{
    RecordForm::resetForm();
    if (!m_loaded)
        fillGrid();
}

void RecCertForm::AEDproc(const QString &operation)
{
    if (operation == u"add"_s)
        return; // the list only holds what the last run printed
    setEditMode(operation == u"delete"_s ? u"D"_s : u"E"_s);
    frame()->setEnabled(true);
    enableFields(true);
    setLegend(editLegend());
    m_spread->setFocus();
}

void RecCertForm::CmdSave_Click()
{
    try {
        for (int r = 0; r < int(m_rows.size()); ++r)
            m_rows[r].takeBack = m_spread->item(r, 3)->checkState() == Qt::Checked;
        RecentCertificates(session()).save(m_rows);
        m_loaded = false;
        rsdisp().requery(session().db());
        resetForm();
    } catch (const StopError &e) {
        prompter().message(e.text(), e.title(), e.icon());
    } catch (const std::exception &e) {
        showError(e);
        resetForm();
    }
}

void registerRecentCertificatesScreens(ScreenRegistry &screens)
{
    screens.add(u"N26"_s, {u"RECCERT"_s, false, [](const FormContext &c, const QString &) {
                               return new RecCertForm(c);
                           }});
}

} // namespace sw
