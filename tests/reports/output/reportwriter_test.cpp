// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportpreview.h"
#include "reports/output/reportwriter.h"
#include "support/stoptext.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList header(int width, int page)
{
    return {QString(), sw::reportline::centred(u"VARADA UNIVERSITY"_s, width),
            u"Date : 06/12/2026"_s + QString(width - 35, u' ') + u"Page No : "_s + QString::number(page)};
}

QString readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromLatin1(f.readAll());
}

class ReportWriterTest : public ::testing::Test
{
protected:
    QString write(int rows, int linesPerRow = 1, int linesPerPage = 45)
    {
        sw::ReportLayout layout;
        layout.linesPerPage = linesPerPage;
        layout.titles = {u"STUDENT LIST"_s};
        layout.headings = {u"Sl.No.  Reg. No.    Name"_s};
        sw::ReportWriter writer(m_path, layout, header);
        for (int i = 1; i <= rows; ++i) {
            QStringList lines;
            for (int l = 0; l < linesPerRow; ++l)
                lines << sw::reportline::number(i, 6) + u"  ROW"_s + QString::number(l);
            writer.writeRow(lines);
        }
        writer.finish();
        m_pages = writer.pages();
        return readAll(m_path);
    }
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(u"REP001.Prn"_s);
    int m_pages = 0;
};

TEST_F(ReportWriterTest, FortyFiveRowsFitOnOnePageAndTheNextStartsPageTwo)
{
    const QString one = write(45);
    EXPECT_EQ(m_pages, 1);
    EXPECT_FALSE(one.contains(QChar(12)));

    const QString two = write(46);
    EXPECT_EQ(m_pages, 2);
    EXPECT_EQ(two.count(QChar(12)), 1);
    const qsizetype feed = two.indexOf(QChar(12));
    // The feed comes after row 45 and before the second header, whose page number is 2.
    EXPECT_LT(two.indexOf(u"    45  ROW0"_s), feed);
    EXPECT_GT(two.indexOf(u"Page No : 2"_s), feed);
    EXPECT_GT(two.indexOf(u"    46  ROW0"_s), two.indexOf(u"Page No : 2"_s));
    EXPECT_EQ(two.count(u"STUDENT LIST"_s), 2);
}

TEST_F(ReportWriterTest, RowsOfSeveralLinesCountEveryLineAndTheReportEndsWithItsMarker)
{
    // 3 lines a row: 15 rows reach 45 lines; the 16th row goes over to page 2.
    write(15, 3);
    EXPECT_EQ(m_pages, 1);
    write(16, 3);
    EXPECT_EQ(m_pages, 2);
    write(60, 1, 50); // the summary's longer page
    EXPECT_EQ(m_pages, 2);

    const QString text = write(2);
    EXPECT_TRUE(text.endsWith(QString(80, u'=') + u"\r\nEnd of Report\r\n~~~~~~~~~~~~~\r\n"_s))
        << text.right(120).toStdString();
    EXPECT_EQ(text.count(u"\n"_s), text.count(u"\r\n"_s));
    // No rows: no page and no marker.
    EXPECT_TRUE(write(0).isEmpty());
    EXPECT_EQ(m_pages, 0);
}

TEST(ReportLine, FieldsAreCutAndAlignedToTheirWidths)
{
    EXPECT_EQ(sw::reportline::text(u"ANAND PATIL"_s, 5), u"ANAND"_s);
    EXPECT_EQ(sw::reportline::text(u"AB"_s, 5), u"AB   "_s);
    EXPECT_EQ(sw::reportline::text(QString(), 3), u"   "_s);
    EXPECT_EQ(sw::reportline::number(42, 5), u"   42"_s);
    EXPECT_EQ(sw::reportline::number(u"1234567"_s, 5), u"34567"_s);
    // (80 - 12) / 2 = 34 blanks; (80 - 13) / 2 = 33.5 rounds to 34.
    EXPECT_EQ(sw::reportline::centred(u"STUDENT LIST"_s, 80), QString(34, u' ') + u"STUDENT LIST"_s);
    EXPECT_EQ(sw::reportline::centred(u"STUDENT LISTS"_s, 80).indexOf(u'S'), 34);
    EXPECT_EQ(sw::reportline::centred(QString(90, u'X'), 80), QString(90, u'X'));
}

