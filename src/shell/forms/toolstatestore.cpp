// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/toolstatestore.h"

namespace sw {

QString ToolStateStore::key(const QString &formName) { return formName.left(50); }

void ToolStateStore::save(const QString &formName, const ToolStates &states) { m_rows.insert(key(formName), states); }

std::optional<ToolStates> ToolStateStore::restore(const QString &formName) const
{
    const auto it = m_rows.constFind(key(formName));
    if (it == m_rows.constEnd())
        return std::nullopt;
    return *it;
}

} // namespace sw
