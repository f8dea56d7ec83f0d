// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/appfolder.h"

#include "shell/core/stoperror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
QString normalise(QString path)
{
    path.replace(u'\\', u'/');
    while (path.startsWith(u'/'))
        path.remove(0, 1);
    return path;
}
} // namespace

AppFolder::AppFolder(const QString &root)
    : m_root(root.isEmpty() ? QString() : QDir::cleanPath(QDir(root).absolutePath()))
{
}

AppFolder AppFolder::resolve(const QString &commandLineFolder)
{
    if (!commandLineFolder.isEmpty())
        return AppFolder(commandLineFolder);
    const QString fromEnvironment = qEnvironmentVariable("SCROLLWISE_HOME");
    if (!fromEnvironment.isEmpty())
        return AppFolder(fromEnvironment);
    return AppFolder(QCoreApplication::applicationDirPath());
}

bool AppFolder::rootExists() const { return isValid() && QFileInfo(m_root).isDir(); }

QString AppFolder::filePath(const QString &relative) const
{
    const QString rel = normalise(relative);
    return rel.isEmpty() ? m_root : m_root + u'/' + rel;
}

QString AppFolder::outputPath(const QString &fileName) const
{
    const QString dir = filePath(u"Output"_s);
    if (!QDir().mkpath(dir))
        throw StopError(u"The folder "_s + dir + u" cannot be created."_s);
    return QDir(dir).filePath(fileName);
}

bool AppFolder::exists(const QString &relative) const { return QFileInfo::exists(filePath(relative)); }

QString AppFolder::findFileAnyCase(const QString &relative) const
{
    const QString exact = filePath(relative);
    if (QFileInfo::exists(exact))
        return exact;
    const QFileInfo info(exact);
    const QDir dir = info.dir();
    if (!dir.exists())
        return {};
    const QString wanted = info.fileName();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

QString AppFolder::findWithExtensions(const QString &relativeDir, const QString &baseName,
                                      const QStringList &extensions) const
{
    const QDir dir(filePath(relativeDir));
    if (!dir.exists() || baseName.isEmpty())
        return {};
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString &ext : extensions) {
        const QString wanted = baseName + u'.' + ext;
        for (const QString &entry : entries) {
            if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
                return dir.filePath(entry);
        }
    }
    return {};
}

} // namespace sw
