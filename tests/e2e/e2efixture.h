// SPDX-License-Identifier: GPL-3.0-or-later
// What the end-to-end tests share: an application folder set up by `scrollwise-batch
// init` on SQLite or on the test MariaDB server, the tool run as a clerk runs it, and
// a connection of the test's own to look at what each step changed.
#pragma once

#include "support/batchrun.h"
#include "support/files.h"
#include "support/pdftext.h"
#include "shell/core/appfolder.h"
#include "shell/db/database.h"
#include "support/testdatabase.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

class QProcess;

namespace sw::test {

// The three-node MariaDB Galera cluster scripts/cluster started: its servers from
// SCROLLWISE_TEST_CLUSTER (host:port,host:port,host:port), the login from
// SCROLLWISE_TEST_CLUSTER_USER and SCROLLWISE_TEST_CLUSTER_PASSWORD, and its folder
// (SCROLLWISE_CLUSTER_DIR), through which a node is killed and started again.
struct GaleraCluster
{
    QStringList nodes;
    QString user;
    QString password;
    QString folder;

    static std::optional<GaleraCluster> fromEnvironment();
    // Node 1, 2 or 3.
    MariaDbServer server(int node) const { return {nodes.value(node - 1), user, password}; }
    // Kills node `node` at once, as a crash would.
    BatchRun kill(int node) const;
    // Starts node `node` again and waits until it has rejoined and is Synced.
    BatchRun rejoin(int node) const;
};

// A workstation with a folder of its own, a copy of the installed one whose
// configuration may name another server, and, where the system lets a test give one
// (unshare), a host name of its own, which the register and the sessions record.
struct Workstation
{
    QString name;
    AppFolder folder;

    // The clerk (ADMIN, in `convocation`) runs `command` here, to its end.
    BatchRun run(const QStringList &command, const QString &convocation = QStringLiteral("C26")) const;
    // The same, started in `process` and left running.
    void start(QProcess &process, const QStringList &command, const QString &convocation = QStringLiteral("C26")) const;
};

class BatchFolder
{
public:
    // Runs `init` for institution 003 on `backend` (a database of its own on MariaDB,
    // dropped again with the folder).
    explicit BatchFolder(TestBackend backend);
    // Runs `init` on `server`, one node of a cluster.
    explicit BatchFolder(const MariaDbServer &server);
    ~BatchFolder();

    bool ready() const { return m_db != nullptr; }
    const AppFolder &folder() const { return m_folder; }
    QString path(const QString &relative) const { return m_folder.filePath(relative); }
    QString scratch(const QString &name) const { return m_dir.filePath(name); }
    Database &db() { return *m_db; }
    QString initOutput() const { return m_init.out; }
    // Closes the test's own connection (a restore refuses while another program is
    // connected) and opens it again, on the database a restore put in place.
    void disconnect() { m_db.reset(); }
    void reconnect();

    // The logged-in clerk's arguments before a command: folder, ADMIN, convocation.
    QStringList as(const QString &convocation = QStringLiteral("C26")) const;
    BatchRun run(const QStringList &command, const QString &convocation = QStringLiteral("C26")) const;
    // A workstation named `name` whose folder is a copy of this one, connected to
    // `hostPort` (another node of the cluster) when given.
    Workstation workstation(const QString &name, const QString &hostPort = {}) const;

    int count(const QString &sql, const QVariantList &params = {}) const;
    QString text(const QString &sql, const QVariantList &params = {}) const;

private:
    void install(const std::optional<MariaDbServer> &server);

    TestBackend m_backend;
    QTemporaryDir m_dir;
    AppFolder m_folder;
    QString m_databaseName;
    BatchRun m_init;
    std::unique_ptr<Database> m_db;
};

// The fixture of a test on a fresh folder of each backend; skipped where the backend is
// not there. A fixture that adds to SetUp calls this one first and stops when
// IsSkipped() or HasFatalFailure().
class BatchFolderTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP();
        m_app = std::make_unique<BatchFolder>(GetParam());
        ASSERT_TRUE(m_app->ready());
    }
    BatchFolder &app() { return *m_app; }

    std::unique_ptr<BatchFolder> m_app;
};

// Masters for printing the degree BA of college C01 (university, class, degree, the
// exam date's Kannada reading) and the convocations `convocations`, each active with a date.
void seedPrintingMasters(BatchFolder &app, const QStringList &convocations);
// `count` candidates of BA at C01 in `convocation`, register numbers `regnoPrefix` +
// four digits, imported from a result file, fee verified; the first `active` activated.
void importCandidates(BatchFolder &app, const QString &convocation, const QString &regnoPrefix, int count, int active);
QString regnoOf(const QString &regnoPrefix, int i);
// A line of a result file (CnvWriter::candidateFields): first class, APRIL 2025.
QStringList resultRow(const QString &regno, const QString &name, const QString &degree, const QString &college);

} // namespace sw::test
