// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/pdfsignature.h"

#include "shell/core/filewrite.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

// PoDoFo writes the signature field as an incremental update; NSS holds the key and
// makes and checks the PKCS#7 signature.
#include <podofo/podofo.h>

// NSS names a structure member "slots", which Qt defines as a keyword.
#pragma push_macro("slots")
#undef slots
#include <cert.h>
#include <cms.h>
#include <nss.h>
#include <pk11pub.h>
#include <plstr.h>
#include <prerror.h>
#include <secerr.h>
#include <sechash.h>
#include <keyhi.h>
#pragma pop_macro("slots")

#include <algorithm>
#include <exception>
#include <mutex>
#include <utility>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr double kPointsPerInch = 72.0;
// Room for the PKCS#7 signature with a chain of a few 4096-bit certificates.
constexpr std::size_t kSignatureBytes = 10240;

QString nssError()
{
    const PRErrorCode code = PORT_GetError();
    const char *name = PR_ErrorToName(code);
    const char *text = PR_ErrorToString(code, PR_LANGUAGE_I_DEFAULT);
    return QString::fromUtf8(text && *text ? text : "unknown error") + u" ("_s
        + QString::fromLatin1(name ? name : "NSS error") + u')';
}

QString nssDirectory(const QString &folder)
{
    return u"sql:"_s + QDir(folder).absolutePath();
}

// NSS is set up once per process, on the first database asked for (or none).
std::mutex g_nssMutex;
QString g_nssOpened;
bool g_nssReady = false;

void ensureNss(const QString &database)
{
    const std::lock_guard lock(g_nssMutex);
    if (g_nssReady)
        return;
    SECStatus rv;
    if (database.isEmpty()) {
        rv = NSS_NoDB_Init(nullptr);
    } else {
        if (!QFileInfo(database).isDir())
            throw StopError(u"The certificate database folder "_s + QDir::toNativeSeparators(database)
                                + u" (Institution.ini, [SIGNING] Database) does not exist."_s,
                            PromptIcon::Exclamation);
        rv = NSS_Init(nssDirectory(database).toUtf8().constData());
    }
    if (rv != SECSuccess)
        throw StopError(u"The certificate database "_s + QDir::toNativeSeparators(database) + u" cannot be opened: "_s
                        + nssError());
    PoDoFo::PdfError::EnableDebug(false);
    PoDoFo::PdfError::EnableLogging(false);
    g_nssOpened = database;
    g_nssReady = true;
}

QString commonName(CERTCertificate *cert)
{
    char *name = CERT_GetCommonName(&cert->subject);
    const QString text = QString::fromUtf8(name ? name : "");
    PORT_Free(name);
    return text;
}

QByteArray hashRanges(const QByteArray &file, const std::vector<std::pair<qint64, qint64>> &ranges, SECOidTag alg)
{
    const HASH_HashType type = HASH_GetHashTypeByOidTag(alg);
    HASHContext *context = type == HASH_AlgNULL ? nullptr : HASH_Create(type);
    if (!context)
        return {};
    HASH_Begin(context);
    for (const auto &[start, length] : ranges)
        HASH_Update(context, reinterpret_cast<const unsigned char *>(file.constData() + start), unsigned(length));
    QByteArray digest(HASH_LENGTH_MAX, Qt::Uninitialized);
    unsigned length = 0;
    HASH_End(context, reinterpret_cast<unsigned char *>(digest.data()), &length, HASH_LENGTH_MAX);
    HASH_Destroy(context);
    digest.resize(length);
    return digest;
}

QString pdfText(const QString &text)
{
    // The box's font is a standard Latin one: what it cannot show becomes "?".
    return QString::fromLatin1(text.toLatin1());
}

} // namespace

// --- settings ---------------------------------------------------------------

SignatureSettings SignatureSettings::load(const AppFolder &folder)
{
    return fromConfig(InstitutionConfig::load(folder), folder);
}

