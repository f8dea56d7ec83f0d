// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace sw {

// The text of one report file as the preview shows it: its pages (split at the form
// feeds), the search that goes on from the last hit, and the saved copy.
class ReportPreview
{
public:
    // Reads the report file (8-bit legacy text). Throws StopError when it cannot.
    static ReportPreview load(const QString &path);
    static ReportPreview fromText(QString text);

    const QString &text() const { return m_text; }
    int pageCount() const { return int(m_pageStarts.size()); }
    // Character position where page `page` (from 1) starts; the last page for a number past the end.
    qsizetype pageStart(int page) const;
    // The page (from 1) that holds character position `position`.
    int pageAt(qsizetype position) const;

    // Finds `needle` without regard to case: from the top for a new string, from one
    // past the last hit when it is the string searched last. -1 when not found (the
    // next search of the same string starts at the top again).
    qsizetype search(const QString &needle);

    // Writes the text as a plain text file. Throws StopError when it cannot.
    void saveAs(const QString &path) const;

private:
    QString m_text;
    std::vector<qsizetype> m_pageStarts;
    QString m_lastSearch;
    qsizetype m_lastHit = -1;
};

} // namespace sw
