// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/reccert/recentcertificatesform.h"

#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/forms/screenregistry.h"
#include "shell/session.h"

#include <QGroupBox>

using namespace Qt::StringLiterals;

namespace sw {

RecentCertificatesForm::RecentCertificatesForm(const FormContext &context)
    : CodeGridForm(context, u"RECCERT"_s, u"Recent Certificates . . ."_s,
                   {{u"Reg. No."_s, SpreadColumn::Kind::Text, u"Enter Reg. No., maximum length 10"_s},
                    {u"Name"_s},
                    {u"Cert. No."_s},
                    {u"Take back"_s, SpreadColumn::Kind::Check, u"Tick the certificates to take back"_s}})
{
    // The screen has no header: the grid is all it shows.
    frame()->hide();
    setFieldOrder(u"S0"_s);
}

std::optional<BoundSql> RecentCertificatesForm::recordsetStatement() const
{
    return RecentCertificates::browseStatement();
}

void RecentCertificatesForm::loadGrid()
{
    fillGrid([this] {
        m_rows = RecentCertificates(session()).load();
        for (const RecentCertificates::Row &row : m_rows)
            spread()->appendRow({SpreadGrid::shownItem(row.regno), SpreadGrid::shownItem(row.name),
                                 SpreadGrid::shownItem(row.certNo), SpreadGrid::checkItem(false, !browsing())});
    });
    // Only the designed layouts' runs fill the list: the count says so, so an empty list
    // after another layout's run is not taken for a lost run.
    setCount(QString::number(m_rows.size()) + u" certificates of the last run of a designed layout"_s);
    if (m_rows.empty())
        prompter().info(u"No records found"_s);
}

void RecentCertificatesForm::display_record(RecordSet &rows, const QString &)
{
    // The browse commands move the grid's cursor to the certificate `rsdisp` stands on.
    const QString certNo = rows.text(u"fcertno"_s).trimmed();
    for (int r = 0; r < spread()->rowCount(); ++r) {
        if (spread()->text(r, CertNo).trimmed() == certNo)
            spread()->setCurrentCell(r, RegNo);
    }
    setLegend(browsing() ? browseLegend() : editLegend());
}

void RecentCertificatesForm::resetForm()
{
    CodeGridForm::resetForm();
    // The list stays on the screen to be read: it is the last run's.
    spread()->setEnabled(true);
    loadGrid();
}

void RecentCertificatesForm::AEDproc(EditMode mode)
{
    if (mode == EditMode::Add) {
        prompter().info(u"The list holds the certificates of the last printing run; nothing is added here."_s);
        return;
    }
    setEditMode(mode);
    showOutcome({});
    setLegend(editLegend());
    for (int r = 0; r < spread()->rowCount(); ++r) {
        QTableWidgetItem *tick = spread()->item(r, TakeBack);
        tick->setFlags(tick->flags() | Qt::ItemIsUserCheckable);
    }
    openGrid(0, TakeBack);
}

void RecentCertificatesForm::CmdSave_Click()
{
    try {
        prepareSave();
        QStringList taken;
        for (int r = 0; r < int(m_rows.size()); ++r) {
            m_rows[size_t(r)].takeBack = spread()->ticked(r, TakeBack);
            if (m_rows[size_t(r)].takeBack)
                taken << m_rows[size_t(r)].certNo.trimmed();
        }
        const int cleared = RecentCertificates(session()).save(m_rows);
        rsdisp().requery(session().db());
        resetForm();
        showOutcome(taken.isEmpty()
                        ? u"Nothing ticked: nothing taken back"_s
                        : u"Took back %1 of %2 ticked (%3)"_s.arg(cleared).arg(taken.size()).arg(taken.join(u", "_s)));
    } catch (const StopError &e) {
        prompter().message(e.text(), e.title(), e.icon());
        showOutcome(u"Not saved"_s);
    } catch (const std::exception &e) {
        showError(e);
        resetForm();
        showOutcome(u"Not saved: the database refused the change"_s);
    }
}

void registerRecentCertificatesScreens(ScreenRegistry &screens)
{
    screens.add(u"N26"_s, {u"RECCERT"_s, false,
                           [](const FormContext &c, const QString &) { return new RecentCertificatesForm(c); }});
}

} // namespace sw
