// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/nad/nadexportscreen.h"

#include "reports/nad/digilockerexport.h"
#include "reports/nad/nadexport.h"
#include "shell/workbook/workbook.h"
#include "shell/core/prompter.h"
#include "shell/session.h"

#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace sw {

NadExportScreen::NadExportScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"NADEXP"_s, u"NAD Export . . ."_s, parent)
{
    FieldFrame &f = fields();
    m_degreeFrom = addCode(0, u"From Degree"_s, 5);
    m_degreeFromName = f.addDescription(10, m_degreeFrom);
    m_degreeTo = addCode(3, u"To Degree"_s, 5);
    m_degreeToName = f.addDescription(13, m_degreeTo);
    m_collegeFrom = addCode(1, u"From College"_s, 4);
    m_collegeFromName = f.addDescription(11, m_collegeFrom);
    m_collegeTo = addCode(2, u"To College"_s, 4);
    m_collegeToName = f.addDescription(12, m_collegeTo);
    m_cdsl = addOption(0, u"&CDSL"_s);
    m_nsdl = addOption(1, u"&NSDL"_s);
    m_digiLocker = addOption(2, u"&DigiLocker"_s);
    for (QLineEdit *degree : {m_degreeFrom, m_degreeTo})
        setLookup(degree, [this] { return degreeLookup(); });
    for (QLineEdit *college : {m_collegeFrom, m_collegeTo})
        setLookup(college, [this] { return collegeLookup({}); });
}

ToolStates NadExportScreen::reportTools() const
{
    ToolStates s{};
    s[slot(Command::Preview)] = s[slot(Command::Exit)] = true;
    return s;
}

bool NadExportScreen::fieldLeft(QLineEdit *field)
{
    if (field == m_degreeFrom)
        return checkDegree(field, m_degreeFromName, false);
    if (field == m_degreeTo)
        return checkDegree(field, m_degreeToName, false);
    if (field == m_collegeFrom)
        describeCollege(field, m_collegeFromName);
    else if (field == m_collegeTo)
        describeCollege(field, m_collegeToName);
    return true;
}

NadSelection NadExportScreen::selection() const
{
    NadSelection s{m_degreeFrom->text(), m_degreeTo->text(), m_collegeFrom->text(), m_collegeTo->text()};
    s.normaliseRanges();
    return s;
}

bool NadExportScreen::generate()
{
    NadExport run(session());
    if (m_cdsl->isChecked()) {
        const QString path = run.defaultPath(true);
        run.Gen_NAD_Report_CDSL(selection(), path);
        m_lastOutput = path;
        const QString missing = run.missingMessage(path);
        if (!missing.isEmpty())
            prompter().message(missing, u"Message"_s, PromptIcon::Exclamation);
        showOutput(path);
    } else if (m_nsdl->isChecked()) {
        const std::optional<QString> answer = prompter().input(
            u"Do you want to generate the details for Pass students only?. Press Y for Yes, Esc for No"_s,
            u"NAD Export"_s, {});
        const QString path = run.defaultPath(false);
        run.Gen_NAD_Report_NSDL(answer.value_or(QString()) == u"Y"_s, path);
        m_lastOutput = path;
        showOutput(path);
    } else if (m_digiLocker->isChecked()) {
        const QString path = session().folder.outputPath(u"DigiLocker.zip"_s);
        const DigiLockerResult result = DigiLockerExport(session()).run(selection(), path);
        m_lastOutput = result.parts.value(0);
        prompter().showList(result.headline(), result.refusalLines(), u"NAD Export"_s,
                            result.refused.empty() ? PromptIcon::Information : PromptIcon::Exclamation);
    } else {
        prompter().message(u"Error in selection"_s, u"Message"_s, PromptIcon::Exclamation);
    }
    return false;
}

} // namespace sw