SignatureSettings SignatureSettings::fromConfig(const InstitutionConfig &config, const AppFolder &folder)
{
    const QString section = QString::fromLatin1(kSection);
    const auto value = [&](const char *key, const QString &fallback = {}) {
        const QString v = config.value(section, QString::fromLatin1(key)).trimmed();
        return v.isEmpty() ? fallback : v;
    };
    SignatureSettings s;
    const QString database = value("Database");
    s.database = database.isEmpty() || QDir::isAbsolutePath(database) ? database : folder.filePath(database);
    s.nickname = value("Nickname");
    s.suffix = value("SignedSuffix", u"_signed"_s);
    s.reason = value("Reason", u"Degree certificate issued by the university"_s);
    s.location = value("Location");
    s.page = std::max(1, value("Page", u"1"_s).toInt());
    const auto inches = [&](const char *key, double fallback) {
        bool ok = false;
        const double v = value(key).toDouble(&ok);
        return ok && v >= 0 ? v : fallback;
    };
    // Below the photograph and the address block, clear of the seal and the signature.
    s.boxInches = QRectF(inches("BoxLeft", 0.5), inches("BoxTop", 10.75), inches("BoxWidth", 2.7),
                         inches("BoxHeight", 0.7));
    return s;
}

QString SignatureSettings::signedPath(const QString &unsignedPath) const
{
    const QFileInfo info(unsignedPath);
    return info.dir().filePath(info.completeBaseName() + suffix + u'.' + info.suffix());
}

bool SignatureSettings::isSignedName(const QString &fileName) const
{
    return QFileInfo(fileName).completeBaseName().endsWith(suffix, Qt::CaseInsensitive);
}

// --- signing ----------------------------------------------------------------

struct PdfSigner::State
{
    Prompter *prompter = nullptr;
    QString nickname;
    std::optional<QByteArray> pin; // asked once, kept in memory for the run only
    bool pinRefused = false;
    bool loggedIn = false;
    // What the prompter threw while NSS asked (a question the command line could not
    // answer): kept here and thrown again once NSS has returned, never through its C frames.
    std::exception_ptr pending;
    CERTCertificate *cert = nullptr;
    SECKEYPrivateKey *key = nullptr;

    ~State()
    {
        if (pin)
            pin->fill('\0');
        if (key)
            SECKEY_DestroyPrivateKey(key);
        if (cert) {
            // The token does not stay open for whoever uses this process next.
            if (loggedIn && cert->slot)
                PK11_Logout(cert->slot);
            CERT_DestroyCertificate(cert);
        }
    }

    // NSS asks here for the PIN of the database or the token. A second request for the
    // same login means the PIN was wrong: it is not offered again.
    static char *askPin(PK11SlotInfo *slot, PRBool retry, void *arg)
    {
        auto *state = static_cast<State *>(arg);
        if (!state || !state->prompter)
            return nullptr;
        if (retry) {
            state->pinRefused = true;
            state->pin.reset();
            return nullptr;
        }
        if (!state->pin) {
            const QString token = QString::fromUtf8(PK11_GetTokenName(slot));
            try {
                const auto answer = state->prompter->inputSecret(
                    u"The PIN of "_s + token + u" for signing with the certificate \""_s + state->nickname + u'"',
                    u"Sign PDF copies"_s);
                if (!answer)
                    return nullptr;
                state->pin = answer->toUtf8();
            } catch (...) {
                state->pending = std::current_exception();
                return nullptr;
            }
        }
        return PL_strdup(state->pin->constData());
    }
};

PdfSigner::PdfSigner(SignatureSettings settings, Prompter &prompter)
    : m_settings(std::move(settings))
    , m_prompter(prompter)
{
}

PdfSigner::~PdfSigner() = default;

