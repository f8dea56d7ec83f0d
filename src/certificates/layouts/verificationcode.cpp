// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/layouts/verificationcode.h"

#include "certificates/layouts/awardlayouts.h"
#include "certificates/layouts/certificaterow.h"
#include "certificates/printing/statusregister.h"
#include "shell/core/dates.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/document/documentrenderer.h"

#include <QDir>
#include <QMessageAuthenticationCode>

#include <qrencode.h>

#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace sw {

std::optional<VerificationCode> VerificationCode::fromConfig(const InstitutionConfig &config)
{
    const QString section = u"VERIFICATION"_s;
    const QString secret = config.value(section, u"Secret"_s);
    const QString pageUrl = config.value(section, u"PageUrl"_s).trimmed();
    bool okLeft = false, okTop = false, okSize = false;
    const double left = config.value(section, u"Left"_s).toDouble(&okLeft);
    const double top = config.value(section, u"Top"_s).toDouble(&okTop);
    const double size = config.value(section, u"Size"_s).toDouble(&okSize);
    if ((secret.isEmpty() && pageUrl.isEmpty()) || !okLeft || !okTop || !okSize || size <= 0)
        return std::nullopt;
    return VerificationCode(secret, QRectF(left, top, size, size), pageUrl);
}

VerificationCode::VerificationCode(QString secret, QRectF inches, QString pageUrl)
    : m_secret(std::move(secret))
    , m_inches(inches)
    , m_pageUrl(std::move(pageUrl))
{
}

void VerificationCode::unlock(const AppFolder &folder, Prompter &prompter)
{
    if (isSigned() && !m_key)
        m_key.emplace(IssuerKey::unlock(folder, prompter));
}

QString VerificationCode::signature(const QString &certNo, const QString &regno) const
{
    const QByteArray mac = QMessageAuthenticationCode::hash((certNo + u'|' + regno).toUtf8(), m_secret.toUtf8(),
                                                            QCryptographicHash::Sha256);
    // 16 bytes keep the code small enough to scan from paper and still cannot be guessed.
    return QString::fromLatin1(mac.left(16).toHex().toUpper());
}

QString VerificationCode::payload(const QString &certNo, const QString &regno) const
{
    return u"SW1|"_s + certNo + u'|' + regno + u'|' + signature(certNo, regno);
}

QImage VerificationCode::image(const QString &text, int pixelsPerModule)
{
    const QByteArray utf8 = text.toUtf8();
    std::unique_ptr<QRcode, void (*)(QRcode *)> code(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), QRcode_free);
    if (!code)
        throw StopError(u"The verification code of \""_s + text + u"\" could not be made."_s);
    const int quiet = 4;
    const int scale = std::max(1, pixelsPerModule);
    const int side = (code->width + 2 * quiet) * scale;
    // One bit a pixel, 0 black and 1 white: a PDF then holds the code as a one-bit mask,
    // where any other picture is converted to colour and compressed as JPEG for every copy.
    QImage image(side, side, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
    for (int y = 0; y < code->width; ++y) {
        const int top = (y + quiet) * scale;
        uchar *line = image.scanLine(top);
        for (int x = 0; x < code->width; ++x) {
            if (!(code->data[y * code->width + x] & 1))
                continue;
            for (int px = (x + quiet) * scale; px < (x + quiet + 1) * scale; ++px)
                line[px >> 3] &= uchar(~(0x80 >> (px & 7))); // the most significant bit is the leftmost pixel
        }
        for (int row = 1; row < scale; ++row)
            std::memcpy(image.scanLine(top + row), line, std::size_t(image.bytesPerLine()));
    }
    return image;
}

QRectF VerificationCode::box() const
{
    return QRectF(m_inches.left() * kPointsPerInch, m_inches.top() * kPointsPerInch, m_inches.width() * kPointsPerInch,
                  m_inches.height() * kPointsPerInch);
}

void VerificationCode::checkPlace(const Document &doc, const QString &certNo) const
{
    // The code is printed over the page where Institution.ini puts it: never over its text.
    if (const QRectF covered = DocumentRenderer(doc).textUnder(box()); !covered.isEmpty())
        throw StopError(u"The verification code ([VERIFICATION] Left, Top, Size in Institution.ini) would cover the "
                        "text of certificate "_s
                            + certNo + u" at "_s + QString::number(covered.top() / kPointsPerInch, 'f', 2)
                            + u" inches down: move it."_s,
                        PromptIcon::Exclamation);
}

