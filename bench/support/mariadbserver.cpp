// SPDX-License-Identifier: GPL-3.0-or-later
#include "mariadbserver.h"

#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace sw::bench {

namespace {

int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

QString program(const QString &name, const QString &fallback)
{
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty())
        return found;
    const QString inSbin = QStandardPaths::findExecutable(name, {u"/usr/sbin"_s, u"/usr/local/sbin"_s});
    return inSbin.isEmpty() ? fallback : inSbin;
}

bool runOnce(const QString &exe, const QStringList &arguments, const QByteArray &input, QString *why)
{
    QProcess p;
    p.start(exe, arguments);
    if (!p.waitForStarted(10000)) {
        *why = exe + u" cannot be started"_s;
        return false;
    }
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *why = exe + u": "_s + QString::fromLocal8Bit(p.readAllStandardError() + p.readAllStandardOutput()).trimmed();
        return false;
    }
    return true;
}

} // namespace

MariaDbServer::~MariaDbServer()
{
    if (!m_process)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(10000)) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

std::unique_ptr<MariaDbServer> MariaDbServer::obtain(QString *why)
{
    std::unique_ptr<MariaDbServer> server(new MariaDbServer);
    const QString named = qEnvironmentVariable("SCROLLWISE_TEST_MYSQL");
    if (!named.isEmpty()) {
        server->m_hostPort = named;
        server->m_user = qEnvironmentVariable("SCROLLWISE_TEST_MYSQL_USER");
        server->m_password = qEnvironmentVariable("SCROLLWISE_TEST_MYSQL_PASSWORD");
        return server;
    }

    server->m_dir = std::make_unique<QTemporaryDir>(u"/tmp/scrollwise-bench-mariadb.XXXXXX"_s);
    const QString dir = server->m_dir->path();
    const QString user = qEnvironmentVariable("USER", u"root"_s);
    if (!runOnce(program(u"mariadb-install-db"_s, u"/usr/bin/mariadb-install-db"_s),
                 {u"--no-defaults"_s, u"--datadir="_s + dir + u"/data"_s, u"--user="_s + user,
                  u"--auth-root-authentication-method=normal"_s, u"--skip-test-db"_s},
                 {}, why))
        return nullptr;
    const int port = freePort();
    const QString socket = dir + u"/mysqld.sock"_s;
    server->m_process = std::make_unique<QProcess>();
    // What the server says goes to its error log in the data folder.
    server->m_process->setStandardOutputFile(QProcess::nullDevice());
    server->m_process->setStandardErrorFile(QProcess::nullDevice());
    // The settings of scripts/test, so the figures compare with the tests' server.
    server->m_process->start(program(u"mariadbd"_s, u"/usr/sbin/mariadbd"_s),
                             {u"--no-defaults"_s, u"--datadir="_s + dir + u"/data"_s, u"--socket="_s + socket,
                              u"--pid-file="_s + dir + u"/mysqld.pid"_s, u"--log-error="_s + dir + u"/error.log"_s,
                              u"--user="_s + user, u"--bind-address=127.0.0.1"_s, u"--port="_s + QString::number(port),
                              u"--local-infile=1"_s, u"--skip-name-resolve"_s, u"--innodb-buffer-pool-size=64M"_s,
                              u"--innodb-log-file-size=16M"_s, u"--innodb-flush-log-at-trx-commit=2"_s,
                              u"--max-connections=200"_s});
    if (!server->m_process->waitForStarted(10000)) {
        *why = u"mariadbd cannot be started"_s;
        server->m_process.reset();
        return nullptr;
    }
    const QString admin = program(u"mariadb-admin"_s, u"/usr/bin/mariadb-admin"_s);
    bool up = false;
    for (int i = 0; i < 300 && !up; ++i) {
        QString ignored;
        up = runOnce(admin, {u"--no-defaults"_s, u"--socket="_s + socket, u"-uroot"_s, u"ping"_s}, {}, &ignored);
        if (!up) {
            if (server->m_process->state() == QProcess::NotRunning) {
                *why = u"mariadbd stopped at once; see "_s + dir + u"/error.log"_s;
                return nullptr;
            }
            QThread::msleep(100);
        }
    }
    if (!up) {
        *why = u"mariadbd did not answer within 30 s"_s;
        return nullptr;
    }
    server->m_user = u"scrollwise"_s;
    server->m_password = u"scrollwise-bench"_s;
    if (!runOnce(program(u"mariadb"_s, u"/usr/bin/mariadb"_s),
                 {u"--no-defaults"_s, u"--socket="_s + socket, u"-uroot"_s},
                 "CREATE USER 'scrollwise'@'127.0.0.1' IDENTIFIED BY 'scrollwise-bench';\n"
                 "GRANT ALL PRIVILEGES ON *.* TO 'scrollwise'@'127.0.0.1' WITH GRANT OPTION;\nFLUSH PRIVILEGES;\n",
                 why))
        return nullptr;
    server->m_hostPort = u"127.0.0.1:"_s + QString::number(port);
    return server;
}

} // namespace sw::bench
