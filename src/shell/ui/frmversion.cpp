// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/frmversion.h"

#include "shell/core/versiontext.h"
#include "shell/db/schemaupgrade.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

FrmVersion::FrmVersion(Database &db, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_prompter(prompter)
{
    setObjectName(u"FRMVERSION"_s);
    setWindowTitle(u"Scrollwise"_s);
    setModal(true);
    auto *label = new QLabel(u"Configuring Database Please wait . . ."_s, this);
    label->setObjectName(u"Label1"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
}

void FrmVersion::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(0, this, &FrmVersion::upgrade);
}

void FrmVersion::upgrade()
{
    SchemaUpgrade upgrade(m_db, m_prompter);
    if (upgrade.runAndStamp(programVersion()))
        accept();
}

} // namespace sw
