// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/institutionconfig.h"

using namespace Qt::StringLiterals;

namespace sw {

InstitutionConfig InstitutionConfig::load(const AppFolder &folder)
{
    InstitutionConfig config;
    const QString path = folder.findFileAnyCase(QString::fromLatin1(kFileName));
    if (path.isEmpty())
        return config;
    auto file = std::make_shared<IniFile>(path, IniFile::Encoding::Utf8);
    if (file->load())
        config.m_file = std::move(file);
    return config;
}

QString InstitutionConfig::title(const QString &institutionCode) const
{
    return value(u"TITLES"_s, institutionCode.trimmed());
}

QString InstitutionConfig::value(const QString &section, const QString &key) const
{
    return m_file ? m_file->value(section, key) : QString();
}

} // namespace sw