void VerificationCode::checkClearOf(const QRectF &points, const QString &what) const
{
    if (!box().intersects(points))
        return;
    auto inches = [](double p) { return QString::number(p / kPointsPerInch, 'f', 2); };
    throw StopError(u"The verification code ([VERIFICATION] Left, Top, Size in Institution.ini) would cover "_s + what
                        + u" ("_s + inches(points.left()) + u" to "_s + inches(points.right()) + u" inches across, "_s
                        + inches(points.top()) + u" to "_s + inches(points.bottom()) + u" inches down): move it."_s,
                    PromptIcon::Exclamation);
}

void VerificationCode::addTo(Document &doc, const QString &text) const
{
    DocumentBuilder b(doc);
    b.picture(image(text, kPixelsPerModule), u"verification code"_s, box());
}

VerificationCode::Verdict VerificationCode::verify(const Database &db, const QString &scanned) const
{
    const QStringList parts = scanned.trimmed().split(u'|');
    if (parts.size() != 4 || parts[0] != u"SW1"_s)
        return {false, u"Not a certificate verification code."_s};
    const QString &certNo = parts[1];
    const QString &regno = parts[2];
    if (parts[3].toUpper() != signature(certNo, regno))
        return {false, u"NOT GENUINE: the signature does not match certificate "_s + certNo + u" of Reg. No. "_s + regno
                           + u'.'};
    Rows rows = db.query(u"select convo.fname, convo.fdegree, degree.fdescpn, convo.fconvocode from convo "
                         "left join degree on degree.fdegree = convo.fdegree "
                         "where convo.fcertno = ? and convo.fregno = ?"_s,
                         {certNo, regno});
    if (rows.next())
        return {true, u"GENUINE: certificate "_s + certNo + u" of Reg. No. "_s + regno + u", "_s
                          + rows.text(0).trimmed() + u", "_s + rows.text(2).trimmed() + u" ("_s + rows.text(1).trimmed()
                          + u"), convocation "_s + rows.text(3).trimmed() + u'.'};
    if (db.exists(u"select 1 from certcan where fcertno = ? and fregno = ?"_s, {certNo, regno}))
        return {true, u"CANCELLED: certificate "_s + certNo + u" of Reg. No. "_s + regno
                          + u" was issued by this institution and has since been cancelled."_s};
    return {true, u"CANCELLED: certificate "_s + certNo + u" of Reg. No. "_s + regno
                      + u" was issued by this institution but is no longer held by the candidate."_s};
}

} // namespace sw

namespace sw {

namespace {

constexpr char16_t kSeparator = u'\x1f';

QString fieldText(QString text)
{
    // The separator cannot stand inside a field; nothing the register holds contains it.
    return text.remove(QChar(kSeparator)).trimmed();
}

} // namespace

CertificateClaims CertificateClaims::of(const CertificateRow &row)
{
    CertificateClaims c;
    c.certNo = row.certNo.trimmed();
    c.regno = row.regno.trimmed();
    c.name = row.name.trimmed();
    c.degree =
        row.hasSpeciality() ? row.descpn.trimmed() + u" ("_s + row.special.trimmed() + u')' : row.descpn.trimmed();
    c.className = row.classDesc.trimmed();
    c.convocation = row.convoName.trimmed();
    c.issued = row.printedDate;
    return c;
}

CertificateClaims CertificateClaims::of(const AwardRow &row, const QString &award)
{
    CertificateClaims c;
    c.regno = row.regno.trimmed();
    c.name = row.name.trimmed();
    c.degree = AwardLayouts::degreeWithSpeciality(row).trimmed();
    c.className = award.trimmed();
    c.convocation = row.convoName.trimmed();
    return c;
}

QByteArray CertificateClaims::signedBytes() const
{
    const QStringList fields = {fieldText(certNo),
                                fieldText(regno),
                                fieldText(name),
                                fieldText(degree),
                                fieldText(className),
                                fieldText(convocation),
                                issued.isValid() ? issued.toString(u"yyyy-MM-dd"_s) : QString(),
                                QString::number(statusList),
                                QString::number(statusIndex)};
    return QByteArray(1, kVersion) + fields.join(QChar(kSeparator)).toUtf8();
}

std::optional<CertificateClaims> CertificateClaims::fromSignedBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.front() != kVersion)
        return std::nullopt;
    const QStringList fields = QString::fromUtf8(bytes.mid(1)).split(QChar(kSeparator));
    if (fields.size() != 9)
        return std::nullopt;
    CertificateClaims c;
    c.certNo = fields[0];
    c.regno = fields[1];
    c.name = fields[2];
    c.degree = fields[3];
    c.className = fields[4];
    c.convocation = fields[5];
    c.issued = QDate::fromString(fields[6], u"yyyy-MM-dd"_s);
    bool okList = false, okIndex = false;
    c.statusList = fields[7].toInt(&okList);
    c.statusIndex = fields[8].toLongLong(&okIndex);
    if (!okList || !okIndex)
        return std::nullopt;
    return c;
}