void PdfSigner::open()
{
    if (!m_settings.configured())
        throw StopError(u"Signing needs the certificate database and the certificate's nickname: set Database and "
                        "Nickname in the [SIGNING] section of Institution.ini."_s,
                        PromptIcon::Exclamation);
    ensureNss(m_settings.database);
    PK11_SetPasswordFunc(&State::askPin);
    auto state = std::make_unique<State>();
    state->prompter = &m_prompter;
    state->nickname = m_settings.nickname;
    state->cert = PK11_FindCertFromNickname(m_settings.nickname.toUtf8().constData(), state.get());
    if (!state->cert)
        throw StopError(u"The certificate database "_s + QDir::toNativeSeparators(m_settings.database)
                            + u" has no certificate \""_s + m_settings.nickname
                            + u"\" ([SIGNING] Nickname in Institution.ini; certutil -L -d sql:FOLDER lists them)."_s,
                        PromptIcon::Exclamation);
    PK11SlotInfo *slot = state->cert->slot ? PK11_ReferenceSlot(state->cert->slot) : PK11_GetInternalKeySlot();
    const bool needsPin = PK11_NeedLogin(slot);
    const bool loggedIn = !needsPin || PK11_Authenticate(slot, PR_TRUE, state.get()) == SECSuccess;
    state->loggedIn = needsPin && loggedIn;
    PK11_FreeSlot(slot);
    if (state->pending)
        std::rethrow_exception(state->pending);
    if (!loggedIn)
        throw StopError(state->pinRefused || state->pin
                            ? u"The PIN is wrong: the certificate \""_s + m_settings.nickname + u"\" cannot sign."_s
                            : u"No PIN was given: the PDF copies are not signed."_s,
                        PromptIcon::Exclamation);
    state->key = PK11_FindKeyByAnyCert(state->cert, state.get());
    if (!state->key)
        throw StopError(u"The certificate \""_s + m_settings.nickname + u"\" has no private key in "_s
                            + QDir::toNativeSeparators(m_settings.database) + u": it cannot sign."_s,
                        PromptIcon::Exclamation);
    if (CERT_CheckCertValidTimes(state->cert, PR_Now(), PR_FALSE) != secCertTimeValid) {
        PRTime from = 0, until = 0;
        CERT_GetCertTimes(state->cert, &from, &until);
        throw StopError(u"The certificate \""_s + m_settings.nickname + u"\" is valid from "_s
                            + QDateTime::fromMSecsSinceEpoch(from / 1000).toString(u"dd/MM/yyyy"_s) + u" to "_s
                            + QDateTime::fromMSecsSinceEpoch(until / 1000).toString(u"dd/MM/yyyy"_s)
                            + u", not today: it cannot sign."_s,
                        PromptIcon::Exclamation);
    }
    m_state = std::move(state);
}

QString PdfSigner::signerName() const
{
    return m_state ? commonName(m_state->cert) : QString();
}

namespace {

// The detached PKCS#7 signature of `digest` (SHA-256), with the signing time and the
// certificate chain.
QByteArray cmsSignature(CERTCertificate *cert, const QByteArray &digest, const QDateTime &when, PK11PasswordFunc pin,
                        void *pinArg)
{
    NSSCMSMessage *cms = NSS_CMSMessage_Create(nullptr);
    if (!cms)
        throw StopError(u"The signature cannot be made: "_s + nssError());
    const auto destroy = qScopeGuard([cms] { NSS_CMSMessage_Destroy(cms); });
    NSSCMSSignedData *signedData = NSS_CMSSignedData_Create(cms);
    NSSCMSContentInfo *content = NSS_CMSSignedData_GetContentInfo(signedData);
    NSS_CMSContentInfo_SetContent_Data(cms, content, nullptr, PR_TRUE);
    NSS_CMSContentInfo_SetContent_SignedData(cms, NSS_CMSMessage_GetContentInfo(cms), signedData);
    NSSCMSSignerInfo *signer = NSS_CMSSignerInfo_Create(cms, cert, SEC_OID_SHA256);
    if (!signer)
        throw StopError(u"The signature cannot be made: "_s + nssError());
    if (NSS_CMSSignerInfo_IncludeCerts(signer, NSSCMSCM_CertChain, certUsageEmailSigner) != SECSuccess
        && NSS_CMSSignerInfo_IncludeCerts(signer, NSSCMSCM_CertOnly, certUsageEmailSigner) != SECSuccess)
        throw StopError(u"The signature cannot carry its certificate: "_s + nssError());
    NSS_CMSSignerInfo_AddSigningTime(signer, PRTime(when.toMSecsSinceEpoch()) * 1000);
    NSS_CMSSignedData_AddSignerInfo(signedData, signer);
    SECItem digestItem{siBuffer, reinterpret_cast<unsigned char *>(const_cast<char *>(digest.constData())),
                       unsigned(digest.size())};
    NSS_CMSSignedData_SetDigestValue(signedData, SEC_OID_SHA256, &digestItem);
    PLArenaPool *arena = PORT_NewArena(16384);
    const auto freeArena = qScopeGuard([arena] { PORT_FreeArena(arena, PR_FALSE); });
    SECItem out{siBuffer, nullptr, 0};
    NSSCMSEncoderContext *encoder = NSS_CMSEncoder_Start(cms, nullptr, nullptr, &out, arena, pin, pinArg,
                                                         nullptr, nullptr, nullptr, nullptr);
    if (!encoder || NSS_CMSEncoder_Finish(encoder) != SECSuccess)
        throw StopError(u"The signature cannot be made: "_s + nssError());
    return QByteArray(reinterpret_cast<const char *>(out.data), qsizetype(out.len));
}

} // namespace

