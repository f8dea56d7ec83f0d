// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sw {

class Prompter;

// The database configuration dialog ("Database Path"). Writes the configuration
// file on OK; whichever way it closes, the program ends afterwards, so the new
// settings take effect at the next start.
class ConfigurationDialog : public QDialog
{
    Q_OBJECT
public:
    ConfigurationDialog(QString iniPath, Prompter &prompter, QWidget *parent = nullptr);

    void reject() override;

private:
    void typeChosen();
    void okClicked();
    bool eventFilter(QObject *watched, QEvent *event) override;

    QString m_iniPath;
    Prompter &m_prompter;
    QComboBox *m_type;
    QLabel *m_serverLabel;
    QLineEdit *m_server;
    QLabel *m_passwordLabel;
    QLineEdit *m_password;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    bool m_accepting = false;
};

} // namespace sw
