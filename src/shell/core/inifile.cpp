// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
constexpr qsizetype kValueBuffer = 254;

bool isSectionLine(const QString &trimmed) { return trimmed.startsWith(u'[') && trimmed.endsWith(u']'); }

QString sectionName(const QString &trimmed) { return trimmed.mid(1, trimmed.size() - 2).trimmed(); }

QString indexKey(const QString &section, const QString &key)
{
    return section.toCaseFolded() + u'\n' + key.toCaseFolded();
}
} // namespace

IniFile::IniFile(QString path, Encoding encoding)
    : m_path(std::move(path))
    , m_encoding(encoding)
{
}

bool IniFile::exists() const { return QFileInfo(m_path).isFile(); }

bool IniFile::load()
{
    m_lines.clear();
    m_error.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    const QString text = m_encoding == Encoding::Utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    m_lines = text.split(u'\n');
    for (QString &line : m_lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    while (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    indexKeys();
    return true;
}

void IniFile::indexKeys()
{
    m_keyLines.clear();
    QSet<QString> sections;
    QString section;
    bool firstOfName = false; // a later section of the same name is not read
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines.at(i).trimmed();
        if (isSectionLine(trimmed)) {
            section = sectionName(trimmed).toCaseFolded();
            firstOfName = !sections.contains(section);
            sections.insert(section);
            continue;
        }
        const qsizetype eq = trimmed.indexOf(u'=');
        if (!firstOfName || eq <= 0)
            continue;
        const QString key = indexKey(section, trimmed.left(eq).trimmed());
        if (!m_keyLines.contains(key)) // the first of two keys of a name is read
            m_keyLines.insert(key, i);
    }
}

bool IniFile::save()
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    QByteArray bytes;
    for (const QString &line : std::as_const(m_lines))
        bytes += (m_encoding == Encoding::Utf8 ? line.toUtf8() : line.toLatin1()) + "\r\n";
    file.write(bytes);
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

int IniFile::findSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines.at(i).trimmed();
        if (isSectionLine(trimmed) && sectionName(trimmed).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString &key) const
{
    for (int i = sectionLine + 1; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines.at(i).trimmed();
        if (isSectionLine(trimmed))
            break;
        const qsizetype eq = trimmed.indexOf(u'=');
        if (eq > 0 && trimmed.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return m_keyLines.contains(indexKey(section, key));
}

QString IniFile::value(const QString &section, const QString &key) const
{
    const int k = m_keyLines.value(indexKey(section, key), -1);
    if (k < 0)
        return {};
    const QString &line = m_lines.at(k);
    QString raw = line.mid(line.indexOf(u'=') + 1);
    const qsizetype nul = raw.indexOf(QChar(0));
    if (nul >= 0)
        raw.truncate(nul);
    raw.truncate(kValueBuffer);
    // Only blanks are trimmed: a shifted password may begin or end with other
    // low characters that are part of the value.
    qsizetype start = 0;
    qsizetype end = raw.size();
    while (start < end && raw.at(start) == u' ')
        ++start;
    while (end > start && raw.at(end - 1) == u' ')
        --end;
    return raw.mid(start, end - start);
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    placeValue(section, key, value);
    indexKeys(); // the lines after an inserted one have moved
}

void IniFile::placeValue(const QString &section, const QString &key, const QString &value)
{
    int s = findSection(section);
    if (s < 0) {
        m_lines.append(u'[' + section + u']');
        m_lines.append(key + u'=' + value);
        return;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        m_lines[k] = key + u'=' + value;
        return;
    }
    // Append after the section's last key line so the section stays together.
    int insertAt = s + 1;
    for (int i = s + 1; i < m_lines.size(); ++i) {
        const QString trimmed = m_lines.at(i).trimmed();
        if (isSectionLine(trimmed))
            break;
        if (!trimmed.isEmpty())
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, key + u'=' + value);
}

} // namespace sw
