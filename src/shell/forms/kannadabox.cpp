// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/kannadabox.h"

#include "shell/document/fonttable.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// QLineEdit's own maximum length when none is set.
constexpr int kNoLimit = 32767;

QFont unicodeFont(const QFont &like, double pointSize)
{
    QFont font(FontTable::unicodeKannadaFamily());
    font.setPointSizeF(pointSize);
    font.setBold(like.bold());
    return font;
}

QIcon markerIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QFont font(FontTable::unicodeKannadaFamily());
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(0x25, 0x58, 0x67));
    p.drawText(pixmap.rect(), Qt::AlignCenter, u"ಅ"_s);
    return QIcon(pixmap);
}

// Draws a column of legacy codes: in the legacy font where it is installed, else as
// their Unicode reading in the Unicode font. The model keeps the codes.
class KannadaColumnDelegate : public QStyledItemDelegate
{
public:
    KannadaColumnDelegate(QObject *parent, std::optional<kannada::LegacyFont> reading, QFont shown)
        : QStyledItemDelegate(parent)
        , m_reading(reading)
        , m_shown(std::move(shown))
    {
    }
    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        return m_reading ? kannada::readable(value.toString(), *m_reading)
                         : QStyledItemDelegate::displayText(value, locale);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font = m_shown;
    }

private:
    std::optional<kannada::LegacyFont> m_reading;
    QFont m_shown;
};

} // namespace

KannadaBox::KannadaBox(QLineEdit *box, kannada::LegacyFont font)
    : QObject(box)
    , m_box(box)
    , m_font(font)
    , m_maxCodes(box->maxLength())
{
    setObjectName(u"kannadaBox"_s);
    // The reading may hold more characters than its codes: the box must not cut it.
    box->setMaxLength(kNoLimit);
    connect(box, &QLineEdit::textChanged, this, &KannadaBox::textChanged);
    connect(box, &QLineEdit::textEdited, this, &KannadaBox::textEdited);
}

KannadaBox *KannadaBox::of(const QLineEdit *box)
{
    return box ? box->findChild<KannadaBox *>(u"kannadaBox"_s, Qt::FindDirectChildrenOnly) : nullptr;
}

void KannadaBox::attach(QLineEdit *box, const QString &family, double pointSize)
{
    QFont legacy(family);
    legacy.setPointSizeF(pointSize);
    legacy.setBold(box->font().bold());
    const auto font = kannada::legacyFont(family);
    if (!font || !FontTable::readsAsUnicode(family) || FontTable::unicodeKannadaFamily().isEmpty()) {
        box->setFont(legacy);
        return;
    }
    box->setFont(unicodeFont(box->font(), pointSize));
    if (of(box))
        return;
    auto *helper = new KannadaBox(box, *font);
    QAction *marker = box->addAction(markerIcon(), QLineEdit::TrailingPosition);
    marker->setObjectName(u"kannadaMarker"_s);
    marker->setToolTip(u"Kannada shown through Unicode: \""_s + family
                       + u"\" is not installed. Type in Unicode Kannada; it is stored in the legacy codes."_s);
    helper->textChanged(box->text());
    // Its height now has room for the stacked letters (see FieldBox::sizeHint).
    box->updateGeometry();
}

void KannadaBox::textChanged(const QString &text)
{
    if (m_updating)
        return;
    // A text the screen set (setText leaves the box unmodified) is stored codes: show
    // their reading. What the clerk types stays as typed until it is stored.
    if (m_box->isModified())
        return;
    m_codes = text;
    m_reading = kannada::readable(text, m_font);
    m_accepted = m_reading;
    if (m_reading == text)
        return;
    m_updating = true;
    const int cursor = m_box->cursorPosition();
    m_box->setText(m_reading);
    m_box->setCursorPosition(std::min(cursor, int(m_reading.size())));
    m_updating = false;
}

void KannadaBox::textEdited(const QString &text)
{
    if (m_updating)
        return;
    if (text == m_reading) {
        m_accepted = text;
        return;
    }
    const kannada::Conversion codes = kannada::toStoredCodes(text);
    if (codes.eightBit && codes.text.size() <= m_maxCodes) {
        m_accepted = text;
        return;
    }
    // Too long for the column once written as codes, or a letter the codes cannot
    // hold (another script): the keystroke is refused, as a maximum length refuses one.
    const int cursor = m_box->cursorPosition() - int(text.size() - m_accepted.size());
    m_updating = true;
    m_box->setText(m_accepted);
    m_box->setModified(true);
    m_box->setCursorPosition(std::clamp(cursor, 0, int(m_accepted.size())));
    m_updating = false;
    QApplication::beep();
}

QString KannadaBox::storedText(const QLineEdit *box)
{
    const KannadaBox *helper = of(box);
    if (!helper)
        return box->text();
    const QString shown = box->text();
    if (shown == helper->m_reading)
        return helper->m_codes; // untouched: the codes exactly as they were read
    return kannada::toStoredCodes(shown).text;
}

bool KannadaBox::showsUnicode(const QLineEdit *box) { return of(box) != nullptr; }

int KannadaBox::stackedLettersRoom(const QFont &font)
{
    const QFontMetrics metrics(font);
    const QRect ink = metrics.tightBoundingRect(u"ಲಕ್ಷ್ಮೀ ಭೌತಶಾಸ್ತ್ರ ಶ್ರೀ ಸ್ತ್ರೀ ಕೃಷ್ಣ"_s);
    const int above = std::max(0, -ink.top() - metrics.ascent());
    const int below = std::max(0, ink.bottom() + 1 - metrics.descent());
    return 2 * std::max(above, below) + 2;
}

int KannadaBox::maxLength(const QLineEdit *box)
{
    const KannadaBox *helper = of(box);
    return helper ? helper->m_maxCodes : box->maxLength();
}

void KannadaBox::showColumn(QAbstractItemView *view, int column, const QString &family, double pointSize)
{
    const auto font = kannada::legacyFont(family);
    if (!font || dynamic_cast<KannadaColumnDelegate *>(view->itemDelegateForColumn(column)))
        return;
    if (!FontTable::readsAsUnicode(family) || FontTable::unicodeKannadaFamily().isEmpty()) {
        QFont legacy(family);
        legacy.setPointSizeF(pointSize);
        view->setItemDelegateForColumn(column, new KannadaColumnDelegate(view, std::nullopt, legacy));
        return;
    }
    view->setItemDelegateForColumn(column,
                                   new KannadaColumnDelegate(view, *font, unicodeFont(view->font(), pointSize)));
}

} // namespace sw
