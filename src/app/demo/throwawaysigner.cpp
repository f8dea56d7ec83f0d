// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/demo/throwawaysigner.h"

#include "shell/core/stoperror.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

void certutil(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess p;
    p.start(u"certutil"_s, arguments);
    if (!p.waitForStarted())
        throw StopError(u"certutil cannot be started (Debian package libnss3-tools): "_s + p.errorString());
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw StopError(u"certutil "_s + arguments.join(u' ') + u" failed: "_s
                        + QString::fromLocal8Bit(p.readAllStandardError() + p.readAllStandardOutput()).trimmed());
}

} // namespace

bool ThrowAwaySigner::certutilAvailable() { return !QStandardPaths::findExecutable(u"certutil"_s).isEmpty(); }

ThrowAwaySigner ThrowAwaySigner::make(const QString &database, const QString &pin, const QString &commonName,
                                      const QString &nickname)
{
    QDir().mkpath(database);
    const QString db = u"sql:"_s + QDir(database).absolutePath();
    QTemporaryDir work;
    const QString passwordFile = work.filePath(u"pin"_s);
    const QString noiseFile = work.filePath(u"noise"_s);
    QFile pw(passwordFile);
    if (!pw.open(QIODevice::WriteOnly) || pw.write(pin.toUtf8() + '\n') < 0)
        throw StopError(u"A temporary file for certutil cannot be written in "_s + work.path());
    pw.close();
    QFile noise(noiseFile);
    if (!noise.open(QIODevice::WriteOnly))
        throw StopError(u"A temporary file for certutil cannot be written in "_s + work.path());
    QByteArray random(256, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(random.data()), random.size() / 4);
    noise.write(random);
    noise.close();

    const QStringList common = {u"-d"_s, db, u"-f"_s, passwordFile, u"-z"_s, noiseFile};
    // certutil numbers certificates by the clock: two made in one second would clash.
    const quint32 serial = QRandomGenerator::system()->bounded(1u << 30) + 1;
    certutil({u"-N"_s, u"-d"_s, db, u"-f"_s, passwordFile});
    // The authority: self-signed, trusted for issuing document-signing certificates.
    // certutil -2 asks: is it a CA, the path length, whether the extension is critical.
    certutil(common
                 + QStringList{u"-S"_s,
                               u"-n"_s,
                               u"Throw-away CA"_s,
                               u"-s"_s,
                               u"CN=Throw-away CA,O=Scrollwise demonstration"_s,
                               u"-x"_s,
                               u"-t"_s,
                               u"CT,C,C"_s,
                               u"-k"_s,
                               u"rsa"_s,
                               u"-g"_s,
                               u"2048"_s,
                               u"-Z"_s,
                               u"SHA256"_s,
                               u"-v"_s,
                               u"120"_s,
                               u"-2"_s,
                               u"--keyUsage"_s,
                               u"certSigning,crlSigning"_s,
                               u"-m"_s,
                               QString::number(serial)},
             "y\n-1\ny\n");
    certutil(common
             + QStringList{u"-S"_s,
                           u"-n"_s,
                           nickname,
                           u"-s"_s,
                           u"CN="_s + commonName + u",O=Scrollwise demonstration"_s,
                           u"-c"_s,
                           u"Throw-away CA"_s,
                           u"-t"_s,
                           u"u,u,u"_s,
                           u"-k"_s,
                           u"rsa"_s,
                           u"-g"_s,
                           u"2048"_s,
                           u"-Z"_s,
                           u"SHA256"_s,
                           u"-v"_s,
                           u"120"_s,
                           u"--keyUsage"_s,
                           u"digitalSignature,nonRepudiation"_s,
                           u"-m"_s,
                           QString::number(serial + 1)});
    return {database, nickname, commonName, pin};
}

} // namespace sw
