// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/common/appearance.h"

#include "shell/core/appfolder.h"
#include "shell/db/database.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QColor systemColour(int index)
{
    const QPalette p = QApplication::palette();
    switch (index) {
    case 5: // window background
        return p.color(QPalette::Base);
    case 8: // window text
        return p.color(QPalette::Text);
    case 15: // button face
        return p.color(QPalette::Button);
    case 18: // button text
        return p.color(QPalette::ButtonText);
    default:
        return p.color(QPalette::WindowText);
    }
}

double sizeOf(const QString &text, double fallback)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && v > 0 ? v : fallback;
}

void colour(QWidget *w, QPalette::ColorRole background, const QColor &bg, QPalette::ColorRole foreground,
            const QColor &fg)
{
    QPalette p = w->palette();
    if (bg.isValid())
        p.setColor(background, bg);
    if (fg.isValid())
        p.setColor(foreground, fg);
    w->setPalette(p);
}

void setFont(QWidget *w, const QString &family, double size, bool bold)
{
    QFont f = w->font();
    f.setFamily(family);
    f.setPointSizeF(size);
    f.setBold(bold);
    w->setFont(f);
}

} // namespace

QColor colourFromVb(const QString &text)
{
    QString t = text.trimmed();
    if (!t.startsWith(u"&H"_s, Qt::CaseInsensitive))
        return {};
    t = t.mid(2);
    if (t.endsWith(u'&'))
        t.chop(1);
    bool ok = false;
    const qulonglong v = t.toULongLong(&ok, 16);
    if (!ok || v > 0xFFFFFFFFULL)
        return {};
    if (v & 0x80000000ULL)
        return systemColour(int(v & 0xFF));
    if (v > 0xFFFFFF)
        return {};
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QString vbFromColour(const QColor &c)
{
    const uint v = uint(c.red()) | (uint(c.green()) << 8) | (uint(c.blue()) << 16);
    return u"&H"_s + QString::number(v, 16).toUpper();
}

Appearance Appearance::read(Database &db)
{
    const QString sql = u"select fscol, ffont, ffontsize, ffontcol, flbfontcol, ftocol from control order by fscol"_s;
    if (!db.query(sql).next())
        db.exec(u"insert into control(fcompany) values('Quanvex')"_s);
    Rows rows = db.query(sql);
    Appearance a;
    if (!rows.next())
        return a;
    const auto take = [&rows](int column, QString &into) {
        if (!rows.value(column).isNull())
            into = rows.text(column);
    };
    take(0, a.screenColour);
    take(1, a.fontName);
    take(2, a.fontSize);
    take(3, a.fontColour);
    take(4, a.labelColour);
    take(5, a.editColour);
    return a;
}

double Appearance::pointSize() const
{
    return sizeOf(fontSize, 8);
}

void Appearance::apply(QWidget *form, const QString &gridFontSize, const AppFolder &folder) const
{
    const QColor screen = colourFromVb(screenColour);
    const QColor text = colourFromVb(fontColour);
    const QColor label = colourFromVb(labelColour);
    const QColor edit = colourFromVb(editColour);
    const double size = pointSize();

    colour(form, QPalette::Window, screen, QPalette::WindowText, label);
    form->setAutoFillBackground(true);
    QFont formFont = form->font();
    formFont.setFamily(fontName);
    form->setFont(formFont);

    for (QWidget *w : form->findChildren<QWidget *>()) {
        // Status bars keep the desktop's look: they carry hints, not data.
        if (qobject_cast<QStatusBar *>(w) || qobject_cast<QStatusBar *>(w->parentWidget()))
            continue;
        if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w) || qobject_cast<QLabel *>(w)) {
            colour(w, QPalette::Window, screen, QPalette::WindowText, label);
            setFont(w, fontName, size, true);
        } else if (qobject_cast<QTableView *>(w)) {
            colour(w, QPalette::Window, screen, QPalette::ButtonText, text);
            setFont(w, fontName, sizeOf(gridFontSize, 8), false);
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QListView *>(w)
                   || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)
                   || qobject_cast<QAbstractSpinBox *>(w)) {
            if (qobject_cast<QComboBox *>(w->parentWidget()) || qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
                continue;
            colour(w, QPalette::Base, edit, QPalette::Text, text);
            setFont(w, fontName, size, true);
        }
    }

    const QString picture = folder.isValid() ? folder.findFileAnyCase(u"backpic.jpg"_s) : QString();
    if (!picture.isEmpty()) {
        const QPixmap pixmap(picture);
        if (!pixmap.isNull()) {
            QPalette p = form->palette();
            p.setBrush(QPalette::Window, QBrush(pixmap));
            form->setPalette(p);
        }
    }
}

} // namespace sw
