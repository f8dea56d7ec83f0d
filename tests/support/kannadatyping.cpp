// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/kannadatyping.h"

#include "shell/document/fonttable.h"
#include "shell/forms/kannadabox.h"

#include <QAction>
#include <QCoreApplication>
#include <QInputMethodEvent>

#include <gtest/gtest.h>

namespace sw::test {

bool kannadaShownThroughUnicode(const QString &legacyFamily)
{
    return FontTable::readsAsUnicode(legacyFamily) && !FontTable::unicodeKannadaFamily().isEmpty();
}

void expectKannadaBox(const QLineEdit *box, const QString &legacyFamily)
{
    ASSERT_NE(box, nullptr);
    const QAction *marker = box->findChild<QAction *>(QStringLiteral("kannadaMarker"));
    if (kannadaShownThroughUnicode(legacyFamily)) {
        EXPECT_TRUE(KannadaBox::showsUnicode(box)) << box->objectName().toStdString();
        EXPECT_EQ(box->font().family(), FontTable::unicodeKannadaFamily()) << box->objectName().toStdString();
        ASSERT_NE(marker, nullptr) << box->objectName().toStdString();
        EXPECT_TRUE(marker->toolTip().contains(legacyFamily)) << marker->toolTip().toStdString();
    } else {
        EXPECT_FALSE(KannadaBox::showsUnicode(box)) << box->objectName().toStdString();
        EXPECT_EQ(box->font().family(), legacyFamily) << box->objectName().toStdString();
        EXPECT_EQ(marker, nullptr);
    }
}

void typeThroughInputMethod(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QCoreApplication::sendEvent(widget, &commit);
    }
}

} // namespace sw::test
