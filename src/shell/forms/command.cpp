// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/command.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

struct CommandInfo
{
    QString name;
    QString caption;
    QKeySequence shortcut;
    bool enabledAtDesign;
};

const std::array<CommandInfo, kCommandCount> &table()
{
    static const std::array<CommandInfo, kCommandCount> list = {{
        {u"add"_s, u"&Add"_s, QKeySequence(Qt::Key_F4), true},
        {u"edit"_s, u"&Edit"_s, QKeySequence(Qt::Key_F5), false},
        {u"delete"_s, u"&Delete"_s, QKeySequence(Qt::Key_F7), false},
        {u"save"_s, u"&Save"_s, QKeySequence(Qt::Key_F6), false},
        {u"cancel"_s, u"&Cancel"_s, QKeySequence(Qt::Key_F11), false},
        {u"exit"_s, u"E&xit"_s, QKeySequence(Qt::CTRL | Qt::Key_T), false},
        {u"search"_s, u"Sea&rch"_s, QKeySequence(Qt::CTRL | Qt::Key_H), false},
        {u"preview"_s, u"Pre&view"_s, QKeySequence(Qt::CTRL | Qt::Key_W), false},
        {u"print"_s, u"&Print"_s, QKeySequence(Qt::CTRL | Qt::Key_P), false},
        {u"spool"_s, u"Sp&ool"_s, QKeySequence(Qt::CTRL | Qt::Key_O), false},
        {u"first"_s, u"&First"_s, QKeySequence(Qt::Key_F8), true},
        {u"previous"_s, u"Prev&ious"_s, QKeySequence(Qt::Key_F2), true},
        {u"next"_s, u"&Next"_s, QKeySequence(Qt::Key_F3), true},
        {u"last"_s, u"&Last"_s, QKeySequence(Qt::Key_F9), true},
    }};
    return list;
}

} // namespace

QString commandName(Command c) { return table()[slot(c)].name; }

std::optional<Command> commandFromName(const QString &name)
{
    for (int i = 1; i <= kCommandCount; ++i) {
        if (table()[std::size_t(i - 1)].name == name)
            return commandAt(i);
    }
    return std::nullopt;
}

QString commandCaption(Command c) { return table()[slot(c)].caption; }

QKeySequence commandShortcut(Command c) { return table()[slot(c)].shortcut; }

bool enabledAtDesign(Command c) { return table()[slot(c)].enabledAtDesign; }

} // namespace sw
