// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2efixture.h"

#include "candidates/imports/cnvwriter.h"
#include "shell/core/inifile.h"
#include "shell/db/dberror.h"
#include "shell/startup/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace sw::test {

BatchFolder::BatchFolder(TestBackend backend)
    : m_backend(backend)
    , m_folder(m_dir.filePath(u"app"_s))
{
    if (backend == TestBackend::SQLite)
        install(std::nullopt);
    else if (const auto server = MariaDbServer::fromEnvironment())
        install(server);
}

BatchFolder::BatchFolder(const MariaDbServer &server)
    : m_backend(TestBackend::MariaDB)
    , m_folder(m_dir.filePath(u"app"_s))
{
    install(server);
}

void BatchFolder::install(const std::optional<MariaDbServer> &server)
{
    QStringList init{u"--folder"_s, m_folder.root(), u"init"_s, u"--institution"_s, u"003"_s};
    if (server) {
        m_databaseName = uniqueName(u"swe2e"_s);
        init << u"--type"_s << u"MYSQL"_s << u"--server"_s << server->hostPort << u"--admin-user"_s << server->user
             << u"--db-password"_s << server->password << u"--db-name"_s << m_databaseName;
    }
    m_init = runBatch(init);
    if (m_init.exitCode != 0) {
        ADD_FAILURE() << "init: " << m_init.both();
        return;
    }
    reconnect();
}

BatchFolder::~BatchFolder()
{
    if (m_databaseName.isEmpty() || !m_db)
        return;
    try {
        m_db->exec(u"DROP DATABASE IF EXISTS `"_s + m_databaseName + u'`');
    } catch (const DbError &) {
    }
}

void BatchFolder::reconnect()
{
    m_db.reset();
    m_db = connectTo(m_folder);
}

namespace {

QStringList clerkArguments(const AppFolder &folder, const QString &convocation)
{
    return {u"--folder"_s,   folder.root(), u"--user"_s,  u"ADMIN"_s,
            u"--password"_s, u"ADMIN"_s,    u"--convo"_s, convocation};
}

// Whether a process may be given a host name of its own here (a UTS namespace: root, or
// unprivileged namespaces allowed).
bool ownHostNames()
{
    static const bool allowed = [] {
        QProcess p;
        p.start(u"unshare"_s, {u"--uts"_s, u"hostname"_s, u"probe"_s});
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }();
    return allowed;
}

// The program and arguments that run the tool as `workstation`.
std::pair<QString, QStringList> workstationCommand(const QString &workstation, const QStringList &arguments)
{
    if (!ownHostNames())
        return {QStringLiteral(SCROLLWISE_BATCH_PATH), arguments};
    return {u"unshare"_s, QStringList{u"--uts"_s, u"sh"_s, u"-c"_s, u"hostname \"$0\" && exec \"$@\""_s, workstation,
                                      QStringLiteral(SCROLLWISE_BATCH_PATH)}
                              + arguments};
}

BatchRun clusterScript(const QString &action, int node, const QString &folder)
{
    return runProgram(QStringLiteral(SCROLLWISE_SOURCE_DIR "/scripts/cluster"),
                      {action, QString::number(node), folder});
}

} // namespace

std::optional<GaleraCluster> GaleraCluster::fromEnvironment()
{
    const QStringList nodes = qEnvironmentVariable("SCROLLWISE_TEST_CLUSTER").split(u',', Qt::SkipEmptyParts);
    if (nodes.size() != 3)
        return std::nullopt;
    return GaleraCluster{nodes, qEnvironmentVariable("SCROLLWISE_TEST_CLUSTER_USER", u"root"_s),
                         qEnvironmentVariable("SCROLLWISE_TEST_CLUSTER_PASSWORD"),
                         qEnvironmentVariable("SCROLLWISE_CLUSTER_DIR")};
}

BatchRun GaleraCluster::kill(int node) const { return clusterScript(u"kill"_s, node, folder); }

BatchRun GaleraCluster::rejoin(int node) const { return clusterScript(u"start-node"_s, node, folder); }

BatchRun Workstation::run(const QStringList &command, const QString &convocation) const
{
    const auto [program, arguments] = workstationCommand(name, clerkArguments(folder, convocation) + command);
    return runProgram(program, arguments);
}

