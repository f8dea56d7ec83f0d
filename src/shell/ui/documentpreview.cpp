// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/documentpreview.h"

#include "shell/document/documentrenderer.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace sw {

DocumentPreview::DocumentPreview(QWidget *parent)
    : QScrollArea(parent)
    , m_page(new QLabel)
{
    setObjectName(u"preview"_s);
    setBackgroundRole(QPalette::Dark);
    m_page->setObjectName(u"page"_s);
    m_page->setFrameShape(QFrame::Box);
    m_page->setAlignment(Qt::AlignCenter);
    setWidget(m_page);
    setAlignment(Qt::AlignCenter);
}

DocumentPreview::~DocumentPreview() = default;

void DocumentPreview::setDocuments(std::vector<PreviewSheet> sheets)
{
    // Laid out first, all of them: a bad one throws before the pages shown are dropped.
    std::vector<std::unique_ptr<DocumentRenderer>> renderers;
    std::vector<std::pair<int, int>> pages;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        renderers.push_back(std::make_unique<DocumentRenderer>(sheets[i].document));
        for (int page = 0; page < renderers.back()->pageCount(); ++page)
            pages.emplace_back(int(i), page);
    }
    // The renderers refer to the documents: they move along with the vector's buffer.
    m_sheets = std::move(sheets);
    m_renderers = std::move(renderers);
    m_pages = std::move(pages);
    m_current = -1;
    showPage(0);
}

void DocumentPreview::showPage(int page)
{
    if (m_pages.empty()) {
        m_current = -1;
        m_page->clear();
        emit pageChanged(m_current);
        return;
    }
    m_current = std::clamp(page, 0, pageCount() - 1);
    draw();
    verticalScrollBar()->setValue(0);
    emit pageChanged(m_current);
}

void DocumentPreview::setZoom(double zoom)
{
    m_zoom = zoom;
    draw();
}

QString DocumentPreview::pageText() const
{
    if (m_current < 0)
        return u"No pages"_s;
    const QString caption = m_sheets[std::size_t(m_pages[std::size_t(m_current)].first)].caption;
    return u"Page "_s + QString::number(m_current + 1) + u" of "_s + QString::number(pageCount())
           + (caption.isEmpty() ? QString() : u": "_s + caption);
}

QImage DocumentPreview::shownPage() const { return m_page->pixmap().toImage(); }

void DocumentPreview::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    if (m_zoom == kWholePage)
        draw();
}

void DocumentPreview::draw()
{
    if (m_current < 0)
        return;
    const auto [sheet, page] = m_pages[std::size_t(m_current)];
    const DocumentRenderer &renderer = *m_renderers[std::size_t(sheet)];
    const QSizeF inches = renderer.document().page.pagePoints() / kPointsPerInch;
    double zoom = m_zoom;
    if (zoom == kWholePage) {
        const QSize room = viewport()->size() - QSize(8, 8);
        zoom = std::max(0.1, std::min(room.width() / (inches.width() * 96), room.height() / (inches.height() * 96)));
    }
    m_shownZoom = zoom;
    const double ratio = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(renderer.pageImage(page, 96.0 * zoom * ratio));
    pixmap.setDevicePixelRatio(ratio);
    m_page->setPixmap(pixmap);
    m_page->resize(pixmap.deviceIndependentSize().toSize() + QSize(2, 2));
}

// ---- PreviewWindow ---------------------------------------------------------------

namespace {

struct ZoomStep
{
    const char16_t *text;
    double zoom;
};
constexpr ZoomStep kZooms[] = {{u"Whole page", DocumentPreview::kWholePage},
                               {u"50%", 0.5},
                               {u"75%", 0.75},
                               {u"100%", 1.0},
                               {u"150%", 1.5},
                               {u"200%", 2.0}};

} // namespace