TEST(ReportWriterFailure, AnUnwritableFileIsAReportError)
{
    EXPECT_TRUE(sw::test::stopText([] {
                    sw::ReportWriter writer(u"/proc/none/REP001.Prn"_s, {}, {});
                }).startsWith(u"Error Message  : Err No. "_s));
}

TEST(ReportPreviewText, PagesSplitAtFormFeeds)
{
    const auto preview = sw::ReportPreview::fromText(u"page one\r\n\f\r\npage two\r\n\f\r\nthree"_s);
    EXPECT_EQ(preview.pageCount(), 3);
    EXPECT_EQ(preview.pageAt(0), 1);
    EXPECT_EQ(preview.pageAt(preview.pageStart(2)), 2);
    EXPECT_EQ(preview.pageAt(preview.text().size()), 3);
    EXPECT_EQ(preview.pageStart(99), preview.pageStart(3));
    EXPECT_EQ(preview.pageStart(0), 0);
}

TEST(ReportPreviewText, SearchingAgainMovesOnAndANewStringStartsAtTheTop)
{
    auto preview = sw::ReportPreview::fromText(u"PATIL one\npatil two\nDESAI\nPatil three"_s);
    const qsizetype first = preview.search(u"patil"_s);
    EXPECT_EQ(first, 0);
    const qsizetype second = preview.search(u"patil"_s);
    EXPECT_EQ(second, preview.text().indexOf(u"patil two"_s));
    EXPECT_EQ(preview.search(u"DESAI"_s), preview.text().indexOf(u"DESAI"_s));
    EXPECT_EQ(preview.search(u"patil"_s), 0); // a different string came between
    preview.search(u"patil"_s);
    preview.search(u"patil"_s);
    EXPECT_EQ(preview.search(u"patil"_s), -1); // past the last one
    EXPECT_EQ(preview.search(u"patil"_s), 0);  // and round again from the top
}

TEST(ReportPreviewText, SavedCopyKeepsEightBitTextAndCrLf)
{
    QTemporaryDir dir;
    const auto preview = sw::ReportPreview::fromText(u"A\u00E0B\nsecond"_s);
    const QString path = dir.filePath(u"copy.txt"_s);
    preview.saveAs(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("A\xE0"
                                      "B\r\nsecond"));
}

} // namespace

#include "reports/output/reportoutput.h"
#include "shell/document/documentoutput.h"
#include "support/pdftext.h"

#include <QSet>

namespace {

// The document printer's copy of a report, read back by poppler: one sheet per report
// page, every column where the report put it.
TEST(ReportDocument, EachReportPageIsOneSheetWithItsColumnsInPlace)
{
    QTemporaryDir dir;
    const QString report = dir.filePath(u"REP001.Prn"_s);
    sw::ReportLayout layout;
    layout.titles = {u"STUDENT LIST"_s};
    layout.headings = {u"Sl.  Reg.        Name"_s};
    sw::ReportWriter writer(report, layout,
                            [](int, int page) { return QStringList{u"Page No : "_s + QString::number(page)}; });
    for (int i = 1; i <= 50; ++i)
        writer.writeRow(sw::reportline::number(i, 3) + u"  "_s + sw::reportline::text(u"R"_s + QString::number(i), 10)
                        + u"  NAME "_s + QString::number(i));
    writer.finish();
    const QString pdf = dir.filePath(u"report.pdf"_s);
    sw::writeReportPdf(report, pdf);
    const QString text = sw::test::pdfLayoutText(pdf);
    const QStringList pages = text.split(QChar(12), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2) << text.toStdString();
    EXPECT_TRUE(pages[0].contains(u"Page No : 1"_s));
    EXPECT_TRUE(pages[1].contains(u"Page No : 2"_s));
    EXPECT_TRUE(pages[1].contains(u"End of Report"_s));
    // Fixed pitch: the names of the detail lines start in one column, whatever the
    // width of the register number before them.
    QSet<qsizetype> nameColumns;
    for (const QString &line : pages[0].split(u'\n')) {
        if (line.contains(u"NAME "_s))
            nameColumns.insert(line.indexOf(u"NAME "_s));
    }
    EXPECT_EQ(nameColumns.size(), 1);
}

} // namespace
