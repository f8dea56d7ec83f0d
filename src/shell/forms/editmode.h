// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

namespace sw {

// What a record screen is doing: browsing, or a change in progress (adding, editing,
// deleting). The installations know the modes by their letters "Z", "A", "E", "D".
enum class EditMode { Browse, Add, Edit, Delete };

QChar editModeLetter(EditMode mode);
// The mode an "add", "edit" or "delete" command enters; Browse for any other word.
EditMode editModeFor(const QString &operation);
// The main window's mode panel: "add Mode", "edit Mode", "delete Mode"; empty while browsing.
QString editModeText(EditMode mode);

} // namespace sw
