// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"

#include <QDialog>

namespace sw {

class Database;
class Prompter;

// The upgrade window: "Configuring Database Please wait . . .". When shown it
// runs the upgrade (see UpgradeRun: a copy first, the stamp only when complete) and
// closes; the program then ends whatever the outcome.
class UpgradeWindow : public QDialog
{
    Q_OBJECT
public:
    UpgradeWindow(Database &db, AppFolder folder, Prompter &prompter, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void upgrade();

    Database &m_db;
    AppFolder m_folder;
    Prompter &m_prompter;
    bool m_started = false;
};

} // namespace sw
