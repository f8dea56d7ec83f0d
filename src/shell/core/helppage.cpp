// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/helppage.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

QString bundledHelpFolder()
{
    if (!QCoreApplication::instance())
        return {};
    const QDir programs(QCoreApplication::applicationDirPath());
    for (const QString &candidate : {u"Help"_s, u"../share/scrollwise/Help"_s}) {
        const QString folder = QDir::cleanPath(programs.filePath(candidate));
        if (QFileInfo::exists(folder + u"/index.html"_s))
            return folder;
    }
    return {};
}

bool copyBundledHelp(const QString &folder)
{
    const QString from = bundledHelpFolder();
    if (from.isEmpty())
        return false;
    const QDir source(from);
    const QDir target(QDir(folder).filePath(u"Help"_s));
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString copy = target.filePath(source.relativeFilePath(file));
        QDir().mkpath(QFileInfo(copy).path());
        QFile::remove(copy);
        if (!QFile::copy(file, copy))
            return false;
    }
    return true;
}

} // namespace sw