PreviewWindow::PreviewWindow(std::vector<PreviewSheet> sheets, const QString &title, QWidget *parent)
    : QDialog(parent)
    , m_preview(new DocumentPreview(this))
    , m_previous(new QPushButton(u"&Previous"_s, this))
    , m_next(new QPushButton(u"&Next"_s, this))
    , m_pageLabel(new QLabel(this))
    , m_zoom(new QComboBox(this))
{
    setObjectName(u"PreviewWindow"_s);
    setWindowTitle(title);
    m_previous->setObjectName(u"cmdPrevious"_s);
    m_next->setObjectName(u"cmdNext"_s);
    m_pageLabel->setObjectName(u"lblPage"_s);
    m_zoom->setObjectName(u"cboZoom"_s);
    for (const ZoomStep &step : kZooms)
        m_zoom->addItem(QString::fromUtf16(step.text), step.zoom);
    auto *print = new QPushButton(u"P&rint"_s, this);
    print->setObjectName(u"cmdPrint"_s);
    print->setToolTip(u"Prints these certificates (Ctrl+P)"_s);
    auto *close = new QPushButton(u"&Close"_s, this);
    close->setObjectName(u"cmdClose"_s);
    // The arrows, the page keys and + / - belong to the window: neither the buttons
    // (reached by their letters) nor the page (a scroll area) nor the zoom list takes
    // the focus and the keys with it.
    for (QPushButton *button : {m_previous, m_next, print, close}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
    }
    m_preview->setFocusPolicy(Qt::NoFocus);
    m_zoom->setFocusPolicy(Qt::NoFocus);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_previous);
    bar->addWidget(m_next);
    bar->addWidget(m_pageLabel, 1);
    bar->addWidget(new QLabel(u"Zoom"_s, this));
    bar->addWidget(m_zoom);
    bar->addWidget(print);
    bar->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_preview, 1);

    connect(m_previous, &QPushButton::clicked, this, [this] { m_preview->showPage(m_preview->currentPage() - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { m_preview->showPage(m_preview->currentPage() + 1); });
    connect(m_zoom, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_preview->setZoom(m_zoom->itemData(index).toDouble()); });
    connect(m_preview, &DocumentPreview::pageChanged, this, &PreviewWindow::follow);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(print, &QPushButton::clicked, this, [this] {
        m_print = true;
        accept();
        emit printRequested();
    });
    // A sheet of A4 standing whole, within the screen the window opens on (its frame
    // and title bar around it); the page is fitted to whatever room that leaves.
    const QScreen *screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() - QSize(16, 48) : QSize(760, 700);
    resize(QSize(760, 980).boundedTo(room));
    setMaximumSize(room.expandedTo(QSize(400, 300)));
    m_preview->setDocuments(std::move(sheets));
    follow();
}

void PreviewWindow::follow()
{
    const int page = m_preview->currentPage();
    m_pageLabel->setText(m_preview->pageText());
    m_previous->setEnabled(page > 0);
    m_next->setEnabled(page >= 0 && page + 1 < m_preview->pageCount());
}

void PreviewWindow::stepZoom(int step)
{
    // From "Whole page", + and - go to the nearest step above or below the size shown.
    const double shown = m_preview->shownZoom();
    int index = m_zoom->currentIndex();
    if (m_zoom->itemData(index).toDouble() == DocumentPreview::kWholePage) {
        index = step > 0 ? m_zoom->count() - 1 : 1;
        for (int i = 1; i < m_zoom->count(); ++i) {
            const double zoom = m_zoom->itemData(i).toDouble();
            if (step > 0 && zoom > shown) {
                index = i;
                break;
            }
            if (step < 0 && zoom < shown)
                index = i;
        }
    } else {
        index = std::clamp(index + step, 1, m_zoom->count() - 1);
    }
    m_zoom->setCurrentIndex(index);
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    const int page = m_preview->currentPage();
    QScrollBar *down = m_preview->verticalScrollBar();
    QScrollBar *across = m_preview->horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up: down->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Down: down->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    case Qt::Key_Left: across->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Right: across->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    // Page Down scrolls down a page larger than the window, then goes to the next page;
    // Page Up the same upwards, to the foot of the page before.
    case Qt::Key_PageDown:
        if (down->value() < down->maximum())
            down->triggerAction(QAbstractSlider::SliderPageStepAdd);
        else if (page + 1 < m_preview->pageCount())
            m_preview->showPage(page + 1);
        return;
    case Qt::Key_PageUp:
        if (down->value() > down->minimum()) {
            down->triggerAction(QAbstractSlider::SliderPageStepSub);
        } else if (page > 0) {
            m_preview->showPage(page - 1);
            down->setValue(down->maximum());
        }
        return;
    case Qt::Key_Home: m_preview->showPage(0); return;
    case Qt::Key_End: m_preview->showPage(m_preview->pageCount() - 1); return;
    case Qt::Key_Plus:
    case Qt::Key_Equal: stepZoom(1); return;
    case Qt::Key_Minus: stepZoom(-1); return;
    case Qt::Key_P:
        if (event->modifiers() & Qt::ControlModifier) {
            findChild<QPushButton *>(u"cmdPrint"_s)->click();
            return;
        }
        break;
    default: break;
    }
    QDialog::keyPressEvent(event);
}

} // namespace sw
