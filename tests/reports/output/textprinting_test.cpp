// SPDX-License-Identifier: GPL-3.0-or-later
// Text reports on paper, as the clerk prints them from the preview: "&DOS" hands the
// file to CUPS's lp, here through a queue of the test's own scheduler that typesets
// text into a PDF with CUPS's text filter; "&Windows" draws it with the document
// printer, here its PDF. Both are read back with pdftotext: every line whole on one
// line of paper, one sheet for each page of the report.
#include "reports/output/reportoutput.h"
#include "reports/output/reportspooler.h"
#include "reports/output/reportwriter.h"
#include "reports/output/reportpageheader.h"
#include "support/cupsqueue.h"
#include "support/pdftext.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The shape of one kind of report: its line width, how long its detail lines are,
// and how many row lines a page takes before the form feed.
struct ReportShape
{
    const char *name;
    int lineWidth;
    int detailWidth;
    int linesPerPage;
    int titles;
    // The paper it comes out on: its short and long sides in points.
    int paperShort;
    int paperLong;
};

void PrintTo(const ReportShape &shape, std::ostream *os) { *os << shape.name; }

const ReportShape kShapes[] = {
    {"printed_list_80_columns", 80, 80, 45, 2, 595, 842},
    // The student, printed, cancelled and activated lists lay their detail lines out
    // 81 or 82 characters long in reports of 80 columns: the print must take them whole.
    {"student_list_82_character_lines_in_80_columns", 80, 82, 45, 5, 595, 842},
    {"summary_50_lines_a_page", 80, 80, 50, 3, 595, 842},
    {"ledger_120_columns", 120, 120, 25, 3, 595, 842},
    {"wide_132_columns_on_legal_landscape", 132, 132, 45, 2, 612, 1008},
};

class TextPrintingTest : public ::testing::TestWithParam<ReportShape>
{
protected:
    // Writes two and a half pages of the shape's report and returns its text.
    QString writeReport()
    {
        const ReportShape &shape = GetParam();
        sw::ReportLayout layout;
        layout.lineWidth = shape.lineWidth;
        layout.linesPerPage = shape.linesPerPage;
        for (int t = 1; t <= shape.titles; ++t)
            layout.titles << u"TITLE LINE "_s + QString::number(t);
        layout.headings = {u"Sl.  Reg.        Student"_s, u"No.  No.         Name"_s};
        const sw::ReportPageHeader institution(u"VARADA UNIVERSITY"_s, u"VIDYA NAGAR, SUVARNAPURA - 599 001"_s);
        sw::ReportWriter writer(m_report, layout, [&institution](int width, int page) {
            int before = page - 1;
            return institution.lines(width, before);
        });
        const int rows = shape.linesPerPage * 5 / 2;
        for (int i = 1; i <= rows; ++i) {
            // A line that ends in a mark: wrapped, the mark would stand on a line of its own.
            const QString line = sw::reportline::number(i, 3) + u"  R"_s + QString::number(100000 + i) + u"  "_s;
            writer.writeRow(line + QString(shape.detailWidth - int(line.size()) - 1, QChar(u'A' + i % 26)) + u'|');
        }
        writer.finish();
        QFile f(m_report);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromLatin1(f.readAll()).remove(u'\r');
    }

    // The non-blank lines of each page, blanks squeezed (pdftotext lays columns out
    // with blanks of its own choosing).
    static QList<QStringList> pagesOf(const QString &text)
    {
        QList<QStringList> pages;
        for (const QString &page : text.split(QChar(12))) {
            QStringList lines;
            for (const QString &line : page.split(u'\n')) {
                if (!line.trimmed().isEmpty())
                    lines << line.simplified();
            }
            pages << lines;
        }
        while (!pages.isEmpty() && pages.last().isEmpty())
            pages.removeLast();
        return pages;
    }

    // The first sheet's short and long sides, in whole points (a landscape page may
    // lie either way round, turned by the page's rotation).
    static QSize pdfPaper(const QString &pdf)
    {
        QProcess p;
        p.start(u"pdfinfo"_s, {pdf});
        p.waitForFinished(30000);
        const QString info = QString::fromUtf8(p.readAllStandardOutput());
        const auto size = QRegularExpression(u"Page size:\\s+([\\d.]+) x ([\\d.]+)"_s).match(info);
        const int width = qRound(size.captured(1).toDouble());
        const int height = qRound(size.captured(2).toDouble());
        return {std::min(width, height), std::max(width, height)};
    }

    void expectPrintedLineForLine(const QString &report, const QString &pdf)
    {
        const ReportShape &shape = GetParam();
        const QList<QStringList> expected = pagesOf(report);
        const QList<QStringList> printed = pagesOf(sw::test::pdfLayoutText(pdf));
        // One sheet for each page of the report: the form feeds and one more.
        EXPECT_EQ(printed.size(), report.count(QChar(12)) + 1);
        ASSERT_EQ(printed.size(), expected.size());
        for (qsizetype page = 0; page < expected.size(); ++page)
            EXPECT_EQ(printed[page], expected[page]) << "page " << page + 1;
        const QSize paper = pdfPaper(pdf);
        EXPECT_NEAR(paper.width(), shape.paperShort, 1);
        EXPECT_NEAR(paper.height(), shape.paperLong, 1);
    }

    QTemporaryDir m_dir;
    QString m_report = m_dir.filePath(u"REP001.Prn"_s);
};

TEST_P(TextPrintingTest, DosPrintingThroughCupsKeepsEveryLineAndPageWhole)
{
    sw::test::CupsQueue queue;
    if (!sw::test::cupsQueueReady(queue))
        return;
    const QString report = writeReport();
    ASSERT_GE(report.count(QChar(12)), 2);
    sw::ReportSpooler::print(m_report, queue.name());
    const QString pdf = queue.waitForPdf();
    ASSERT_FALSE(pdf.isEmpty()) << queue.problem().toStdString();
    expectPrintedLineForLine(report, sw::test::withCharacterMaps(pdf));
}

TEST_P(TextPrintingTest, WindowsPrintingKeepsEveryLineAndPageWhole)
{
    const QString report = writeReport();
    const QString pdf = m_dir.filePath(u"report.pdf"_s);
    sw::writeReportPdf(m_report, pdf);
    expectPrintedLineForLine(report, pdf);
}

INSTANTIATE_TEST_SUITE_P(Shapes, TextPrintingTest, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<ReportShape> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
