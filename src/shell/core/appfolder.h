// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace sw {

// The application folder: the INI file, the marker files, Photos/, CSV/, Backup/,
// pictures and report files all live under it. Paths written with backslashes
// (as the installation's own documents give them) are accepted and turned into '/'.
class AppFolder
{
public:
    AppFolder() = default;
    explicit AppFolder(const QString &root);

    // --folder DIR when given, else $SCROLLWISE_HOME, else the executable's folder.
    static AppFolder resolve(const QString &commandLineFolder);

    QString root() const { return m_root; }
    bool isValid() const { return !m_root.isEmpty(); }
    bool rootExists() const;

    QString filePath(const QString &relative) const;
    // `fileName` under Output/, where workbooks and documents are written (the folder
    // is made when missing; StopError when it cannot be).
    QString outputPath(const QString &fileName) const;
    bool exists(const QString &relative) const;

    // The file at `relative` whatever the letter case of its name's last part
    // (photographs arrive as 1234.JPG, 1234.jpg or 1234.Jpg); empty when none.
    QString findFileAnyCase(const QString &relative) const;

    // The first of baseName + "." + ext (ext in any case) in folder `relativeDir`; empty when none.
    QString findWithExtensions(const QString &relativeDir, const QString &baseName,
                               const QStringList &extensions) const;

private:
    QString m_root;
};

} // namespace sw
