// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportpreview.h"

#include "shell/core/errortext.h"
#include "shell/core/legacytext.h"
#include "shell/core/stoperror.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

ReportPreview ReportPreview::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StopError(reportFileError(FileErrorNumber::FileNotFound, path, file.errorString()));
    return fromText(legacytext::fromBytes(file.readAll()));
}

ReportPreview ReportPreview::fromText(QString text)
{
    ReportPreview preview;
    preview.m_text = std::move(text);
    if (preview.m_text.contains(u'\r'))
        preview.m_text.remove(u'\r');
    preview.m_pageStarts.push_back(0);
    for (qsizetype i = 0; i < preview.m_text.size(); ++i) {
        if (preview.m_text.at(i) == QChar(12))
            preview.m_pageStarts.push_back(i + 1);
    }
    return preview;
}

qsizetype ReportPreview::pageStart(int page) const
{
    const int index = std::clamp(page, 1, pageCount()) - 1;
    return m_pageStarts[size_t(index)];
}

int ReportPreview::pageAt(qsizetype position) const
{
    const auto after = std::upper_bound(m_pageStarts.begin(), m_pageStarts.end(), position);
    return int(after - m_pageStarts.begin());
}

qsizetype ReportPreview::search(const QString &needle)
{
    qsizetype from = 0;
    if (needle == m_lastSearch && m_lastHit >= 0)
        from = m_lastHit + 1;
    m_lastSearch = needle;
    m_lastHit = m_text.indexOf(needle, from, Qt::CaseInsensitive);
    return m_lastHit;
}

void ReportPreview::saveAs(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw StopError(reportFileError(FileErrorNumber::PathAccess, path, file.errorString()));
    }
    QByteArray bytes = legacytext::toBytes(m_text);
    bytes.replace("\n", "\r\n");
    file.write(bytes);
    if (!file.commit())
        throw StopError(reportFileError(FileErrorNumber::PathAccess, path, file.errorString()));
}

} // namespace sw
