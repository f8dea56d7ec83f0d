// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace sw {

// A notice in the status bar (object name `StatusBar1_notice`): it takes the room the
// bar has left and never widens the window. A notice longer than that room is shortened
// with "..." at a word's end, never cut at the edge: the whole text is its tip and a
// click on it (`opened`) shows it in full. GUI thread only.
class NoticePanel : public QLabel
{
    Q_OBJECT
public:
    explicit NoticePanel(QWidget *parent = nullptr);

    // The notice as it was given (what the panel shows may be shortened).
    QString notice() const { return m_notice; }
    void setNotice(const QString &text);
    // Whether the panel shows less than the whole notice.
    bool shortened() const { return text() != m_notice; }

signals:
    void opened(const QString &notice);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void fit();

    QString m_notice;
};

} // namespace sw
