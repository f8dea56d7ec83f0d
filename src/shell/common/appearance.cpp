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

Appearance Appearance::read(Database &db)
{
    ControlStore store(db);
    store.ensureRow();
    Appearance a;
    static_cast<AppearanceSettings &>(a) = store.appearance(AppearanceSettings::whenNull());
    return a;
}

double Appearance::pointSize() const { return sizeOf(fontSize, 8); }

void Appearance::apply(QWidget *form, const QString &gridFontSize, const AppFolder &folder) const
{
    const QColor screen = colourFromBgrText(screenColour);
    const QColor text = colourFromBgrText(fontColour);
    const QColor label = colourFromBgrText(labelColour);
    const QColor edit = colourFromBgrText(onlineFieldColour);
    const double size = pointSize();

    colour(form, QPalette::Window, screen, QPalette::WindowText, label);
    form->setAutoFillBackground(true);
    QFont formFont = form->font();
    formFont.setFamily(font);
    form->setFont(formFont);

    for (QWidget *w : form->findChildren<QWidget *>()) {
        // Status bars keep the desktop's look: they carry hints, not data.
        if (qobject_cast<QStatusBar *>(w) || qobject_cast<QStatusBar *>(w->parentWidget()))
            continue;
        if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w) || qobject_cast<QLabel *>(w)) {
            colour(w, QPalette::Window, screen, QPalette::WindowText, label);
            setFont(w, font, size, true);
        } else if (qobject_cast<QTableView *>(w)) {
            colour(w, QPalette::Window, screen, QPalette::ButtonText, text);
            setFont(w, font, sizeOf(gridFontSize, 8), false);
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QListView *>(w)
                   || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)
                   || qobject_cast<QAbstractSpinBox *>(w)) {
            if (qobject_cast<QComboBox *>(w->parentWidget()) || qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
                continue;
            colour(w, QPalette::Base, edit, QPalette::Text, text);
            setFont(w, font, size, true);
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
