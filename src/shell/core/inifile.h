// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace sw {

// A Windows-style initialisation file: [sections] and key=value lines.
//
// The configuration file is read and written as 8-bit characters (Latin-1), because the stored
// password is a shifted text whose characters may lie anywhere up to code 255,
// and written back without quoting or escaping. Files people edit by hand (the
// institution file) are UTF-8. Section and key names compare
// without regard to case. Lines the reader does not understand (comments, garbage,
// lines without '=') are kept as they are when the file is written again.
// QSettings is not used: it quotes and escapes values and rewrites the whole file.
class IniFile
{
public:
    enum class Encoding { Latin1, Utf8 };
    explicit IniFile(QString path, Encoding encoding = Encoding::Latin1);

    const QString &path() const { return m_path; }
    bool exists() const;

    // Reads the file; a missing file reads as empty. Returns false when it cannot be read.
    bool load();
    // Writes the file atomically; on failure `errorString()` says why.
    bool save();
    QString errorString() const { return m_error; }

    // The value under [section], trimmed of blanks and cut at the first NUL and at
    // 254 characters, as the fixed 255-character buffer of the original readers did.
    // Empty when absent.
    QString value(const QString &section, const QString &key) const;
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);

private:
    int findSection(const QString &section) const;
    int findKey(int sectionLine, const QString &key) const;
    void placeValue(const QString &section, const QString &key, const QString &value);
    // The line of each key a reader finds (the first of its name in the first section of
    // that name), made again whenever the lines change: layouts read settings per sheet.
    void indexKeys();

    QString m_path;
    Encoding m_encoding;
    QStringList m_lines;
    QHash<QString, int> m_keyLines; // folded "section\nkey" -> line
    QString m_error;
};

} // namespace sw
