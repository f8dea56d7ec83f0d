// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportpaper.h"

#include "reports/output/reportpreview.h"
#include "shell/document/document.h"

#include <cmath>
#include <span>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The widest report that still goes on A4 portrait: the ledger.
constexpr int kWidestOnA4 = 120;
constexpr double kCharacterPitches[] = {10, 12, 15, 17, 20};
constexpr double kLinePitches[] = {6, 8};

// Whole characters (or lines) of `pitch` to the inch in `points`, as the text filter counts them.
int fitted(double points, double pitch) { return int(points / kPointsPerInch * pitch); }

double pitchFor(int needed, double points, std::span<const double> usual)
{
    for (double pitch : usual) {
        if (fitted(points, pitch) >= needed)
            return pitch;
    }
    double pitch = std::ceil(needed / (points / kPointsPerInch) * 10) / 10;
    while (fitted(points, pitch) < needed)
        pitch += 0.1;
    return pitch;
}

QString number(double value) { return QString::number(value, 'g', 4); }

} // namespace

ReportPaper ReportPaper::fitting(const ReportPreview &report)
{
    ReportPaper paper;
    QStringList lines = report.text().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // what follows the last line's end
    int onPage = 0;
    for (const QString &line : lines) {
        ++onPage;
        paper.widestLine = std::max(paper.widestLine, int(line.size() - line.count(QChar(12))));
        if (line.contains(QChar(12))) {
            // The line the form feed stands on is the page's last; what follows it on
            // that line (usually nothing) is the first line of the next page.
            paper.longestPage = std::max(paper.longestPage, onPage);
            onPage = 1;
        }
    }
    paper.longestPage = std::max(paper.longestPage, onPage);

    paper.landscape = paper.widestLine > kWidestOnA4;
    paper.paperInches = paper.landscape ? PageSetup::legal() : PageSetup::a4();
    const QSizeF page = paper.pagePoints();
    const double margins = 2 * paper.marginInches * kPointsPerInch;
    paper.charactersPerInch = pitchFor(paper.widestLine, page.width() - margins, kCharacterPitches);
    paper.linesPerInch = pitchFor(paper.longestPage, page.height() - margins, kLinePitches);
    return paper;
}

QSizeF ReportPaper::pagePoints() const
{
    const QSizeF inches = landscape ? paperInches.transposed() : paperInches;
    return {double(qRound(inches.width() * kPointsPerInch)), double(qRound(inches.height() * kPointsPerInch))};
}

QStringList ReportPaper::printOptions() const
{
    const QString margin = number(marginInches * kPointsPerInch);
    QStringList options = {u"media="_s + (landscape ? u"Legal"_s : u"A4"_s)};
    if (landscape)
        options << u"landscape"_s;
    options << u"cpi="_s + number(charactersPerInch) << u"lpi="_s + number(linesPerInch);
    for (const QString &side : {u"left"_s, u"right"_s, u"top"_s, u"bottom"_s})
        options << u"page-"_s + side + u'=' + margin;
    return options;
}

} // namespace sw
