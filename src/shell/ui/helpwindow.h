// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace sw {

// The program's own help window (object name `HelpWindow`): the help page in a text
// browser, with Back, Forward, Contents and a Find box that searches the page. F1 on a
// menu item or a screen opens it at that item's section; no web browser is needed.
//
// A top-level window beside the main window, which owns it; it sizes itself within
// the screen. Esc closes it. Used from the GUI thread only.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows `page` (a local HTML file) at the section named `topic` (the anchor of a
    // menu code, such as "N22"), or at its beginning when `topic` is empty or the
    // page has no such section. The window comes to the front.
    void showTopic(const QUrl &page, const QString &topic);
    // Puts the focus in the Find box, its text selected (Help > Help Search).
    void startSearch();
    // Finds the next place that holds `text` after the cursor, wrapping to the top;
    // false, and "Not found" beside the box, when the page has it nowhere.
    bool find(const QString &text);

    QTextBrowser *page() const { return m_page; }
    QLineEdit *findBox() const { return m_find; }
    // The section last shown (empty: the beginning of the page).
    QString topic() const { return m_topic; }
    // The text of the first line in view: the heading of the section shown at the top.
    QString firstLineInView() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTextBrowser *m_page;
    QLineEdit *m_find;
    QLabel *m_found;
    QString m_topic;
};

} // namespace sw
