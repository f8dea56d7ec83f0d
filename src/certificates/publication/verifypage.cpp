// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/publication/verifypage.h"

#include "shell/core/filewrite.h"
#include "shell/core/issuerkey.h"
#include "shell/core/stoperror.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QByteArray resource(const QString &name)
{
    QFile file(u":/verifypage/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        throw StopError(u"The page file "_s + name + u" is missing from the program."_s);
    return file.readAll();
}

} // namespace

QStringList VerifyPage::write(const QString &folder, const QString &institution, const QByteArray &publicKey)
{
    if (!QDir().mkpath(folder))
        throw StopError(u"The folder "_s + QDir::toNativeSeparators(folder) + u" cannot be made."_s);
    QByteArray html = resource(u"index.html"_s);
    html.replace("@PUBLIC_KEY@", base64Url(publicKey));
    html.replace("@INSTITUTION@", institution.trimmed().toHtmlEscaped().toUtf8());
    const QDir dir(folder);
    writeWholeFile(dir.filePath(u"index.html"_s), html);
    QStringList written{u"index.html"_s};
    for (const QString &name : {u"verify.css"_s, u"verify.js"_s, u"nacl-fast.min.js"_s, u"tweetnacl-LICENSE.txt"_s}) {
        writeWholeFile(dir.filePath(name), resource(name));
        written << name;
    }
    writeWholeFile(dir.filePath(u"issuer.pub"_s), base64Url(publicKey) + '\n');
    written << u"issuer.pub"_s;
    return written;
}

} // namespace sw
