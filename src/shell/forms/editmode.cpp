// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/editmode.h"

using namespace Qt::StringLiterals;

namespace sw {

QChar editModeLetter(EditMode mode)
{
    switch (mode) {
    case EditMode::Add: return u'A';
    case EditMode::Edit: return u'E';
    case EditMode::Delete: return u'D';
    case EditMode::Browse: break;
    }
    return u'Z';
}

EditMode editModeFor(const QString &operation)
{
    if (operation == u"add"_s)
        return EditMode::Add;
    if (operation == u"edit"_s)
        return EditMode::Edit;
    if (operation == u"delete"_s)
        return EditMode::Delete;
    return EditMode::Browse;
}

QString editModeText(EditMode mode)
{
    switch (mode) {
    case EditMode::Add: return u"add Mode"_s;
    case EditMode::Edit: return u"edit Mode"_s;
    case EditMode::Delete: return u"delete Mode"_s;
    case EditMode::Browse: break;
    }
    return {};
}

} // namespace sw
