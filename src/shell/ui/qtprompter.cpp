// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/qtprompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace sw {

namespace {
QMessageBox::Icon toIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::None: return QMessageBox::NoIcon;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toButton(PromptAnswer answer)
{
    switch (answer) {
    case PromptAnswer::Ok: return QMessageBox::Ok;
    case PromptAnswer::Yes: return QMessageBox::Yes;
    case PromptAnswer::No: return QMessageBox::No;
    case PromptAnswer::Cancel: return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}
} // namespace

QtPrompter::QtPrompter(QWidget *parent)
    : m_parent(parent)
{
}

void QtPrompter::message(const QString &text, const QString &title, PromptIcon icon)
{
    QMessageBox box(toIcon(icon), title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

PromptAnswer QtPrompter::ask(const QString &text, const QString &title, PromptIcon icon, PromptButtons buttons,
                             PromptAnswer defaultAnswer)
{
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case PromptButtons::Ok: set = QMessageBox::Ok; break;
    case PromptButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case PromptButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case PromptButtons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    }
    QMessageBox box(toIcon(icon), title, text, set, m_parent);
    box.setDefaultButton(toButton(defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    case QMessageBox::Ok: return PromptAnswer::Ok;
    default: return PromptAnswer::Cancel;
    }
}

std::optional<QString> QtPrompter::input(const QString &text, const QString &title, const QString &initial)
{
    bool ok = false;
    const QString value = QInputDialog::getText(m_parent, title, text, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<QString> QtPrompter::inputSecret(const QString &text, const QString &title)
{
    bool ok = false;
    const QString value = QInputDialog::getText(m_parent, title, text, QLineEdit::Password, {}, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<QString> QtPrompter::chooseFile(const QString &caption, const QString &startDir, const QString &filter,
                                              FileMode mode)
{
    QString chosen;
    switch (mode) {
    case FileMode::Open: chosen = QFileDialog::getOpenFileName(m_parent, caption, startDir, filter); break;
    case FileMode::Save: chosen = QFileDialog::getSaveFileName(m_parent, caption, startDir, filter); break;
    case FileMode::Folder: chosen = QFileDialog::getExistingDirectory(m_parent, caption, startDir); break;
    }
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace sw
