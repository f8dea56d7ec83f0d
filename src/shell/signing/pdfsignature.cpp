// SPDX-License-Identifier: GPL-3.0-or-later
// Signing: the settings of Institution.ini and PdfSigner. PoDoFo writes the signature
// field as an incremental update; NSS holds the key and makes the PKCS#7 signature.
#include "shell/signing/pdfsignature.h"

#include "shell/core/filewrite.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/signing/cmssignature.h"
#include "shell/signing/nsssession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <podofo/podofo.h>

#include <algorithm>
#include <exception>
#include <utility>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr double kPointsPerInch = 72.0;
// Room for the PKCS#7 signature with a chain of a few 4096-bit certificates.
constexpr std::size_t kSignatureBytes = 10240;

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
    s.boxInches =
        QRectF(inches("BoxLeft", 0.5), inches("BoxTop", 10.85), inches("BoxWidth", 2.7), inches("BoxHeight", 0.55));
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
    // The certificates above it, found once for the run: building the chain looks each
    // issuer up in the database, which cost a third of every signature.
    std::vector<CERTCertificate *> issuers;

    ~State()
    {
        if (pin)
            pin->fill('\0');
        if (key)
            SECKEY_DestroyPrivateKey(key);
        for (CERTCertificate *issuer : issuers)
            CERT_DestroyCertificate(issuer);

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
    nss::ensureOpen(m_settings.database);
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
    // A key kept in the certificate database is decrypted from it on every use; a copy
    // in memory for the run signs twenty times faster. A token that keeps its keys to
    // itself refuses the copy, and its own key signs.
    if (SECKEYPrivateKey *inMemory = PK11_CopyTokenPrivKeyToSessionPrivKey(state->key->pkcs11Slot, state->key)) {
        SECKEY_DestroyPrivateKey(state->key);
        state->key = inMemory;
    }
    if (CERT_CheckCertValidTimes(state->cert, PR_Now(), PR_FALSE) != secCertTimeValid) {
        PRTime from = 0, until = 0;
        CERT_GetCertTimes(state->cert, &from, &until);
        throw StopError(u"The certificate \""_s + m_settings.nickname + u"\" is valid from "_s
                            + QDateTime::fromMSecsSinceEpoch(from / 1000).toString(u"dd/MM/yyyy"_s) + u" to "_s
                            + QDateTime::fromMSecsSinceEpoch(until / 1000).toString(u"dd/MM/yyyy"_s)
                            + u", not today: it cannot sign."_s,
                        PromptIcon::Exclamation);
    }
    for (CERTCertificate *c = state->cert; c && !c->isRoot && state->issuers.size() < 8;) {
        c = CERT_FindCertIssuer(c, PR_Now(), certUsageAnyCA);
        if (c)
            state->issuers.push_back(c);
    }
    m_state = std::move(state);
}

QString PdfSigner::signerName() const { return m_state ? nss::commonName(m_state->cert) : QString(); }

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
        const QByteArray signature =
            cms::detachedSignature(m_state->cert, m_state->issuers, m_state->key, digest, when);
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

} // namespace sw
