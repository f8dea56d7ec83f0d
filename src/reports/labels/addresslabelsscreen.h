// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/screens/reportscreen.h"

class QCheckBox;

namespace sw {

// Address on Envelopes . . .: the address labels of printed certificates, opened for
// the clerk to print on label stock (also saved as PDF beside the document).
class AddressLabelsScreen final : public ReportScreen
{
    Q_OBJECT
public:
    explicit AddressLabelsScreen(const FormContext &context, QWidget *parent = nullptr);

    QString lastOutput() const { return m_lastOutput; }

protected:
    bool generate() override;
    bool fieldLeft(QLineEdit *field) override;

private:
    QLineEdit *m_certFrom, *m_certTo, *m_dateFrom, *m_dateTo;
    QCheckBox *m_tatkalOnly, *m_postOnly;
    QString m_lastOutput;
};

} // namespace sw
