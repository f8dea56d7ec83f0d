// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/demo/demofolder.h"

#include "shell/batch/batchcommand.h"
#include "shell/startup/installer.h"

using namespace Qt::StringLiterals;

namespace sw {

DemoFolder::Summary DemoFolder::build(const AppFolder &folder, Prompter &prompter)
{
    Installer::Options options;
    options.institution = u"003"_s;
    Summary summary;
    summary.lines = Installer::install(folder, options, prompter).done;
    return summary;
}

void addDemoCommand(BatchTool &tool)
{
    tool.add({u"demo"_s, u"DIR"_s, u"Builds a demonstration application folder on SQLite in DIR."_s, {}, {}, false,
              false, [](BatchContext &c) {
                  if (c.args.positionals.size() != 1)
                      throw UsageError(u"demo needs one folder: scrollwise-batch demo DIR"_s);
                  const DemoFolder::Summary s = DemoFolder::build(AppFolder(c.args.positionals.first()), c.prompter);
                  for (const QString &line : s.lines)
                      c.out << line << Qt::endl;
                  return batchexit::kOk;
              }});
}

} // namespace sw
