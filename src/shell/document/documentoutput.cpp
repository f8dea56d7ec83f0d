// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/documentoutput.h"

#include "shell/core/stoperror.h"
#include "shell/document/documentrenderer.h"
#include "shell/document/pngencoder.h"

#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
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

void openForWriting(QSaveFile &file)
{
    if (!file.open(QIODevice::WriteOnly))
        throw StopError(u"The file "_s + file.fileName() + u" cannot be written: "_s + file.errorString() + u'.');
}

void commit(QSaveFile &file)
{
    if (!file.commit())
        throw StopError(u"The file "_s + file.fileName() + u" cannot be written: "_s + file.errorString() + u'.');
}

} // namespace

void writePdf(const Document &document, const QString &path)
{
    const DocumentRenderer renderer(document);
    QSaveFile file(path);
    openForWriting(file);
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(int(DocumentRenderer::kUnitsPerInch));
        pdf.setCreator(u"Scrollwise"_s);
        pdf.setPageLayout(pageLayout(document.page));
        QPainter painter;
        if (!painter.begin(&pdf))
            throw StopError(u"The PDF file "_s + path + u" cannot be started."_s);
        renderer.drawAll(painter, pdf);
        painter.end();
    }
    commit(file);
}

QStringList writePng(const Document &document, const QString &folder, double dotsPerInch, const QString &baseName)
{
    const DocumentRenderer renderer(document);
    if (!QDir().mkpath(folder))
        throw StopError(u"The folder "_s + folder + u" cannot be created."_s);
    QStringList written;
    for (int page = 0; page < renderer.pageCount(); ++page) {
        const QString path = QDir(folder).filePath(baseName + u'-' + QString::number(page + 1) + u".png"_s);
        const QByteArray png = encodePagePng(renderer.pageImage(page, dotsPerInch));
        QSaveFile file(path);
        openForWriting(file);
        file.write(png);
        commit(file);
        written << path;
    }
    return written;
}

QStringList printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QString defaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

void print(const Document &document, const QString &printerName)
{
    const QString name = printerName.isEmpty() ? defaultPrinterName() : printerName;
    if (name.isEmpty())
        throw StopError(u"There is no default printer: install a printer or name one."_s);
    if (!printerNames().contains(name))
        throw StopError(u"The printer \""_s + name + u"\" does not exist."_s);
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
    painter.end();
}

bool showFile(const QString &path)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == u"offscreen"_s || platform == u"minimal"_s)
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace sw::documentoutput
