// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/sheetoutput.h"

#include "shell/document/documentoutput.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace sw {

SheetOutput::~SheetOutput() = default;

PrinterOutput::PrinterOutput(QString printerName, QString previewFolder)
    : m_printer(std::move(printerName))
    , m_previewFolder(std::move(previewFolder))
{
}

void PrinterOutput::ready()
{
    documentoutput::checkPrinter(m_printer);
}

void PrinterOutput::print(const Document &sheet, const QString &, const QString &)
{
    documentoutput::print(sheet, m_printer);
}

void PrinterOutput::preview(const Document &sheet, const QString &certNo, const QString &regno)
{
    const QStringList pages = documentoutput::writePng(sheet, m_previewFolder, 100, certNo + u'_' + regno);
    if (!pages.isEmpty())
        documentoutput::showFile(pages.front());
}

FolderOutput::FolderOutput(QString folder, double previewDpi)
    : m_folder(std::move(folder))
    , m_dpi(previewDpi)
{
}

void FolderOutput::print(const Document &sheet, const QString &certNo, const QString &regno)
{
    QDir().mkpath(m_folder);
    const QString path = QDir(m_folder).filePath(certNo + u'_' + regno + u".pdf"_s);
    documentoutput::writePdf(sheet, path);
    m_written << path;
}

void FolderOutput::preview(const Document &sheet, const QString &certNo, const QString &regno)
{
    m_written << documentoutput::writePng(sheet, m_folder, m_dpi, certNo + u'_' + regno);
}

} // namespace sw
