// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/reccert/recentcertificates.h"
#include "shell/forms/recordform.h"

#include <vector>

class QTableWidget;

namespace sw {

class ScreenRegistry;

// RECCERT: the certificates of the last designed-layout run in a grid `spread`
// ("Reg. No.", "Name", "Cert. No." and a "Take back" check column). Edit (F5)
// lets the clerk tick the rows to take back; Save (F6) takes them back at once.
class RecCertForm final : public RecordForm
{
    Q_OBJECT
public:
    explicit RecCertForm(const FormContext &context);

    void AEDproc(const QString &operation) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    QTableWidget *spread() const { return m_spread; }

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    void resetForm() override;

private:
    void fillGrid();

    QTableWidget *m_spread;
    std::vector<RecentCertificates::Row> m_rows;
    bool m_loaded = false;
};

void registerRecentCertificatesScreens(ScreenRegistry &screens);

} // namespace sw
