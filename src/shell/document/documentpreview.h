// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QScrollArea>

class QVBoxLayout;

namespace sw {

// The on-screen preview of a composed document, page under page, drawn by the same
// renderer as the printout. It is a picture of the pages: nothing in it can be
// edited, which is what a certificate preview before the print question needs.
class DocumentPreview : public QScrollArea
{
    Q_OBJECT
public:
    explicit DocumentPreview(QWidget *parent = nullptr);

    // Lays the document out and shows its pages at `zoom` (1.0: true size on a 96 dpi
    // screen). Bad input throws StopError as the renderer does; the last good pages stay.
    void setDocument(const Document &document, double zoom = 1.0);
    int pageCount() const { return m_pageCount; }

private:
    QWidget *m_pages;
    QVBoxLayout *m_layout;
    int m_pageCount = 0;
};

} // namespace sw
