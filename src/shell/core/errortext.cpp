// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/errortext.h"

using namespace Qt::StringLiterals;

namespace sw {

QString errorText(ErrorForm form, const QString &number, const QString &description)
{
    switch (form) {
    case ErrorForm::Screen: return u"Error Occurred : "_s + number + u" . "_s + description;
    case ErrorForm::Report: return u"Error Message  : Err No. "_s + number + u"  "_s + description;
    case ErrorForm::Startup: return number + u"  "_s + description;
    case ErrorForm::Numbered: return number + u' ' + description;
    }
    return description;
}

QString reportFileError(FileErrorNumber number, const QString &description)
{
    return errorText(ErrorForm::Report, QString::number(int(number)), description);
}

QString reportFileError(FileErrorNumber number, const QString &path, const QString &reason)
{
    return reportFileError(number, path + u": "_s + reason);
}

} // namespace sw
