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
    addCode(0, u"From Degree"_s, 5, 10);
    addCode(3, u"To Degree"_s, 5, 13);
    addCode(1, u"From College"_s, 4, 11);
    addCode(2, u"To College"_s, 4, 12);
    addOption(0, u"&CDSL"_s);
    addOption(1, u"&NSDL"_s);
    addOption(2, u"&DigiLocker"_s);
    for (int i : {0, 3})
        setLookup(text(i), [this] { return degreeLookup(); });
    for (int i : {1, 2})
        setLookup(text(i), [this] { return collegeLookup({}); });
}

ToolStates NadExportScreen::reportTools() const
{
    ToolStates s{};
    s[slot(Command::Preview)] = s[slot(Command::Exit)] = true;
    return s;
}

bool NadExportScreen::fieldLeft(QLineEdit *field)
{
    for (int i : {0, 3}) {
        if (field == text(i))
            return checkDegree(text(i), text(10 + i), false);
    }
    for (int i : {1, 2}) {
        if (field == text(i))
            describeCollege(text(i), text(10 + i));
    }
    return true;
}

bool NadExportScreen::generate()
{
    NadExport run(session());
    if (opt(0)->isChecked()) {
        NadSelection s{text(0)->text(), text(3)->text(), text(1)->text(), text(2)->text()};
        s.normaliseRanges();
        const QString path = run.defaultPath(true);
        run.Gen_NAD_Report_CDSL(s, path);
        m_lastOutput = path;
        const QString missing = run.missingMessage(path);
        if (!missing.isEmpty())
            prompter().message(missing, u"Message"_s, PromptIcon::Exclamation);
        showOutput(path);
    } else if (opt(1)->isChecked()) {
        const std::optional<QString> answer = prompter().input(
            u"Do you want to generate the details for Pass students only?. Press Y for Yes, Esc for No"_s,
            u"NAD Export"_s, {});
        const QString path = run.defaultPath(false);
        run.Gen_NAD_Report_NSDL(answer.value_or(QString()) == u"Y"_s, path);
        m_lastOutput = path;
        showOutput(path);
    } else if (opt(2)->isChecked()) {
        NadSelection s{text(0)->text(), text(3)->text(), text(1)->text(), text(2)->text()};
        s.normaliseRanges();
        const QString path = session().folder.outputPath(u"DigiLocker.zip"_s);
        const DigiLockerResult result = DigiLockerExport(session()).run(s, path);
        m_lastOutput = result.parts.value(0);
        prompter().showList(result.headline(), result.refusalLines(), u"NAD Export"_s,
                            result.refused.empty() ? PromptIcon::Information : PromptIcon::Exclamation);
    } else {
        prompter().message(u"Error in selection"_s, u"Message"_s, PromptIcon::Exclamation);
    }
    return false;
}

} // namespace sw
