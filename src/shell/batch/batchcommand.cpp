// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/batch/batchcommand.h"

#include "shell/core/permissions.h"
#include "shell/core/stoperror.h"
#include "shell/db/dberror.h"
#include "shell/forms/menutree.h"
#include "shell/startup/loginstore.h"
#include "shell/startup/startup.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Start-up without windows: a missing configuration or an older database is a
// message telling which command mends it. Start-up only speaks when it cannot go
// on, so everything it says goes to standard error.
class BatchStartupUi final : public StartupUi
{
public:
    BatchStartupUi(QTextStream &err, ConsolePrompter::Policy policy)
        : m_prompter(err, err, policy)
    {
    }
    Prompter &prompter() override { return m_prompter; }
    void showConfigurationDialog(const QString &iniFile) override
    {
        m_prompter.message(u"The configuration file "_s + iniFile
                               + u" is missing or names no usable database: run scrollwise-batch init."_s,
                           u"Message"_s, PromptIcon::Critical);
    }
    void showUpgrade(Database &, const AppFolder &) override
    {
        m_prompter.message(u"The database is older than the program: run scrollwise-batch upgrade."_s, u"Message"_s,
                           PromptIcon::Critical);
    }
    void processEvents() override { }

private:
    ConsolePrompter m_prompter;
};

const BatchOption *findOption(const BatchCommand &command, const QString &name)
{
    for (const BatchOption &o : command.options) {
        if (o.name == name)
            return &o;
    }
    return nullptr;
}

BatchArgs parseCommandArgs(const BatchCommand &command, const QStringList &words)
{
    BatchArgs args;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (!word.startsWith(u"--"_s) || word == u"--"_s) {
            args.positionals.append(word);
            continue;
        }
        QString name = word.mid(2);
        QString inlineValue;
        const qsizetype eq = name.indexOf(u'=');
        const bool hasInline = eq >= 0;
        if (hasInline) {
            inlineValue = name.mid(eq + 1);
            name = name.left(eq);
        }
        const BatchOption *option = findOption(command, name);
        if (!option)
            throw UsageError(u"Unknown option --"_s + name + u" for \""_s + command.name + u"\"."_s);
        if (option->valueName.isEmpty()) {
            args.flags.append(name);
            continue;
        }
        if (hasInline) {
            args.values.insert(name, inlineValue);
        } else {
            if (i + 1 >= words.size())
                throw UsageError(u"Option --"_s + name + u" needs a value ("_s + option->valueName + u")."_s);
            args.values.insert(name, words.at(++i));
        }
    }
    // A word the command does not take is refused, not passed over: "init /tmp/x" would
    // otherwise set up the program's own folder.
    if (command.arguments.isEmpty() && !args.positionals.isEmpty())
        throw UsageError(u"\""_s + command.name + u"\" takes options only, not \""_s + args.positionals.join(u' ')
                         + u"\"."_s);
    return args;
}

} // namespace

BatchContext::BatchContext(QTextStream &outStream, QTextStream &errStream)
    : prompter(outStream, errStream)
    , out(outStream)
    , err(errStream)
{
}

QString BatchContext::required(const QString &option) const
{
    const QString v = args.value(option);
    if (v.isEmpty())
        throw UsageError(u"Option --"_s + option + u" is required."_s);
    return v;
}

void BatchContext::needConvocation(const QString &what) const
{
    if (session.isAdminConvocation())
        throw UsageError(what + u": log in with --convo CODE."_s);
}

BatchTool::BatchTool() = default;

void BatchTool::add(BatchCommand command) { m_commands.push_back(std::move(command)); }

const BatchCommand *BatchTool::match(const QStringList &words, qsizetype *consumed) const
{
    const BatchCommand *best = nullptr;
    qsizetype bestWords = 0;
    for (const BatchCommand &c : m_commands) {
        const QStringList parts = c.name.split(u' ');
        if (parts.size() > words.size() || parts.size() <= bestWords)
            continue;
        if (words.mid(0, parts.size()) == parts) {
            best = &c;
            bestWords = parts.size();
        }
    }
    *consumed = bestWords;
    return best;
}

QString BatchTool::helpText(const QString &topic) const
{
    QString text = u"usage: scrollwise-batch [--folder DIR] [--user NAME --password PW] [--convo CODE] [--yes|--no] "
                   "COMMAND [OPTIONS]\n\n"
                   "The application folder is --folder DIR, else $SCROLLWISE_HOME, else the program's folder.\n"
                   "Exit codes: 0 done, 1 the run refused or stopped (message on standard error), 2 usage error.\n\n"
                   "Commands:\n"_s;
    for (const BatchCommand &c : m_commands) {
        if (!topic.isEmpty() && c.name != topic && !c.name.startsWith(topic + u' '))
            continue;
        text += u"  "_s + c.name;
        if (!c.arguments.isEmpty())
            text += u' ' + c.arguments;
        for (const BatchOption &o : c.options)
            text += u" [--"_s + o.name + (o.valueName.isEmpty() ? QString() : u' ' + o.valueName) + u']';
        text += u"\n      "_s + c.summary;
        if (!c.menuCode.isEmpty())
            text += u" (needs menu item "_s + c.menuCode + u')';
        if (c.administratorOnly)
            text += u" (ADMIN only)"_s;
        text += u'\n';
        for (const BatchOption &o : c.options) {
            if (!o.description.isEmpty())
                text += u"      --"_s + o.name + u": "_s + o.description + u'\n';
        }
    }
    return text;
}

