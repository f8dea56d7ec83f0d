// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportoutput.h"

#include "reports/output/reportpaper.h"
#include "reports/output/reportpageheader.h"
#include "shell/core/inifile.h"
#include "shell/document/documentoutput.h"
#include "shell/document/fonttable.h"
#include "shell/session.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QString fixedPitchFamily() { return FontTable::drawnFamily(u"Lucida Console"_s); }

// A character's width and a line's height, as shares of the font's size.
struct FontShape
{
    double advance;
    double lineHeight;
};

FontShape fontShape(const QString &family)
{
    constexpr int kSize = 1200; // large, so that the metrics are the design's
    QFont font(family);
    font.setPixelSize(kSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(u'M') / kSize, metrics.lineSpacing() / kSize};
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
    const ReportPaper paper = ReportPaper::fitting(report);
    Document document;
    DocumentBuilder b(document);
    PageSetup &page = b.page();
    page.paperInches = paper.paperInches;
    page.landscape = paper.landscape;
    page.topInches = page.bottomInches = page.leftInches = page.rightInches = paper.marginInches;

    // The size at which the widest line and the longest page fit (a little to spare),
    // ten points at most; one report line is one paragraph.
    const QString family = fixedPitchFamily();
    const FontShape shape = fontShape(family);
    const QRectF body = page.bodyPoints();
    const double widthFit = body.width() / (std::max(1, paper.widestLine) * shape.advance);
    const double heightFit = body.height() / (std::max(1, paper.longestPage) * shape.lineHeight);
    b.setFont(family, std::min({10.0, widthFit * 0.98, heightFit * 0.98}));
    b.setLineSpacing(1.0);

    QStringList lines = report.text().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // what follows the last line's end
    for (QString line : lines) {
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
