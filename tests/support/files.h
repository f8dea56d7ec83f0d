// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files a test writes as its input and reads back as the program's output.
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

namespace sw::test {

// Writes `content` to `path`, creating its folders; fails the test when it cannot. Returns `path`.
inline QString writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(content);
    return path;
}

// The whole of a file as text; empty when it cannot be read.
inline QString fileText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Copies the folder `from` with everything under it to `to`; fails the test on a file it cannot copy.
inline void copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString target = to + u'/' + QDir(from).relativeFilePath(entry.filePath());
        if (entry.isDir())
            QDir().mkpath(target);
        else
            EXPECT_TRUE(QFile::copy(entry.filePath(), target)) << entry.filePath().toStdString();
    }
}

} // namespace sw::test