int BatchTool::prepare(const BatchCommand &command, BatchContext &context)
{
    const bool login = command.needsLogin || (command.logsInWhenAsked && !context.user.isEmpty());
    if (!command.needsDatabase && !login)
        return batchexit::kOk;
    BatchStartupUi ui(context.err, context.prompter.policy());
    Startup startup(context.folder, ui);
    if (startup.run(context.session) != Startup::Outcome::ReadyForLogin)
        return batchexit::kRefused;
    if (!login)
        return batchexit::kOk;
    if (context.user.isEmpty())
        throw UsageError(u"\""_s + command.name + u"\" needs --user and --password."_s);
    const LoginStore store(context.session.db());
    const QString convo = context.convo.isEmpty() ? Session::adminConvocation() : context.convo;
    if (const auto refusal = store.login(context.session, context.user, context.password, convo)) {
        context.err << refusal->text << Qt::endl;
        return batchexit::kRefused;
    }
    if (const QString refusal = menuRefusal(context, command.menuCode, command.name); !refusal.isEmpty()) {
        context.err << refusal << Qt::endl;
        return batchexit::kRefused;
    }
    if (command.administratorOnly && !context.session.isAdministrator()) {
        context.err << u"Only ADMIN may run \""_s << command.name << u"\"; "_s << context.session.userName
                    << u" may not."_s << Qt::endl;
        return batchexit::kRefused;
    }
    for (const auto &setup : m_sessionSetups)
        setup(context.session);
    return batchexit::kOk;
}

QString menuRefusal(const BatchContext &context, const QString &menuCode, const QString &what)
{
    if (!permissions::allows(context.session.permissions, menuCode, context.session.isAdministrator()))
        return u"User "_s + context.session.userName + u" may not use menu item "_s + menuCode + u" (\""_s + what
               + u"\")."_s;
    // As on the menu: the work of a convocation is not done under the administration code.
    const MenuEntry *entry = findMenuEntry(menuCode);
    if (entry && entry->convocationCommand && context.session.isAdminConvocation())
        return u"\""_s + what + u"\" is the work of a convocation (menu item "_s + menuCode
               + u"): log in with --convo CODE, not "_s + Session::adminConvocation() + u'.';
    return {};
}

int BatchTool::main(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    BatchContext context(out, err);
    QStringList words = arguments;
    ConsolePrompter::Policy policy = ConsolePrompter::Policy::Unanswered;
    try {
        // Global options come before the command.
        while (!words.isEmpty() && words.first().startsWith(u"--"_s)) {
            const QString option = words.takeFirst();
            auto valueOf = [&](const QString &name) {
                if (words.isEmpty())
                    throw UsageError(u"Option "_s + name + u" needs a value."_s);
                return words.takeFirst();
            };
            if (option == u"--folder"_s)
                context.folderOption = valueOf(option);
            else if (option == u"--user"_s)
                context.user = valueOf(option).trimmed().toUpper(); // as the login screen keeps names

            else if (option == u"--password"_s)
                context.password = valueOf(option);
            else if (option == u"--convo"_s)
                context.convo = valueOf(option);
            else if (option == u"--yes"_s)
                policy = ConsolePrompter::Policy::Yes;
            else if (option == u"--no"_s)
                policy = ConsolePrompter::Policy::No;
            else if (option == u"--help"_s)
                words.prepend(u"help"_s);
            else
                throw UsageError(u"Unknown option "_s + option + u"."_s);
            if (option == u"--help"_s)
                break;
        }
        context.prompter.setPolicy(policy);
        if (words.isEmpty())
            throw UsageError(u"No command given; \"scrollwise-batch help\" lists them."_s);
        qsizetype consumed = 0;
        const BatchCommand *command = match(words, &consumed);
        if (!command)
            throw UsageError(u"Unknown command \""_s + words.first() + u"\"; \"scrollwise-batch help\" lists them."_s);
        context.args = parseCommandArgs(*command, words.mid(consumed));
        context.folder = AppFolder::resolve(context.folderOption);
        if (const int code = prepare(*command, context); code != batchexit::kOk)
            return code;
        return command->run(context);
    } catch (const UsageError &e) {
        err << e.text() << Qt::endl;
        return batchexit::kUsage;
    } catch (const UnansweredQuestion &e) {
        err << u"No answer for the question \""_s << e.question() << u"\": give --yes or --no."_s << Qt::endl;
        return batchexit::kRefused;
    } catch (const StopError &e) {
        err << e.text() << Qt::endl;
        return batchexit::kRefused;
    } catch (const DbError &e) {
        err << e.screenMessage() << Qt::endl;
        return batchexit::kRefused;
    }
}

bool kannadaChoice(const BatchContext &c)
{
    const QString choice = c.args.value(u"kannada"_s, u"legacy"_s).toLower();
    if (choice != u"unicode"_s && choice != u"legacy"_s)
        throw UsageError(u"--kannada takes unicode or legacy, not "_s + c.args.value(u"kannada"_s));
    return choice == u"unicode"_s;
}

} // namespace sw