void Workstation::start(QProcess &process, const QStringList &command, const QString &convocation) const
{
    const auto [program, arguments] = workstationCommand(name, clerkArguments(folder, convocation) + command);
    process.start(program, arguments);
}

QStringList BatchFolder::as(const QString &convocation) const { return clerkArguments(m_folder, convocation); }

Workstation BatchFolder::workstation(const QString &name, const QString &hostPort) const
{
    // Campuses may name their desks alike: the folder is kept apart by the server too.
    const AppFolder folder(m_dir.filePath(u"workstation-%1-%2"_s.arg(name, QString(hostPort).replace(u':', u'-'))));
    copyFolder(m_folder.root(), folder.root());
    if (!hostPort.isEmpty()) {
        IniFile ini(Startup::iniPath(folder));
        ini.load();
        ini.setValue(u"APATH"_s, u"SERVERNAME"_s, hostPort);
        EXPECT_TRUE(ini.save()) << ini.errorString().toStdString();
    }
    return {name, folder};
}

BatchRun BatchFolder::run(const QStringList &command, const QString &convocation) const
{
    return runBatch(as(convocation) + command);
}

int BatchFolder::count(const QString &sql, const QVariantList &params) const
{
    return m_db->scalar(sql, params).toInt();
}

QString BatchFolder::text(const QString &sql, const QVariantList &params) const
{
    const QVariant v = m_db->scalar(sql, params);
    return v.isNull() ? QString() : v.toString().trimmed();
}

void seedPrintingMasters(BatchFolder &app, const QStringList &convocations)
{
    Database &db = app.db();
    db.exec(u"insert into masuniv (funivcode, funivname) values ('U1', 'Morvanta University')"_s);
    db.exec(u"insert into college (fcollcode, fcollname) values ('C01', 'Government College')"_s);
    db.exec(u"insert into class (fclasscode, fclassdesc, fclassdesckan) values (?, 'FIRST CLASS', ?)"_s,
            {u"FC"_s, QString::fromLatin1("\xaa\xc0")});
    for (const QString &convocation : convocations)
        db.exec(u"insert into masconvo (fconvocode, fconvoname, fdate, factive, fconvonamekan, fdatekan) "
                "values (?, 'Convocation', ?, 'T', ?, ?)"_s,
                {convocation, QDate(2026, 3, 12), QString::fromLatin1("\xa8\xc0"), QString::fromLatin1("\xb1\xc2")});
    db.exec(u"insert into degree (fdegree, fdescpn, fdescpnkan) values ('BA', 'BACHELOR OF ARTS', ?)"_s,
            {QString::fromLatin1("\xb1\xc2\xa8")});
    db.exec(u"insert into kanlib (fengname, fkanname) values ('APRIL 2025', ?)"_s, {QString::fromLatin1("\xa5\xc1")});
}

QStringList resultRow(const QString &regno, const QString &name, const QString &degree, const QString &college)
{
    return {regno, name, degree, {}, college, u"FC"_s, u"APRIL 2025"_s, u"2025"_s, u"1"_s, u"F"_s, u"GM"_s};
}

QString regnoOf(const QString &regnoPrefix, int i) { return regnoPrefix + QString::number(i).rightJustified(4, u'0'); }

void importCandidates(BatchFolder &app, const QString &convocation, const QString &regnoPrefix, int count, int active)
{
    const QString cnv = app.scratch(convocation + regnoPrefix + u"STU.cnv"_s);
    {
        CnvWriter writer(cnv, CnvWriter::candidateFields(false));
        for (int i = 1; i <= count; ++i)
            writer.add(resultRow(regnoOf(regnoPrefix, i), u"NAME "_s + QString::number(i), u"BA"_s, u"C01"_s));
    }
    const BatchRun imported = app.run({u"import-file"_s, cnv}, convocation);
    ASSERT_EQ(imported.exitCode, 0) << imported.both();
    const BatchRun verified = app.run({u"verify"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"C01"_s}, convocation);
    ASSERT_EQ(verified.exitCode, 0) << verified.both();
    if (active == 0)
        return;
    const BatchRun activated = app.run({u"activate"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"C01"_s, u"--from"_s,
                                        regnoOf(regnoPrefix, 1), u"--to"_s, regnoOf(regnoPrefix, active)},
                                       convocation);
    ASSERT_EQ(activated.exitCode, 0) << activated.both();
}

} // namespace sw::test
