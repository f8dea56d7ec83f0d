// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QDialog>
#include <QScrollArea>

#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace sw {

class DocumentRenderer;

// A composed document as the preview lists it, with what its pages are called
// ("DC000211, Reg. No. 2KD0121121").
struct PreviewSheet
{
    Document document;
    QString caption;
};

// The on-screen preview of composed documents, a page at a time, drawn by the same
// renderer as the printout. It is a picture of the pages: nothing in it can be
// edited, which is what a certificate preview before printing needs.
class DocumentPreview : public QScrollArea
{
    Q_OBJECT
public:
    explicit DocumentPreview(QWidget *parent = nullptr);
    ~DocumentPreview() override;

    // Lays every document out and shows the first page. Bad input throws StopError as
    // the renderer does, and the pages shown before stay.
    void setDocuments(std::vector<PreviewSheet> sheets);
    void setDocument(const Document &document) { setDocuments({{document, {}}}); }

    int pageCount() const { return int(m_pages.size()); }
    int currentPage() const { return m_current; } // 0-based; -1 when there is none
    void showPage(int page);
    // 1.0: true size on a 96 dpi screen; kWholePage fits the page into the window.
    static constexpr double kWholePage = 0;
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    // The zoom the page is drawn at (for "Whole page", what fitting it came to).
    double shownZoom() const { return m_shownZoom; }
    // "Page 3 of 12: DC000213, Reg. No. R3".
    QString pageText() const;
    // The page shown, as drawn on the screen.
    QImage shownPage() const;

signals:
    void pageChanged(int page);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void draw();

    std::vector<PreviewSheet> m_sheets;
    std::vector<std::unique_ptr<DocumentRenderer>> m_renderers;
    std::vector<std::pair<int, int>> m_pages; // sheet, page of the sheet
    QLabel *m_page;
    int m_current = -1;
    double m_zoom = kWholePage;
    double m_shownZoom = 1.0;
};

// The preview window: the pages of a run, previous and next, the zoom, "Page n of
// N", and Print, which closes the window and tells the screen to print what was
// shown. Keys: Page Down / Page Up next and previous, Home / End the first and last
// page, + and - the zoom, Ctrl+P print, Esc close.
class PreviewWindow : public QDialog
{
    Q_OBJECT
public:
    PreviewWindow(std::vector<PreviewSheet> sheets, const QString &title, QWidget *parent = nullptr);

    DocumentPreview *preview() const { return m_preview; }
    bool printChosen() const { return m_print; }

signals:
    // Print was chosen; the window has closed.
    void printRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void follow();
    void stepZoom(int step);

    DocumentPreview *m_preview;
    QPushButton *m_previous;
    QPushButton *m_next;
    QLabel *m_pageLabel;
    QComboBox *m_zoom;
    bool m_print = false;
};

} // namespace sw
