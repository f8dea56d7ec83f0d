// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace sw {

class Database;
class Prompter;

// The upgrade window: "Configuring Database Please wait . . .". When shown it
// upgrades the schema, stamps the program's version and closes; the program then
// ends. An unexpected failure outside the upgrade leaves it open.
class FrmVersion : public QDialog
{
    Q_OBJECT
public:
    FrmVersion(Database &db, Prompter &prompter, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void upgrade();

    Database &m_db;
    Prompter &m_prompter;
    bool m_started = false;
};

} // namespace sw
