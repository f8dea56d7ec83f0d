// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/batch/consoleprompter.h"
#include "shell/core/appfolder.h"
#include "shell/session.h"

#include <QHash>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>
#include <vector>

namespace sw {

// Exit codes of the command-line tool.
namespace batchexit {
inline constexpr int kOk = 0;
inline constexpr int kRefused = 1; // the run refused or stopped; its message is on standard error
inline constexpr int kUsage = 2;
} // namespace batchexit

struct BatchOption
{
    QString name;      // without the leading "--"
    QString valueName; // empty for a flag
    QString description;
};

// A command's own arguments, after the global options.
class BatchArgs
{
public:
    QStringList positionals;
    QHash<QString, QString> values;
    QStringList flags;

    bool has(const QString &name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString &name, const QString &fallback = {}) const { return values.value(name, fallback); }
};

// Thrown by a command for a usage error (exit 2).
class UsageError : public std::runtime_error
{
public:
    explicit UsageError(const QString &text)
        : std::runtime_error(text.toStdString())
        , m_text(text)
    {
    }
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

class BatchContext;

struct BatchCommand
{
    QString name;      // one or more words: "init", "candidate show"
    QString arguments; // positional arguments for the usage line: "DIR"
    QString summary;
    std::vector<BatchOption> options;
    QString menuCode;           // the menu code of the screen the command stands for; empty: none needed
    bool needsLogin = false;    // log in with --user/--password/--convo first
    bool needsDatabase = false; // connect (start-up up to the login) first
    std::function<int(BatchContext &)> run;
    // Only ADMIN may run it (what changes the whole installation, or reads its audit).
    bool administratorOnly = false;
    // Works without a login, and logs in as needsLogin does when --user is given.
    bool logsInWhenAsked = false;
};

// Everything a command runs with: the folder, the prompter, the session (connected
// and logged in when the command asked for it), its arguments and the two streams.
class BatchContext
{
public:
    BatchContext(QTextStream &out, QTextStream &err);

    AppFolder folder;
    QString folderOption; // --folder as given (empty when not)
    QString user;
    QString password;
    QString convo;
    ConsolePrompter prompter;
    Session session;
    BatchArgs args;
    QTextStream &out;
    QTextStream &err;

    // The command's value or a usage error naming the missing option.
    QString required(const QString &option) const;
    // A usage error under the administration code, for what belongs to one convocation:
    // "`what`: log in with --convo CODE." ("Sheets belong to a convocation's printing").
    void needConvocation(const QString &what) const;
};

// Why the logged-in user may not do `what` (a command, or a part of one that needs
// another screen's item) under menu item `menuCode`, as the menu would grey it out:
// the item is not in his permissions, or it is a convocation's work and he is logged
// in under the administration code. Empty when he may.
QString menuRefusal(const BatchContext &context, const QString &menuCode, const QString &what);

// The `--kannada unicode|legacy` choice of the exports: true for unicode; legacy when not given.
bool kannadaChoice(const BatchContext &c);

// The command-line tool: global options, then a command of the registry.
class BatchTool
{
public:
    BatchTool();

    void add(BatchCommand command);
    const std::vector<BatchCommand> &commands() const { return m_commands; }
    // What a subsystem installs in the session once a command has logged in.
    void addSessionSetup(std::function<void(Session &)> setup) { m_sessionSetups.push_back(std::move(setup)); }

    int main(const QStringList &arguments, QTextStream &out, QTextStream &err);
    // The usage text; with `topic` ("users", "print"), only the commands it begins.
    QString helpText(const QString &topic = {}) const;

private:
    const BatchCommand *match(const QStringList &words, qsizetype *consumed) const;
    int prepare(const BatchCommand &command, BatchContext &context);

    std::vector<BatchCommand> m_commands;
    std::vector<std::function<void(Session &)>> m_sessionSetups;
};

} // namespace sw
