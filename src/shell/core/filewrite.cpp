// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/filewrite.h"

#include "shell/core/stoperror.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

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

QString failureText(const QString &path, const QString &reason)
{
    return u"The file "_s + path + u" cannot be written: "_s + reason + u'.';
}

[[noreturn]] void fail(const QString &path, const QString &reason)
{
    throw StopError(failureText(path, reason), PromptIcon::Critical);
}

#ifndef Q_OS_WIN
QString systemReason() { return QString::fromLocal8Bit(std::strerror(errno)); }

// A new file beside `path`, named for it and not there before, to be renamed over it.
// Created as any new file is (the user's file mode mask applies), not private as QTemporaryFile.
bool openBeside(const QString &path, QFile &file)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        file.setFileName(path + u'.' + QString::number(QRandomGenerator::global()->generate(), 36) + u".part"_s);
        errno = 0;
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// `sync` (syncfs, fsync) run on `folder`'s descriptor.
bool syncFolder(const QString &folder, int (*sync)(int))
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = sync(fd) == 0;
    ::close(fd);
    return synced;
}
#endif

} // namespace

WholeFilesWritten writeWholeFiles(const std::vector<WholeFile> &files)
{
    WholeFilesWritten result;
#ifdef Q_OS_WIN
    // No sync of a whole file system there: each file is written and forced on its own.
    for (const WholeFile &file : files) {
        try {
            writeWholeFile(file.path, file.bytes);
        } catch (const StopError &e) {
            result.failure = e.text();
            break;
        }
        ++result.count;
    }
    return result;
#else
    std::vector<std::unique_ptr<QFile>> written;
    // Whatever is not renamed over its file goes: a stop leaves the files as they were.
    const auto leftOver = qScopeGuard([&] {
        for (std::size_t i = std::size_t(result.count); i < written.size(); ++i)
            written[i]->remove();
    });
    for (const WholeFile &file : files) {
        auto temporary = std::make_unique<QFile>();
        if (!openBeside(file.path, *temporary)) {
            result.failure = failureText(file.path, errno ? systemReason() : temporary->errorString());
            break;
        }
        errno = 0;
        const bool whole = temporary->write(file.bytes) == file.bytes.size() && temporary->flush();
        const QString reason = errno ? systemReason() : temporary->errorString();
        temporary->close();
        if (!whole) {
            temporary->remove();
            result.failure = failureText(file.path, reason);
            break; // the files before it are still written
        }
        written.push_back(std::move(temporary));
    }
    QSet<QString> folders;
    for (std::size_t i = 0; i < written.size(); ++i)
        folders.insert(QFileInfo(files[i].path).absolutePath());
    // One sync of each file system forces every file of the batch with one journal commit,
    // where a sync per file commits the journal once a file.
    for (const QString &folder : std::as_const(folders)) {
        errno = 0;
        if (!syncFolder(folder, ::syncfs)) {
            result.failure = failureText(files.front().path, systemReason());
            return result;
        }
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (std::rename(QFile::encodeName(written[i]->fileName()).constData(),
                        QFile::encodeName(files[i].path).constData())
            != 0) {
            result.failure = failureText(files[i].path, systemReason());
            break;
        }
        ++result.count;
    }
    for (const QString &folder : std::as_const(folders))
        syncFolder(folder, ::fsync); // the new names, as the contents before them
    return result;
#endif
}

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
