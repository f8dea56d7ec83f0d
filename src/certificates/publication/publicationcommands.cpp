// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/publication/publicationcommands.h"

#include "certificates/layouts/verificationcode.h"
#include "certificates/printing/statusregister.h"
#include "certificates/publication/degreecredential.h"
#include "certificates/publication/statuslist.h"
#include "certificates/publication/verifypage.h"
#include "shell/audit/audittrail.h"
#include "shell/batch/batchcommand.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/issuerkey.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QString pageUrl(const BatchContext &c)
{
    const QString url = InstitutionConfig::load(c.folder).value(u"VERIFICATION"_s, u"PageUrl"_s).trimmed();
    if (url.isEmpty())
        throw StopError(u"The verification page's address is not configured: [VERIFICATION] PageUrl in "
                        "Institution.ini (the address the codes on the certificates link to)."_s);
    return url;
}

// The lists are signed with the key, whose passphrase is asked once (a line on standard input).
void writeStatusLists(BatchContext &c, const QString &folder)
{
    const QString url = pageUrl(c);
    const IssuerKey key = IssuerKey::unlock(c.folder, c.prompter);
    const StatusListWriter::Written written = StatusListWriter(c.session.db(), url).write(folder, key);
    c.out << u"status lists: "_s << written.lists << u" (of "_s << StatusRegister::kListSize << u" places each), "_s
          << written.revoked << u" revoked, "_s << written.suspended << u" suspended"_s << Qt::endl;
    for (const QString &file : written.files)
        c.out << QDir::toNativeSeparators(QDir(folder).filePath(file)) << Qt::endl;
}

int runStatusList(BatchContext &c)
{
    writeStatusLists(c, c.required(u"out"_s));
    return batchexit::kOk;
}

int runVerifyPage(BatchContext &c)
{
    const QString folder = c.required(u"out"_s);
    pageUrl(c);
    const auto publicKey = IssuerKey::publicKey(c.folder);
    if (!publicKey)
        throw StopError(u"The institution has no key pair: make one with \"scrollwise-batch keys --new\"."_s);
    for (const QString &file : VerifyPage::write(folder, c.session.instTitle, *publicKey))
        c.out << QDir::toNativeSeparators(QDir(folder).filePath(file)) << Qt::endl;
    writeStatusLists(c, folder);
    c.out << u"publish the folder's files at "_s << pageUrl(c) << Qt::endl;
    return batchexit::kOk;
}

// Puts a certificate on hold (fee dispute, enquiry) or lifts the hold; the published
// lists say so from the next status-list.
int runHold(BatchContext &c)
{
    const QString certNo = c.required(u"number"_s).trimmed().toUpper();
    const bool lift = c.args.has(u"lift"_s);
    const QString reason = lift ? QString() : c.required(u"reason"_s).trimmed();
    if (!lift && reason.isEmpty())
        throw UsageError(u"--reason says why the certificate is put on hold."_s);
    Database &db = c.session.db();
    StatusRegister status(db, c.session.userName);
    WriteScope scope(db);
    const auto entry = status.find(certNo);
    if (!entry) {
        c.err << u"Certificate No. "_s << certNo
              << u" has no place on the status lists: it was never printed with a verification code."_s << Qt::endl;
        return batchexit::kRefused;
    }
    status.hold(certNo, !lift, reason);
    AuditTrail(db).record(c.session.userName,
                          {u"certificates"_s, lift ? u"lift hold"_s : u"hold"_s, u"certstatus"_s, certNo,
                           entry->suspended ? u"suspended: "_s + entry->holdReason : u"not suspended"_s,
                           lift ? u"not suspended"_s : u"suspended: "_s + reason});
    scope.commit();
    c.out << u"Certificate No. "_s << certNo << (lift ? u": the hold is lifted"_s : u": on hold ("_s + reason + u')')
          << u"; publish the status lists again (status-list) for the page to say so."_s << Qt::endl;
    if (entry->revoked)
        c.out << u"It is revoked all the same: "_s << entry->revocationText() << Qt::endl;
    return batchexit::kOk;
}

// The credentials of the certificates printed for one register number or a range.
int runCredential(BatchContext &c)
{
    c.needConvocation(u"Certificates belong to a convocation"_s);
    const QString from = c.required(u"regno"_s).trimmed().toUpper();
    const QString to = c.args.value(u"to"_s, from).trimmed().toUpper();
    const QString folder = c.args.value(u"out"_s, c.folder.filePath(u"Output/credentials"_s));
    const QString url = pageUrl(c);
    const IssuerKey key = IssuerKey::unlock(c.folder, c.prompter);
    const QStringList files = DegreeCredential(c.session, url).write(from, to, folder, key);
    for (const QString &file : files)
        c.out << QDir::toNativeSeparators(file) << Qt::endl;
    c.out << files.size() << (files.size() == 1 ? u" credential"_s : u" credentials"_s) << u" written"_s << Qt::endl;
    return batchexit::kOk;
}

} // namespace

void addPublicationCommands(BatchTool &tool)
{
    tool.add({.name = u"credential"_s,
              .summary = u"Writes the W3C Verifiable Credential (2.0, signed as a JWS with EdDSA) of each certificate "
                         "printed for a register number or range, pointing at the status lists; asks the key's "
                         "passphrase."_s,
              .options = {{u"regno"_s, u"REGNO"_s, u"the register number (the first of the range)"_s},
                          {u"to"_s, u"REGNO"_s, u"the last register number of the range"_s},
                          {u"out"_s, u"DIR"_s, u"the folder (Output/credentials when not given)"_s}},
              .menuCode = u"N25"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runCredential});
    tool.add({.name = u"status-list"_s,
              .summary = u"Writes the signed status lists of the certificates (W3C Bitstring Status List: revocation "
                         "and suspension) and the reasons, for the verification page and the web site; asks the "
                         "key's passphrase."_s,
              .options = {{u"out"_s, u"DIR"_s, u"the folder to write them to"_s}},
              .menuCode = u"N25"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runStatusList});
    tool.add({.name = u"verify-page"_s,
              .summary = u"Writes the static verification page (HTML, CSS, JavaScript, the public key) with the "
                         "status lists beside it; asks the key's passphrase."_s,
              .options = {{u"out"_s, u"DIR"_s, u"the folder to write it to"_s}},
              .menuCode = u"N25"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runVerifyPage});
    tool.add({.name = u"hold"_s,
              .summary = u"Puts a printed certificate on hold (suspended on the status lists: a fee dispute, an "
                         "enquiry), or lifts the hold."_s,
              .options = {{u"number"_s, u"CERTNO"_s, u"the certificate number"_s},
                          {u"reason"_s, u"TEXT"_s, u"why it is on hold"_s},
                          {u"lift"_s, {}, u"lift the hold"_s}},
              .menuCode = u"N25"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runHold});
}

} // namespace sw
