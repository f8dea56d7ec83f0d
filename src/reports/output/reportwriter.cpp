// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportwriter.h"

#include "shell/core/errortext.h"
#include "shell/core/legacytext.h"
#include "shell/core/stoperror.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace sw {

namespace reportline {

QString text(const QString &value, int width) { return value.leftJustified(width, u' ', true); }

QString number(const QString &value, int width) { return QString(QString(width, u' ') + value).right(width); }

QString number(qint64 value, int width) { return number(QString::number(value), width); }

QString centred(const QString &value, int width)
{
    const int blanks = int(std::lround((width - value.size()) / 2.0));
    return QString(std::max(0, blanks), u' ') + value;
}

QString ruler(QChar c, int width) { return QString(width, c); }

QStringList underlined(const QString &value) { return {value, QString(value.size(), u'~')}; }

} // namespace reportline

namespace {
QString writeError(const QFile &file)
{
    return reportFileError(FileErrorNumber::PathAccess, file.fileName(), file.errorString());
}
} // namespace

ReportWriter::ReportWriter(const QString &path, ReportLayout layout, PageHeaderSource header)
    : m_file(path)
    , m_layout(std::move(layout))
    , m_header(std::move(header))
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw StopError(writeError(m_file));
}

ReportWriter::~ReportWriter() = default;

void ReportWriter::put(const QString &line)
{
    QByteArray bytes = legacytext::toBytes(line);
    bytes.append("\r\n");
    if (m_file.write(bytes) != bytes.size())
        throw StopError(writeError(m_file));
}

void ReportWriter::startPage()
{
    ++m_page;
    if (m_header) {
        for (const QString &line : m_header(m_layout.lineWidth, m_page))
            put(line);
    }
    for (const QString &title : std::as_const(m_layout.titles))
        put(reportline::centred(title, m_layout.lineWidth));
    const QString equals = reportline::ruler(u'=', m_layout.lineWidth);
    put(equals);
    for (const QString &heading : std::as_const(m_layout.headings))
        put(heading);
    put(equals);
}

void ReportWriter::newPage(const QStringList &titles)
{
    m_layout.titles = titles;
    if (m_page > 0)
        m_lineCounter = m_layout.linesPerPage + 1;
    m_newPage = true;
}

void ReportWriter::ensurePage()
{
    if (m_lineCounter > m_layout.linesPerPage) {
        // The form feed stands on a line of its own, so the next page's header starts clean.
        put(QString(QChar(12)));
        m_lineCounter = 1;
        m_newPage = true;
    }
    if (m_newPage) {
        m_newPage = false;
        startPage();
    }
}

void ReportWriter::writeRow(const QStringList &lines)
{
    ensurePage();
    for (const QString &line : lines) {
        put(line);
        ++m_lineCounter;
    }
    m_wroteRows = m_wroteRows || !lines.isEmpty();
}

void ReportWriter::writeTail(const QStringList &lines)
{
    for (const QString &line : lines)
        put(line);
}

void ReportWriter::close()
{
    if (!m_file.isOpen())
        return;
    if (!m_file.flush())
        throw StopError(writeError(m_file));
    m_file.close();
}

void ReportWriter::finish(FinalFeed feed)
{
    if (!m_file.isOpen())
        return;
    if (m_wroteRows) {
        static const QString end = u"End of Report"_s;
        put(reportline::ruler(u'=', m_layout.lineWidth));
        put(end);
        put(QString(end.size(), u'~'));
        if (feed == FinalFeed::Yes)
            put(QString(QChar(12)));
    }
    if (!m_file.flush())
        throw StopError(writeError(m_file));
    m_file.close();
}

} // namespace sw