QByteArray PdfSigner::sign(const QByteArray &pdf, const QDateTime &when) const
{
    if (!m_state)
        throw StopError(u"The signer was not opened."_s);
    using namespace PoDoFo;
    try {
        PdfMemDocument document;
        document.LoadFromBuffer(pdf.constData(), long(pdf.size()), true);
        const int pageIndex = std::min(m_settings.page, document.GetPageCount()) - 1;
        PdfPage *page = document.GetPage(pageIndex);
        PdfAcroForm *form = document.GetAcroForm();
        form->GetObject()->GetDictionary().AddKey(PdfName("SigFlags"), PdfObject(pdf_int64(3)));
        form->SetNeedAppearances(false);

        const PdfRect pageBox = page->GetPageSize();
        const QRectF &b = m_settings.boxInches;
        const double width = b.width() * kPointsPerInch, height = b.height() * kPointsPerInch;
        const PdfRect rect(pageBox.GetLeft() + b.left() * kPointsPerInch,
                           pageBox.GetBottom() + pageBox.GetHeight() - (b.top() * kPointsPerInch) - height, width,
                           height);
        PdfAnnotation *widget = page->CreateAnnotation(ePdfAnnotation_Widget, rect);
        widget->SetFlags(ePdfAnnotationFlags_Print | ePdfAnnotationFlags_Locked);
        PdfSignatureField field(widget, form, &document);

        const QString signer = signerName();
        QStringList lines = {u"Digitally signed by "_s + signer, u"Date: "_s + when.toString(u"dd/MM/yyyy hh:mm:ss"_s)};
        if (!m_settings.reason.isEmpty())
            lines.append(u"Reason: "_s + m_settings.reason);
        if (!m_settings.location.isEmpty())
            lines.append(u"Location: "_s + m_settings.location);
        PdfXObject appearance(PdfRect(0, 0, width, height), &document);
        PdfPainter painter;
        painter.SetPage(&appearance);
        painter.SetStrokingColor(0.0, 0.0, 0.0);
        painter.SetStrokeWidth(0.75);
        painter.Rectangle(0.5, 0.5, width - 1, height - 1);
        painter.Stroke();
        PdfFont *font = document.CreateFont("Helvetica", false, PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                                            PdfFontCache::eFontCreationFlags_AutoSelectBase14, false);
        const double lineHeight = std::min(10.0, (height - 4) / double(lines.size()));
        font->SetFontSize(float(lineHeight * 0.8));
        painter.SetFont(font);
        painter.SetColor(0.0, 0.0, 0.0);
        for (int i = 0; i < lines.size(); ++i)
            painter.DrawText(4, height - 2 - lineHeight * (i + 1) + lineHeight * 0.25,
                             PdfString(pdfText(lines[i]).toLatin1().constData()));
        painter.FinishPage();
        field.SetAppearanceStream(&appearance);
        field.SetFieldName(PdfString("InstitutionSignature"));
        field.SetSignatureReason(PdfString(reinterpret_cast<const pdf_utf8 *>(m_settings.reason.toUtf8().constData())));
        field.SetSignatureLocation(
            PdfString(reinterpret_cast<const pdf_utf8 *>(m_settings.location.toUtf8().constData())));
        field.SetSignatureDate(PdfDate(time_t(when.toSecsSinceEpoch())));

        PdfRefCountedBuffer buffer;
        PdfOutputDevice memory(&buffer);
        PdfSignOutputDevice output(&memory);
        output.SetSignatureSize(kSignatureBytes);
        field.SetSignature(*output.GetSignatureBeacon());
        document.WriteUpdate(&output, true);
        if (!output.HasSignaturePosition())
            throw StopError(u"The signature's place was not found in the written file."_s);
        output.AdjustByteRange();
        output.Seek(0);
        HASHContext *hash = HASH_Create(HASH_AlgSHA256);
        HASH_Begin(hash);
        std::vector<char> chunk(65536);
        for (std::size_t n; (n = output.ReadForSignature(chunk.data(), chunk.size())) > 0;)
            HASH_Update(hash, reinterpret_cast<const unsigned char *>(chunk.data()), unsigned(n));
        QByteArray digest(32, Qt::Uninitialized);
        unsigned digestLength = 0;
        HASH_End(hash, reinterpret_cast<unsigned char *>(digest.data()), &digestLength, 32);
        HASH_Destroy(hash);
        const QByteArray signature = cmsSignature(m_state->cert, digest, when, &State::askPin, m_state.get());
        if (m_state->pending)
            std::rethrow_exception(std::exchange(m_state->pending, nullptr));
        if (std::size_t(signature.size()) > kSignatureBytes)
            throw StopError(u"The signature is larger than the room kept for it."_s);
        output.SetSignature(PdfData(signature.constData(), std::size_t(signature.size())));
        output.Flush();
        return QByteArray(buffer.GetBuffer(), qsizetype(memory.GetLength()));
    } catch (const PdfError &e) {
        throw StopError(u"The PDF cannot be signed: "_s + QString::fromUtf8(PdfError::ErrorMessage(e.GetError())));
    }
}

