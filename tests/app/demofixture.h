// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The demonstration folder, built once for the whole test program (it takes a while)
// and only read by the tests.
#include "app/demo/demofolder.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QTemporaryDir>

#include <memory>

namespace sw::test {

class BuiltDemo
{
public:
    static const AppFolder &folder() { return instance().m_folder; }
    // A new connection to the demo's database, as its configuration file names it.
    static std::unique_ptr<Database> connect() { return connectTo(folder()); }

private:
    BuiltDemo()
        : m_folder(m_dir.filePath(QStringLiteral("demo")))
    {
        ScriptedPrompter prompter;
        DemoFolder::build(m_folder, prompter);
    }
    static BuiltDemo &instance()
    {
        static BuiltDemo demo;
        return demo;
    }

    QTemporaryDir m_dir;
    AppFolder m_folder;
};

} // namespace sw::test
