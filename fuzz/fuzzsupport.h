// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every fuzz target shares: one scratch folder for the files the readers open
// (they read paths, not memory), a Qt application where the reader needs one, and
// the rule that a refusal (StopError and its kinds) is an answer, not a crash.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace sw::fuzz {

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The scratch folder lives for the whole run; each input overwrites the same file.
// It is kept in memory where the system offers that, since the readers and the
// configuration writer touch the disk on every input.
inline const QTemporaryDir &scratch()
{
    static const QTemporaryDir dir(QDir(u"/dev/shm"_qs).exists() ? u"/dev/shm/scrollwise-fuzz-XXXXXX"_qs
                                                                 : QDir::tempPath() + u"/scrollwise-fuzz-XXXXXX"_qs);
    return dir;
}

inline QString writeScratch(const QString &name, const QByteArray &content)
{
    const QString path = scratch().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap(); // the harness itself is broken, not the reader
    file.write(content);
    return path;
}

// A property of the reader that must hold whatever the input: a failure is a finding.
inline void require(bool holds)
{
    if (!holds)
        __builtin_trap();
}

} // namespace sw::fuzz
