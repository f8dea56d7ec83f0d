// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/documentoutput.h"

#include "shell/core/filewrite.h"
#include "shell/core/stoperror.h"
#include "shell/document/documentrenderer.h"
#include "shell/document/pdfsplit.h"
#include "shell/document/pngencoder.h"
#include "shell/document/sharedoutlines.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace sw::documentoutput {

namespace {

QPageLayout pageLayout(const PageSetup &setup)
{
    // The paper size matched to a standard one when it is one (A4 given as 8.27 x 11.69 in).
    const QPageSize size(setup.paperInches, QPageSize::Inch, {}, QPageSize::FuzzyMatch);
    return QPageLayout(size, setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

} // namespace

void writePdf(const Document &document, const QString &path)
{
    // Composed in memory first, so the file is written whole or not at all.
    writeWholeFile(path, pdfOf({&document}));
}

namespace {

// The documents drawn one after another into one PDF as Qt writes it, Kannada outlines
// as `outlines`' markers.
QByteArray drawPdf(const std::vector<const Document *> &documents, std::vector<int> &pageCounts,
                   SharedOutlines &outlines)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(int(DocumentRenderer::kUnitsPerInch));
        pdf.setCreator(u"Scrollwise"_s);
        if (!documents.empty())
            pdf.setPageLayout(pageLayout(documents.front()->page));
        QPainter painter;
        if (!painter.begin(&pdf))
            throw StopError(u"A PDF document cannot be started."_s);
        bool first = true;
        for (const Document *document : documents) {
            const DocumentRenderer renderer(*document);
            pageCounts.push_back(renderer.pageCount());
            for (int page = 0; page < renderer.pageCount(); ++page) {
                if (!first) {
                    pdf.setPageLayout(pageLayout(document->page));
                    pdf.newPage();
                }
                first = false;
                renderer.drawPage(painter, page, pdf.logicalDpiX(), &outlines);
            }
        }
        painter.end();
    }
    return bytes;
}

} // namespace

QByteArray pdfOf(const std::vector<const Document *> &documents, std::vector<int> *pageCounts)
{
    SharedOutlines outlines;
    std::vector<int> counts;
    const QByteArray bytes = drawPdf(documents, counts, outlines);
    if (pageCounts)
        *pageCounts = counts;
    return outlines.empty() ? bytes : outlines.apply(bytes);
}

std::vector<QByteArray> pdfsOf(const std::vector<const Document *> &documents)
{
    if (documents.size() == 1)
        return {pdfOf(documents)};
    SharedOutlines outlines;
    std::vector<int> counts;
    const QByteArray joined = drawPdf(documents, counts, outlines);
    return splitPdf(joined, counts, outlines);
}

QStringList writePng(const Document &document, const QString &folder, double dotsPerInch, const QString &baseName)
{
    const DocumentRenderer renderer(document);
    if (!QDir().mkpath(folder))
        throw StopError(u"The folder "_s + folder + u" cannot be created."_s);
    QStringList written;
    for (int page = 0; page < renderer.pageCount(); ++page) {
        const QString path = QDir(folder).filePath(baseName + u'-' + QString::number(page + 1) + u".png"_s);
        writeWholeFile(path, encodePagePng(renderer.pageImage(page, dotsPerInch)));
        written << path;
    }
    return written;
}

QStringList printerNames() { return QPrinterInfo::availablePrinterNames(); }

QString defaultPrinterName() { return QPrinterInfo::defaultPrinterName(); }

QString checkPrinter(const QString &printerName)
{
    const QString name = printerName.isEmpty() ? defaultPrinterName() : printerName;
    if (name.isEmpty())
        throw StopError(u"There is no default printer: install a printer or name one."_s);
    if (!printerNames().contains(name))
        throw StopError(u"The printer \""_s + name + u"\" does not exist."_s);
    return name;
}

void print(const Document &document, const QString &printerName)
{
    const QString name = checkPrinter(printerName);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    printer.setDocName(u"Scrollwise"_s);
    print(document, printer);
}

void print(const Document &document, QPrinter &printer)
{
    const DocumentRenderer renderer(document);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(document.page));
    QPainter painter;
    if (!painter.begin(&printer))
        throw StopError(u"The printer \""_s + printer.printerName() + u"\" cannot be started."_s);
    renderer.drawAll(painter, printer);
    // The job is handed to the printing system when the painter ends: only then is the sheet out.
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw StopError(u"The printer \""_s + printer.printerName() + u"\" did not accept the sheet."_s);
}

bool showFile(const QString &path)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == u"offscreen"_s || platform == u"minimal"_s)
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace sw::documentoutput
