// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/reccert/recentcertificates.h"
#include "shell/forms/codegridform.h"

#include <vector>

namespace sw {

class ScreenRegistry;

// RECCERT: the certificates of the last designed-layout run in a grid `spread`
// ("Reg. No.", "Name", "Cert. No." and a "Take back" check column), shown as the
// screen opens. Edit (F5) lets the clerk tick the rows to take back; Save (F6) takes
// them back at once and says which.
class RecentCertificatesForm final : public CodeGridForm
{
    Q_OBJECT
public:
    explicit RecentCertificatesForm(const FormContext &context);

    void AEDproc(EditMode mode) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

    enum Column { RegNo, Name, CertNo, TakeBack };

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    void resetForm() override;
    bool headerComplete() override { return true; }
    bool startsEditing() const override { return false; }

private:
    void loadGrid();

    std::vector<RecentCertificates::Row> m_rows;
};

void registerRecentCertificatesScreens(ScreenRegistry &screens);

} // namespace sw
