// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/sheetoutput.h"

#include "certificates/printing/invalidsheetfiles.h"
#include "shell/core/stoperror.h"
#include "shell/document/documentoutput.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace sw {

SheetOutput::~SheetOutput() = default;

void SheetOutput::preview(const Document &, const QString &, const QString &)
{
    throw StopError(u"This output shows no preview: preview the sheets in the preview window or into a folder."_s);
}

QString SheetOutput::spoiled(const QString &, const QString &) { return {}; }

PrinterOutput::PrinterOutput(QString printerName)
    : m_printer(std::move(printerName))
{
}

void PrinterOutput::ready() { documentoutput::checkPrinter(m_printer); }

void PrinterOutput::print(const Document &sheet, const QString &, const QString &)
{
    documentoutput::print(sheet, m_printer);
}

QString PrinterOutput::destination() const
{
    const QString name = m_printer.isEmpty() ? documentoutput::defaultPrinterName() : m_printer;
    return u"on the printer "_s + name;
}

FolderOutput::FolderOutput(QString folder, double previewDpi)
    : m_folder(std::move(folder))
    , m_dpi(previewDpi)
{
}

static QString sheetFileName(const QString &certNo, const QString &regno) { return certNo + u'_' + regno + u".pdf"_s; }

void FolderOutput::print(const Document &sheet, const QString &certNo, const QString &regno)
{
    QDir().mkpath(m_folder);
    const QString path = QDir(m_folder).filePath(sheetFileName(certNo, regno));
    documentoutput::writePdf(sheet, path);
    m_written << path;
}

QString FolderOutput::spoiled(const QString &certNo, const QString &regno)
{
    const QString path = QDir(m_folder).filePath(sheetFileName(certNo, regno));
    InvalidSheetFiles::Moved done;
    InvalidSheetFiles::moveIntoSubfolder(path, InvalidSheetFiles::Why::Spoiled, done);
    if (!done.moved.isEmpty())
        m_written.removeAll(path);
    return done.lines().join(u'\n');
}

void FolderOutput::preview(const Document &sheet, const QString &certNo, const QString &regno)
{
    m_written << documentoutput::writePng(sheet, m_folder, m_dpi, certNo + u'_' + regno);
}

QString FolderOutput::destination() const { return u"in the folder "_s + QDir::toNativeSeparators(m_folder); }

void PreviewSheets::print(const Document &, const QString &, const QString &)
{
    throw StopError(u"The preview prints nothing: print from the preview window."_s);
}

void PreviewSheets::preview(const Document &sheet, const QString &certNo, const QString &regno)
{
    m_sheets.push_back({sheet, certNo, regno});
}

} // namespace sw
