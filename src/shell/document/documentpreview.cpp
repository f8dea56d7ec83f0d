// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/documentpreview.h"

#include "shell/document/documentrenderer.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

DocumentPreview::DocumentPreview(QWidget *parent)
    : QScrollArea(parent)
    , m_pages(new QWidget)
    , m_layout(new QVBoxLayout(m_pages))
{
    setObjectName(u"preview"_s);
    setBackgroundRole(QPalette::Dark);
    m_layout->setSpacing(12);
    m_layout->setAlignment(Qt::AlignHCenter);
    setWidget(m_pages);
    setWidgetResizable(true);
    setAlignment(Qt::AlignHCenter);
}

void DocumentPreview::setDocument(const Document &document, double zoom)
{
    const DocumentRenderer renderer(document); // throws before the old pages are removed
    while (QLayoutItem *item = m_layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const double dpi = 96.0 * zoom * devicePixelRatioF();
    for (int page = 0; page < renderer.pageCount(); ++page) {
        auto *label = new QLabel(m_pages);
        label->setObjectName(u"page_"_s + QString::number(page + 1));
        QPixmap pixmap = QPixmap::fromImage(renderer.pageImage(page, dpi));
        pixmap.setDevicePixelRatio(devicePixelRatioF());
        label->setPixmap(pixmap);
        label->setFrameShape(QFrame::Box);
        m_layout->addWidget(label);
    }
    m_pageCount = renderer.pageCount();
}

} // namespace sw
