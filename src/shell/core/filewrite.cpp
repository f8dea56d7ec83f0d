// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/filewrite.h"

#include "shell/core/stoperror.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Qt names some failures only "Unknown error"; the system's errno says what it was.
QString reasonOf(const QSaveFile &file, int savedErrno)
{
    const QString qtReason = file.errorString();
    if (savedErrno != 0 && (qtReason.isEmpty() || qtReason.contains(u"Unknown error"_s, Qt::CaseInsensitive)))
        return QString::fromLocal8Bit(std::strerror(savedErrno));
    return qtReason;
}

[[noreturn]] void fail(const QString &path, const QString &reason)
{
    throw StopError(u"The file "_s + path + u" cannot be written: "_s + reason + u'.', PromptIcon::Critical);
}

} // namespace

void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        fail(path, reasonOf(file, errno));
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // The reason is read before the temporary file is dropped, which names a reason of its own.
        const QString reason = reasonOf(file, errno);
        file.cancelWriting();
        fail(path, reason);
    }
    errno = 0;
    if (!file.commit())
        fail(path, reasonOf(file, errno));
}

} // namespace sw
