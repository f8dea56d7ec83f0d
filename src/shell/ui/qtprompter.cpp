// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/qtprompter.h"

#include "shell/core/messagelog.h"
#include "shell/ui/listdialog.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QKeyEvent>
#include <QInputDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

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

// Keeps Space from pressing the buttons of a guarded question; for a question without
// a default also Enter and Esc, and the window's own close button, which would answer No.
class KeysAnswerNothing final : public QObject
{
public:
    KeysAnswerNothing(bool withoutDefault, QObject *parent)
        : QObject(parent)
        , m_withoutDefault(withoutDefault)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Space)
                return true;
            if (m_withoutDefault && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape))
                return true;
        }
        // Only the window system's close (the title bar's [X]); the buttons close it too.
        if (m_withoutDefault && event->type() == QEvent::Close && event->spontaneous())
            return true;
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_withoutDefault;
};

// A long text is a list: everything but its last paragraph scrolls, and the last
// paragraph (the question, when there is one) stays below it.
struct SplitText
{
    QString text;
    QStringList lines;
    QString last;
};

std::optional<SplitText> splitLong(const QString &text, bool keepLast)
{
    QString body = text;
    body.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    if (body.count(u'\n') < QtPrompter::kMostLinesInABox)
        return std::nullopt;
    SplitText split;
    if (keepLast) {
        const qsizetype at = body.lastIndexOf(u"\n\n"_s);
        if (at > 0) {
            split.last = body.mid(at + 2).trimmed();
            body.truncate(at);
        }
    }
    split.lines = body.split(u'\n');
    // The first line stays on top as the dialog's text.
    split.text = split.lines.takeFirst();
    while (!split.lines.isEmpty() && split.lines.first().trimmed().isEmpty())
        split.lines.removeFirst();
    return split;
}

QMessageBox::StandardButton toButton(PromptAnswer answer)
{
    switch (answer) {
    case PromptAnswer::Ok: return QMessageBox::Ok;
    case PromptAnswer::Yes: return QMessageBox::Yes;
    case PromptAnswer::No: return QMessageBox::No;
    case PromptAnswer::Cancel: return QMessageBox::Cancel;
    case PromptAnswer::None: return QMessageBox::NoButton;
    }
    return QMessageBox::Ok;
}
QString answerName(PromptAnswer answer)
{
    switch (answer) {
    case PromptAnswer::Ok: return u"Ok"_s;
    case PromptAnswer::Yes: return u"Yes"_s;
    case PromptAnswer::No: return u"No"_s;
    case PromptAnswer::Cancel: return u"Cancel"_s;
    case PromptAnswer::None: break;
    }
    return u"None"_s;
}
} // namespace

QtPrompter::QtPrompter(QWidget *parent)
    : m_parent(parent)
{
}

void QtPrompter::message(const QString &text, const QString &title, PromptIcon icon)
{
    if (const auto split = splitLong(text, false)) {
        showList(split->text, split->lines, title, icon);
        return;
    }
    messagelog::append(u"message"_s, title, text);
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
    if (buttons != PromptButtons::Ok) {
        if (const auto split = splitLong(text, true))
            return askWithList(split->text, split->lines, split->last, title, icon, buttons, defaultAnswer);
    }
    QMessageBox box(toIcon(icon), title, text, set, m_parent);
    if (defaultAnswer != PromptAnswer::None)
        box.setDefaultButton(toButton(defaultAnswer));
    if (guarded(defaultAnswer)) {
        auto *keys = new KeysAnswerNothing(defaultAnswer == PromptAnswer::None, &box);
        box.installEventFilter(keys);
        for (QWidget *child : box.findChildren<QWidget *>())
            child->installEventFilter(keys);
        for (QAbstractButton *button : box.buttons())
            button->setFocusPolicy(Qt::NoFocus);
    }
    PromptAnswer answer = PromptAnswer::Cancel;
    switch (box.exec()) {
    case QMessageBox::Yes: answer = PromptAnswer::Yes; break;
    case QMessageBox::No: answer = PromptAnswer::No; break;
    case QMessageBox::Ok: answer = PromptAnswer::Ok; break;
    default: break;
    }
    messagelog::append(u"question"_s, title, text, answerName(answer));
    return answer;
}

void QtPrompter::showList(const QString &text, const QStringList &lines, const QString &title, PromptIcon icon)
{
    messagelog::append(u"message"_s, title, (QStringList{text} + lines).join(u'\n'));
    ListDialog dialog(text, lines, {}, title, icon, PromptButtons::Ok, PromptAnswer::Ok, m_parent);
    dialog.exec();
}

PromptAnswer QtPrompter::askWithList(const QString &text, const QStringList &lines, const QString &question,
                                     const QString &title, PromptIcon icon, PromptButtons buttons,
                                     PromptAnswer defaultAnswer)
{
    ListDialog dialog(text, lines, question, title, icon, buttons, defaultAnswer, m_parent);
    dialog.exec();
    messagelog::append(u"question"_s, title, (QStringList{text} + lines + QStringList{question}).join(u'\n'),
                       answerName(dialog.answer()));
    return dialog.answer();
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