QString CertificateClaims::describe() const
{
    QStringList parts = {u"certificate "_s + certNo + u" of Reg. No. "_s + regno, name, degree};
    if (!className.isEmpty())
        parts << className;
    if (!convocation.isEmpty())
        parts << convocation;
    if (issued.isValid())
        parts << u"issued "_s + issued.toString(u"dd/MM/yyyy"_s);
    return parts.join(u", "_s);
}

QString VerificationCode::signedPayload(const CertificateClaims &claims, const IssuerKey &key)
{
    const QByteArray bytes = claims.signedBytes();
    return QString::fromLatin1(base64Url(bytes + key.sign(bytes)));
}

QString VerificationCode::text(const CertificateClaims &claims) const
{
    if (!isSigned())
        return payload(claims.certNo, claims.regno);
    if (m_key)
        return m_pageUrl + u'#' + signedPayload(claims, *m_key);
    // A preview's code: the claims without a signature, which no check accepts.
    const QByteArray bytes = claims.signedBytes();
    return m_pageUrl + u'#' + QString::fromLatin1(base64Url(bytes + QByteArray(IssuerKey::kSignatureBytes, '\0')));
}

CodeVerdict VerificationCode::verifySigned(const QByteArray &publicKey, const QString &scanned)
{
    CodeVerdict v;
    QString text = scanned.trimmed();
    if (const qsizetype hash = text.lastIndexOf(u'#'); hash >= 0)
        text = text.mid(hash + 1);
    const QByteArray encoded = text.toLatin1();
    const auto bytes = fromBase64Url(encoded);
    // Strict: one changed character never reads as the same bytes (base64url's last
    // character may carry bits that decoding drops).
    if (!bytes || base64Url(*bytes) != encoded || bytes->size() <= IssuerKey::kSignatureBytes) {
        v.text = u"NOT GENUINE: this is not a certificate verification code of this institution."_s;
        return v;
    }
    const QByteArray message = bytes->left(bytes->size() - IssuerKey::kSignatureBytes);
    const QByteArray signature = bytes->right(IssuerKey::kSignatureBytes);
    v.claims = CertificateClaims::fromSignedBytes(message);
    if (!v.claims || !IssuerKey::verify(publicKey, message, signature)) {
        v.claims.reset();
        v.text = u"NOT GENUINE: the code's signature does not match the institution's key; the code was changed "
                 "or not made by this institution."_s;
        return v;
    }
    v.signatureGood = true;
    v.status = CodeVerdict::Status::Genuine;
    v.text = u"GENUINE: "_s + v.claims->describe() + u'.';
    return v;
}

CodeVerdict VerificationCode::verifySigned(const QByteArray &publicKey, const QString &scanned, Database &db)
{
    CodeVerdict v = verifySigned(publicKey, scanned);
    if (!v.signatureGood)
        return v;
    const auto entry = StatusRegister(db).find(v.claims->certNo);
    if (entry && entry->revoked) {
        v.status = CodeVerdict::Status::Revoked;
        v.text = u"REVOKED: "_s + v.claims->describe() + u"; revoked"_s
                 + (entry->revokedOn.isValid() ? u" on "_s + entry->revokedOn.toString(u"dd/MM/yyyy"_s) : QString())
                 + (entry->revocationText().isEmpty() ? QString() : u": "_s + entry->revocationText()) + u'.';
    } else if (entry && entry->suspended) {
        v.status = CodeVerdict::Status::Suspended;
        v.text = u"SUSPENDED: "_s + v.claims->describe() + u"; on hold"_s
                 + (entry->heldOn.isValid() ? u" since "_s + entry->heldOn.toString(u"dd/MM/yyyy"_s) : QString())
                 + (entry->holdReason.isEmpty() ? QString() : u": "_s + entry->holdReason) + u'.';
    } else {
        v.text = u"GENUINE: "_s + v.claims->describe() + u"; the certificate stands."_s;
    }
    return v;
}

} // namespace sw
