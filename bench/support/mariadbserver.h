// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

class QProcess;

namespace sw::bench {

// A MariaDB server to measure against: the one SCROLLWISE_TEST_MYSQL names (with
// SCROLLWISE_TEST_MYSQL_USER and _PASSWORD, as scripts/test sets them), else one of
// the bench's own, started as scripts/test starts it (a temporary data folder, loopback
// only, LOAD DATA LOCAL allowed) and stopped when the object goes.
class MariaDbServer
{
public:
    MariaDbServer(const MariaDbServer &) = delete;
    MariaDbServer &operator=(const MariaDbServer &) = delete;
    ~MariaDbServer();

    // The named server, or a new one; nullopt with `why` when neither can be had.
    static std::unique_ptr<MariaDbServer> obtain(QString *why);

    QString hostPort() const { return m_hostPort; }
    QString host() const { return m_hostPort.section(u':', 0, 0); }
    QString port() const { return m_hostPort.section(u':', 1); }
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    bool ownServer() const { return m_process != nullptr; }

private:
    MariaDbServer() = default;

    QString m_hostPort;
    QString m_user;
    QString m_password;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
};

} // namespace sw::bench
