// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportoutput.h"

#include "shell/common/reportpageheader.h"
#include "shell/core/inifile.h"
#include "shell/core/session.h"
#include "shell/document/documentoutput.h"

#include <QFontDatabase>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Width of one character of a fixed-pitch font, as a share of its size.
constexpr double kCharacterWidthEm = 0.602;

QString fixedPitchFamily()
{
    for (const QString &family : {u"Lucida Console"_s, u"DejaVu Sans Mono"_s, u"Liberation Mono"_s}) {
        if (QFontDatabase::hasFamily(family))
            return family;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

} // namespace

PageHeaderSource institutionPageHeader(const Session &session)
{
    const ReportPageHeader header = ReportPageHeader::read(session.db(), session.folder);
    return [header](int lineWidth, int page) {
        int before = page - 1; // the header counts the page itself
        return header.lines(lineWidth, before);
    };
}

Document reportDocument(const ReportPreview &report)
{
    Document document;
    DocumentBuilder b(document);
    PageSetup &page = b.page();
    page.topInches = page.bottomInches = page.leftInches = page.rightInches = 0.5;

    QStringList lines = report.text().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // what follows the last line's end
    qsizetype widest = 80;
    for (const QString &line : lines)
        widest = std::max(widest, line.size());
    const double usable = page.bodyPoints().width();
    const double size = std::min(10.0, usable / (double(widest) * kCharacterWidthEm) * 0.98);
    b.setFont(fixedPitchFamily(), size);
    b.setLineSpacing(1.0);
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.contains(QChar(12))) {
            // The form feed starts the next sheet of paper.
            b.pageBreak();
            line.remove(QChar(12));
            if (line.isEmpty())
                continue;
        }
        b.type(line.isEmpty() ? u" "_s : line);
        b.endParagraph();
    }
    return document;
}

void printReportThroughDocumentPrinter(const QString &reportFile, const QString &printer)
{
    documentoutput::print(reportDocument(ReportPreview::load(reportFile)), printer);
}

void writeReportPdf(const QString &reportFile, const QString &pdfPath)
{
    documentoutput::writePdf(reportDocument(ReportPreview::load(reportFile)), pdfPath);
}

ReportPrinting reportPrinting(const Session &session)
{
    ReportPrinting printing;
    IniFile ini(session.iniFile);
    if (!session.iniFile.isEmpty() && ini.load())
        printing.printer = ini.value(u"APATH"_s, u"PRINTER"_s).trimmed();
    printing.throughDocumentPrinter = printReportThroughDocumentPrinter;
    return printing;
}

} // namespace sw
