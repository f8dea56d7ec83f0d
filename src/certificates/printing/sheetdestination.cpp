// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/sheetdestination.h"

#include "certificates/printing/sheetoutput.h"
#include "shell/core/dates.h"
#include "shell/core/inifile.h"
#include "shell/document/documentoutput.h"
#include "shell/session.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kSection = u"CERTPRINT"_s;

} // namespace

std::unique_ptr<SheetOutput> SheetDestination::output() const
{
    if (toFolder())
        return std::make_unique<FolderOutput>(folder);
    return std::make_unique<PrinterOutput>(printer);
}

SheetDestination SheetDestination::remembered(const Session &session)
{
    SheetDestination d;
    if (session.iniFile.isEmpty())
        return d;
    IniFile ini(session.iniFile);
    if (!ini.load())
        return d;
    d.printer = ini.value(kSection, u"PRINTER"_s);
    d.folder = ini.value(kSection, u"FOLDER"_s);
    return d;
}

bool SheetDestination::remember(const Session &session) const
{
    if (session.iniFile.isEmpty())
        return false;
    IniFile ini(session.iniFile);
    if (!ini.load())
        return false;
    ini.setValue(kSection, u"PRINTER"_s, printer);
    ini.setValue(kSection, u"FOLDER"_s, folder);
    return ini.save();
}

QString SheetDestination::rememberedIssueDate(const Session &session)
{
    if (session.iniFile.isEmpty())
        return {};
    IniFile ini(session.iniFile);
    if (!ini.load())
        return {};
    const QString date = ini.value(kSection, u"ISSUEDATE"_s).trimmed();
    return parseDmy(date).isValid() ? date : QString();
}

bool SheetDestination::rememberIssueDate(const Session &session, const QString &date)
{
    if (session.iniFile.isEmpty() || !parseDmy(date).isValid())
        return false;
    IniFile ini(session.iniFile);
    if (!ini.load())
        return false;
    ini.setValue(kSection, u"ISSUEDATE"_s, date.trimmed());
    return ini.save();
}

QStringList SheetDestination::printers()
{
    QStringList names = documentoutput::printerNames();
    const QString fallback = defaultPrinter();
    if (names.removeAll(fallback) > 0)
        names.prepend(fallback);
    return names;
}

QString SheetDestination::defaultPrinter() { return documentoutput::defaultPrinterName(); }

} // namespace sw
