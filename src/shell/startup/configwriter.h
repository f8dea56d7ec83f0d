// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QString>

#include <optional>

namespace sw {

// The rules of the database configuration dialog: which boxes a database type
// shows, the checks of its OK button, and what it writes to the configuration file.
class ConfigWriter
{
public:
    struct Choice
    {
        QString type;
        QString server;
        QString password; // as typed
    };

    enum class Field { Type, Server, Password };
    struct Refusal
    {
        QString text;
        Field field;
    };

    // The second label's caption for a type: "Server name" or "Connection string".
    static QString serverCaption(const QString &type);
    static bool showsServer(const QString &type);
    static bool showsPassword(const QString &type);

    // The OK button's checks, in order; their window title is "Error".
    static std::optional<Refusal> check(const Choice &choice);

    // Writes DBASEPATH and, as the type needs, SERVERNAME and the shifted PASSWORD.
    // Other keys of the file stay as they are. Returns false with `error` set when
    // the file cannot be written.
    static bool write(const QString &iniPath, const Choice &choice, QString *error = nullptr);
};

} // namespace sw
