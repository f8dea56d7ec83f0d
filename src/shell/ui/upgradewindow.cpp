// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/upgradewindow.h"

#include "shell/core/versiontext.h"
#include "shell/backup/upgraderun.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

UpgradeWindow::UpgradeWindow(Database &db, AppFolder folder, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_folder(std::move(folder))
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

void UpgradeWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(0, this, &UpgradeWindow::upgrade);
}

void UpgradeWindow::upgrade()
{
    const UpgradeRun::Result result = UpgradeRun(m_db, m_folder, m_prompter).run(programVersion());
    if (result.outcome == UpgradeRun::Outcome::Upgraded)
        accept();
    else
        reject();
}

} // namespace sw