void PdfSigner::signFile(const QString &from, const QString &to) const
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw StopError(u"The PDF "_s + QDir::toNativeSeparators(from) + u" cannot be read: "_s + in.errorString());
    writeWholeFile(to, sign(in.readAll()));
}

// --- checking ---------------------------------------------------------------

QString SignatureCheck::describe() const
{
    if (!valid)
        return u"NOT VALID: "_s + problem;
    return u"valid: signed by "_s + signer + u" on "_s + signedAt.toString(u"dd/MM/yyyy hh:mm:ss"_s)
        + (problem.isEmpty() ? QString() : u" ("_s + problem + u')');
}

namespace {

struct SignatureField
{
    std::vector<qint64> byteRange;
    QByteArray contents;
};

// The signature dictionaries of the file (those with a ByteRange and Contents).
std::vector<SignatureField> signatureFields(const QByteArray &pdf)
{
    using namespace PoDoFo;
    std::vector<SignatureField> fields;
    PdfMemDocument document;
    document.LoadFromBuffer(pdf.constData(), long(pdf.size()), false);
    for (PdfObject *object : document.GetObjects()) {
        if (!object || !object->IsDictionary())
            continue;
        const PdfDictionary &dict = object->GetDictionary();
        const PdfObject *range = dict.GetKey(PdfName("ByteRange"));
        const PdfObject *contents = dict.GetKey(PdfName("Contents"));
        if (!range || !contents || !range->IsArray() || !(contents->IsString() || contents->IsHexString()))
            continue;
        SignatureField field;
        for (const PdfObject &n : range->GetArray())
            field.byteRange.push_back(n.IsNumber() ? qint64(n.GetNumber()) : -1);
        const PdfString &s = contents->GetString();
        field.contents = QByteArray(s.GetString(), qsizetype(s.GetLength()));
        fields.push_back(std::move(field));
    }
    return fields;
}

QString statusText(NSSCMSVerificationStatus status)
{
    switch (status) {
    case NSSCMSVS_GoodSignature:
        return {};
    case NSSCMSVS_DigestMismatch:
        return u"the document was changed after it was signed"_s;
    case NSSCMSVS_BadSignature:
        return u"the signature does not match its certificate"_s;
    case NSSCMSVS_SigningCertNotFound:
        return u"the signer's certificate is not in the signature"_s;
    case NSSCMSVS_SigningCertNotTrusted:
        return u"the signer's certificate is not trusted by the certificate database"_s;
    case NSSCMSVS_SignatureAlgorithmUnknown:
    case NSSCMSVS_SignatureAlgorithmUnsupported:
        return u"the signature's algorithm is not supported"_s;
    case NSSCMSVS_MalformedSignature:
        return u"the signature is malformed"_s;
    default:
        return u"the signature could not be checked: "_s + nssError();
    }
}

SignatureCheck checkField(const QByteArray &pdf, const SignatureField &field, bool trustChecked)
{
    SignatureCheck check;
    const auto &r = field.byteRange;
    const qint64 size = pdf.size();
    if (r.size() != 4 || r[0] != 0 || r[1] < 0 || r[2] < r[1] || r[3] < 0 || r[2] + r[3] > size) {
        check.problem = u"its byte range is not valid"_s;
        return check;
    }
    // Bytes after the signed ranges were added after signing.
    if (r[2] + r[3] != size) {
        check.problem = u"the document was changed after it was signed ("_s + QString::number(size - r[2] - r[3])
            + u" bytes added)"_s;
        return check;
    }
    QByteArray der = field.contents;
    SECItem item{siBuffer, reinterpret_cast<unsigned char *>(der.data()), unsigned(der.size())};
    NSSCMSMessage *cms =
        NSS_CMSMessage_CreateFromDER(&item, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!cms) {
        check.problem = u"the signature cannot be read"_s;
        return check;
    }
    const auto destroy = qScopeGuard([cms] { NSS_CMSMessage_Destroy(cms); });
    NSSCMSContentInfo *content = NSS_CMSMessage_ContentLevel(cms, 0);
    if (!content || NSS_CMSContentInfo_GetContentTypeTag(content) != SEC_OID_PKCS7_SIGNED_DATA) {
        check.problem = u"the signature is not a PKCS#7 signature"_s;
        return check;
    }
    auto *signedData = static_cast<NSSCMSSignedData *>(NSS_CMSContentInfo_GetContent(content));
    NSSCMSSignerInfo *signer = signedData ? NSS_CMSSignedData_GetSignerInfo(signedData, 0) : nullptr;
    if (!signer) {
        check.problem = u"the signature names no signer"_s;
        return check;
    }
    const SECOidTag alg = SECOID_GetAlgorithmTag(&signer->digestAlg);
    QByteArray digest = hashRanges(pdf, {{r[0], r[1]}, {r[2], r[3]}}, alg);
    if (digest.isEmpty()) {
        check.problem = u"the signature's digest algorithm is not supported"_s;
        return check;
    }
    SECItem digestItem{siBuffer, reinterpret_cast<unsigned char *>(digest.data()), unsigned(digest.size())};
    NSS_CMSSignedData_SetDigestValue(signedData, alg, &digestItem);
    CERTCertDBHandle *db = CERT_GetDefaultCertDB();
    NSS_CMSSignedData_ImportCerts(signedData, db, certUsageEmailSigner, PR_FALSE);
    NSS_CMSSignedData_VerifySignerInfo(signedData, 0, db, certUsageEmailSigner);
    if (CERTCertificate *cert = NSS_CMSSignerInfo_GetSigningCertificate(signer, db))
        check.signer = commonName(cert);
    PRTime when = 0;
    if (NSS_CMSSignerInfo_GetSigningTime(signer, &when) == SECSuccess)
        check.signedAt = QDateTime::fromMSecsSinceEpoch(when / 1000);
    const NSSCMSVerificationStatus status = NSS_CMSSignerInfo_GetVerificationStatus(signer);
    if (status == NSSCMSVS_SigningCertNotTrusted && !trustChecked) {
        check.valid = true;
        check.problem = u"certificate not checked: no certificate database in Institution.ini"_s;
        return check;
    }
    check.problem = statusText(status);
    check.valid = check.problem.isEmpty();
    return check;
}

} // namespace

