// SPDX-License-Identifier: GPL-3.0-or-later
#include "demosession.h"

#include "app/demo/demofolder.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/inifile.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/startup/startup.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace sw::bench {

Session demoSession(const AppFolder &folder)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    ConsolePrompter quiet(out, err, ConsolePrompter::Policy::Yes);
    DemoFolder::build(folder, quiet);
    IniFile ini(Startup::iniPath(folder));
    ini.load();
    Session session;
    session.folder = folder;
    session.cn = Connector::open(ConnectionSettings::read(ini), folder, {});
    session.convoCode = DemoFolder::currentConvocation();
    session.userName = u"ADMIN"_s;
    session.instCode = u"003"_s;
    return session;
}

} // namespace sw::bench
