// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/messagelog.h"

#include <QFile>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace sw::messagelog {

namespace {
QString target() { return qEnvironmentVariable("SCROLLWISE_MESSAGE_LOG"); }

QString oneLine(QString text)
{
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u'\t', u' ');
    return text.split(u'\n').join(u" | "_s);
}
} // namespace

bool enabled() { return !target().isEmpty(); }

void append(const QString &kind, const QString &title, const QString &text, const QString &answer)
{
    const QString path = target();
    if (path.isEmpty())
        return;
    QFile file(path);
    // A transcript that cannot be written must not stop the clerk's work.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QStringList fields{kind, oneLine(title), oneLine(text)};
    if (!answer.isEmpty())
        fields.append(answer);
    file.write((fields.join(u'\t') + u'\n').toUtf8());
}

} // namespace sw::messagelog
