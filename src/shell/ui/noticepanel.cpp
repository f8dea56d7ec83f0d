// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/noticepanel.h"

#include <QMouseEvent>
#include <QTextBoundaryFinder>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
const QString kMore = u" ... (click for the whole notice)"_s;
}

NoticePanel::NoticePanel(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(u"StatusBar1_notice"_s);
    setTextFormat(Qt::PlainText);
    // However long the notice, the panel takes only the room the bar has.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(200);
    setCursor(Qt::PointingHandCursor);
}

void NoticePanel::setNotice(const QString &text)
{
    m_notice = text;
    setToolTip(text);
    fit();
}

void NoticePanel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fit();
}

void NoticePanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !m_notice.isEmpty()) {
        emit opened(m_notice);
        return;
    }
    QLabel::mousePressEvent(event);
}

// The longest run of whole words that fits with the pointer to the rest after it.
void NoticePanel::fit()
{
    const int room = contentsRect().width() - 2 * margin();
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(m_notice) <= room) {
        setText(m_notice);
        return;
    }
    const int left = room - metrics.horizontalAdvance(kMore);
    QString shown;
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, m_notice);
    for (qsizetype at = words.toNextBoundary(); at > 0; at = words.toNextBoundary()) {
        if (!(words.boundaryReasons() & QTextBoundaryFinder::EndOfItem))
            continue;
        const QString candidate = m_notice.left(at);
        if (metrics.horizontalAdvance(candidate) > left)
            break;
        shown = candidate;
    }
    setText(shown + kMore);
}

} // namespace sw
