// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/python.h"

#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

namespace sw::test {

QJsonObject runPython(const QString &script, const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + arguments);
    p.waitForFinished(120000);
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput());
    EXPECT_TRUE(doc.isObject()) << p.readAllStandardError().toStdString();
    return doc.object();
}

} // namespace sw::test
