// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/bgrcolour.h"

#include <QGuiApplication>
#include <QPalette>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QColor paletteColour(int index)
{
    const QPalette p = QGuiApplication::palette();
    switch (index) {
    case 5: // window background
        return p.color(QPalette::Base);
    case 8: // window text
        return p.color(QPalette::Text);
    case 15: // button face
        return p.color(QPalette::Button);
    case 18: // button text
        return p.color(QPalette::ButtonText);
    default: return p.color(QPalette::WindowText);
    }
}

} // namespace

QColor colourFromBgrText(const QString &text, SystemColour system)
{
    QString digits = text.trimmed();
    if (!digits.startsWith(u"&H"_s, Qt::CaseInsensitive))
        return {};
    digits = digits.mid(2);
    if (digits.endsWith(u'&'))
        digits.chop(1);
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, 16);
    if (!ok || value > 0xFFFFFFFFULL)
        return {};
    if (value & 0x80000000ULL)
        return system == SystemColour::Black ? QColor(Qt::black) : paletteColour(int(value & 0xFF));
    if (value > 0xFFFFFF)
        return {};
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QString bgrTextFromColour(const QColor &colour)
{
    const uint bgr = uint(colour.blue()) << 16 | uint(colour.green()) << 8 | uint(colour.red());
    return u"&H"_s + QString::number(bgr, 16).toUpper().rightJustified(6, u'0');
}

} // namespace sw
