// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/screens/reportscreen.h"

class QCheckBox;

namespace sw {

// Covering Letters . . .: the dispatch list of printed certificates per college (a
// text report), or the covering letters, check list and student letters as documents
// opened for the clerk (each also saved as PDF beside it).
class CoveringLettersScreen final : public ReportScreen
{
    Q_OBJECT
public:
    explicit CoveringLettersScreen(const FormContext &context, QWidget *parent = nullptr);

    QString lastOutput() const { return m_lastOutput; }

protected:
    bool generate() override;
    bool fieldLeft(QLineEdit *field) override;

private:
    QLineEdit *m_dateFrom, *m_dateTo;
    QCheckBox *m_ejectAtCollege, *m_collegeLetters, *m_checklist, *m_studentCopy;
    QString m_lastOutput;
};

} // namespace sw
