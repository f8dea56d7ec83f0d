// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/command.h"

#include <QHash>
#include <QString>

#include <optional>

namespace sw {

// The per-screen memory of the toolbar: one row per form name with the enabled
// state of the fourteen commands, written when a screen loses the focus to another
// and read back when it gets it again. Lives as long as the main window.
class ToolStateStore
{
public:
    // Adds the form's row when it is missing.
    void save(const QString &formName, const ToolStates &states);
    std::optional<ToolStates> restore(const QString &formName) const;
    qsizetype size() const { return m_rows.size(); }

private:
    // Form names are fixed-length texts of 50 characters in the store.
    static QString key(const QString &formName);

    QHash<QString, ToolStates> m_rows;
};

} // namespace sw
