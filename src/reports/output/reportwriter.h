// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

namespace sw {

// Fixed-width pieces of a text report line.
namespace reportline {
// A text field of `width`: the value left-aligned, cut to the width.
QString text(const QString &value, int width);
// A number field of `width`: the value right-aligned, cut to its last `width` characters.
QString number(const QString &value, int width);
QString number(qint64 value, int width);
// `value` preceded by half the free width in blanks (rounded), as titles are centred.
QString centred(const QString &value, int width);
// `width` copies of `c`: the "=" and "-" rulers.
QString ruler(QChar c, int width);
// A group heading or closing line and its "~" underline, as long as the text.
QStringList underlined(const QString &value);
} // namespace reportline

// What every page of one text report repeats under the page header.
struct ReportLayout
{
    int lineWidth = 80;    // 120 for the ledger
    int linesPerPage = 45; // row lines before a form feed (50 for the summary)
    QStringList titles;    // centred
    QStringList headings;  // column heading lines, between two "=" rulers
};

// The page header of a text report: the lines it writes for page `page` (already
// counted) of a report `lineWidth` characters wide.
using PageHeaderSource = std::function<QStringList(int lineWidth, int page)>;

// Writes one text report: fixed-width lines, a page header with titles and column
// headings at the top of every page, a form feed before each page but the first,
// and the end marker after the last row. Lines are written in the 8-bit legacy
// encoding with CR LF endings, as the print spoolers of the installations expect.
// Not for use from more than one thread.
class ReportWriter
{
public:
    // Opens (truncates) `path`; throws StopError with the report error text when it cannot.
    ReportWriter(const QString &path, ReportLayout layout, PageHeaderSource header);
    ~ReportWriter();
    ReportWriter(const ReportWriter &) = delete;
    ReportWriter &operator=(const ReportWriter &) = delete;

    // The lines of one row (group headings and the detail line). A page break and a
    // new page header come first when the page is full.
    void writeRow(const QStringList &lines);
    void writeRow(const QString &line) { writeRow(QStringList{line}); }

    // The next row starts a new page (after a form feed when a page was written), with
    // these titles from then on: reports that give each group its own pages.
    void newPage(const QStringList &titles);

    // Column headings from the next page on.
    void setHeadings(const QStringList &headings) { m_layout.headings = headings; }
    // Titles from the next page on, without starting one: a group that begins part-way
    // down a page heads the pages it continues on.
    void setTitles(const QStringList &titles) { m_layout.titles = titles; }
    // Whether the next row starts a new page (and so comes under a fresh page header).
    bool nextRowStartsPage() const { return m_newPage || m_lineCounter > m_layout.linesPerPage; }
    // Writes the pending page header now, even before any row: sections that print
    // their titles when they have no rows.
    void ensurePage();

    // Lines after the last row that belong to no page of their own (totals): written
    // as they are, without a page break.
    void writeTail(const QStringList &lines);

    // After the last row: the "=" ruler, "End of Report" and its "~" underline when
    // any row was written (and a form feed after them when asked); then the file is
    // closed. Throws StopError on a write failure.
    enum class FinalFeed { No, Yes };
    void finish(FinalFeed feed = FinalFeed::No);
    // Closes the file without the end marker: reports whose sections close themselves.
    void close();

    int pages() const { return m_page; }
    bool wroteRows() const { return m_wroteRows; }

private:
    void startPage();
    void put(const QString &line);

    QFile m_file;
    ReportLayout m_layout;
    PageHeaderSource m_header;
    int m_page = 0;
    int m_lineCounter = 1;
    bool m_newPage = true;
    bool m_wroteRows = false;
};

} // namespace sw
