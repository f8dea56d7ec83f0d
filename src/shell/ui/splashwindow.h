// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace sw {

// The splash window shown while the program starts. A key press or a click on it
// closes only the splash: start-up goes on behind it.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);

    // Shows the institution's title under the product's.
    void showInstitution(const QString &title);
    // The login window is open: the two buttons appear (still disabled).
    void loginOpened();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QLabel *m_labelName;
    QLabel *m_software;
    QPushButton *m_ok;
    QPushButton *m_sysInfo;
};

} // namespace sw
