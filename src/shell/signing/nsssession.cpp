// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/signing/nsssession.h"

#include "shell/core/stoperror.h"

#include <QDir>
#include <QFileInfo>

#include <podofo/podofo.h>

#include <mutex>

using namespace Qt::StringLiterals;

namespace sw::nss {

namespace {
std::mutex g_mutex;
QString g_opened;
bool g_ready = false;
} // namespace

QString lastError()
{
    const PRErrorCode code = PORT_GetError();
    const char *name = PR_ErrorToName(code);
    const char *text = PR_ErrorToString(code, PR_LANGUAGE_I_DEFAULT);
    return QString::fromUtf8(text && *text ? text : "unknown error") + u" ("_s
           + QString::fromLatin1(name ? name : "NSS error") + u')';
}

void ensureOpen(const QString &database)
{
    const std::lock_guard lock(g_mutex);
    if (g_ready)
        return;
    SECStatus rv;
    if (database.isEmpty()) {
        rv = NSS_NoDB_Init(nullptr);
    } else {
        if (!QFileInfo(database).isDir())
            throw StopError(u"The certificate database folder "_s + QDir::toNativeSeparators(database)
                                + u" (Institution.ini, [SIGNING] Database) does not exist."_s,
                            PromptIcon::Exclamation);
        rv = NSS_Init((u"sql:"_s + QDir(database).absolutePath()).toUtf8().constData());
    }
    if (rv != SECSuccess)
        throw StopError(u"The certificate database "_s + QDir::toNativeSeparators(database) + u" cannot be opened: "_s
                        + lastError());
    // PoDoFo, which reads and writes the PDFs beside NSS, would print its debugging on stdout.
    PoDoFo::PdfError::EnableDebug(false);
    PoDoFo::PdfError::EnableLogging(false);
    g_opened = database;
    g_ready = true;
}

bool hasDatabase()
{
    const std::lock_guard lock(g_mutex);
    return g_ready && !g_opened.isEmpty();
}

QString commonName(CERTCertificate *cert)
{
    char *name = CERT_GetCommonName(&cert->subject);
    const QString text = QString::fromUtf8(name ? name : "");
    PORT_Free(name);
    return text;
}

} // namespace sw::nss