SignatureCheck verifyPdfSignature(const QByteArray &pdf, const QString &database)
{
    ensureNss(database);
    std::vector<SignatureField> fields;
    try {
        fields = signatureFields(pdf);
    } catch (const PoDoFo::PdfError &e) {
        SignatureCheck check;
        check.problem = u"the file cannot be read as a PDF ("_s
            + QString::fromUtf8(PoDoFo::PdfError::ErrorMessage(e.GetError())) + u')';
        return check;
    }
    if (fields.empty()) {
        SignatureCheck check;
        check.problem = u"the document is not signed"_s;
        return check;
    }
    // The signature that covers the most of the file is the last one made.
    const auto last = std::max_element(fields.begin(), fields.end(), [](const auto &a, const auto &b) {
        const auto end = [](const SignatureField &f) { return f.byteRange.size() == 4 ? f.byteRange[2] + f.byteRange[3] : 0; };
        return end(a) < end(b);
    });
    return checkField(pdf, *last, !g_nssOpened.isEmpty());
}

SignatureCheck verifyPdfSignature(const QString &path, const QString &database)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SignatureCheck check;
        check.problem = u"the file cannot be read: "_s + file.errorString();
        return check;
    }
    return verifyPdfSignature(file.readAll(), database);
}

} // namespace sw
