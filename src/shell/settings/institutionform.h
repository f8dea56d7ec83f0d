// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/recordform.h"

#include <array>

class QCheckBox;
class QLineEdit;

namespace sw {

struct InstitutionDetails;

// "Control . . .": the institution's name and address for report headers, its
// contacts, the two signing authorities, the convocation date printed on the
// certificates and whether degree descriptions are printed in Kannada. There is one
// settings row: saving inserts it when the table is empty and rewrites it otherwise.
class InstitutionForm : public RecordForm
{
    Q_OBJECT
public:
    explicit InstitutionForm(const FormContext &context);

    void AEDproc(EditMode mode) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;

protected:
    std::optional<BoundSql> recordsetStatement() const override;

private:
    void show(const InstitutionDetails &details);

    QLineEdit *m_company, *m_phone, *m_fax, *m_email, *m_signingAuthority1, *m_signingAuthority2;
    std::array<QLineEdit *, 4> m_address{};
    QLineEdit *m_convocationDate;
    QCheckBox *m_degreeInKannada;
};

} // namespace sw
