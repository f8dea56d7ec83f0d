// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"

#include "shell/core/inifile.h"

#include <memory>
#include <vector>
#include <QString>

namespace sw {

// The institution file (Institution.ini in the application folder, UTF-8): the
// deployment data that layouts and headers print and that differs between
// institutions: their titles by institution code, letter heads, signing offices,
// online link rows. Read once; a missing file reads as empty.
class InstitutionConfig
{
public:
    static constexpr const char *kFileName = "Institution.ini";

    static InstitutionConfig load(const AppFolder &folder);

    // A setting the certificate layouts print, and what it is.
    struct Setting
    {
        QString section;
        QString key;
        QString prints;       // what the layouts print from it, for the file's comments and the checks
        bool kannada = false; // typed in the legacy Kannada font's codes
    };
    // Every setting of the certificate layouts, in the order the file lists them.
    static const std::vector<Setting> &layoutSettings();
    // The file a new installation starts with: its sections and every layout
    // setting, commented out, each with what it prints.
    static QString templateText(const QString &institutionCode);

    // [TITLES] CODE=full name and town; empty for a code without one.
    QString title(const QString &institutionCode) const;
    QString value(const QString &section, const QString &key) const;

private:
    std::shared_ptr<IniFile> m_file;
};

} // namespace sw
