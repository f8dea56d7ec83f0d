// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/layouts/verificationcode.h"

#include "shell/document/documentrenderer.h"

#include "shell/core/stoperror.h"
#include "shell/db/database.h"

#include <QDir>
#include <QMessageAuthenticationCode>

#include <qrencode.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace sw {

std::optional<VerificationCode> VerificationCode::fromConfig(const InstitutionConfig &config)
{
    const QString section = u"VERIFICATION"_s;
    const QString secret = config.value(section, u"Secret"_s);
    bool okLeft = false, okTop = false, okSize = false;
    const double left = config.value(section, u"Left"_s).toDouble(&okLeft);
    const double top = config.value(section, u"Top"_s).toDouble(&okTop);
    const double size = config.value(section, u"Size"_s).toDouble(&okSize);
    if (secret.isEmpty() || !okLeft || !okTop || !okSize || size <= 0)
        return std::nullopt;
    return VerificationCode(secret, QRectF(left, top, size, size));
}

VerificationCode::VerificationCode(QString secret, QRectF inches)
    : m_secret(std::move(secret))
    , m_inches(inches)
{
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

QImage VerificationCode::image(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::unique_ptr<QRcode, void (*)(QRcode *)> code(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), QRcode_free);
    if (!code)
        throw StopError(u"The verification code of \""_s + text + u"\" could not be made."_s);
    const int quiet = 4;
    const int side = code->width + 2 * quiet;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1)
                image.setPixel(x + quiet, y + quiet, qRgb(0, 0, 0));
        }
    }
    return image;
}

void VerificationCode::addTo(Document &doc, const AppFolder &folder, const QString &certNo, const QString &regno) const
{
    QDir().mkpath(folder.filePath(u"Output/qr"_s));
    const QString file = folder.filePath(u"Output/qr/"_s + certNo + u".png"_s);
    // Scaled up without smoothing so the modules stay sharp on any printer.
    const QImage code = image(payload(certNo, regno));
    if (!code.scaled(code.size() * 8).save(file, "PNG"))
        throw StopError(u"The verification code picture "_s + file + u" cannot be written."_s);
    const QRectF box(m_inches.left() * kPointsPerInch, m_inches.top() * kPointsPerInch,
                     m_inches.width() * kPointsPerInch, m_inches.height() * kPointsPerInch);
    // The code is printed over the page where Institution.ini puts it: never over its text.
    if (const QRectF covered = DocumentRenderer(doc).textUnder(box); !covered.isEmpty())
        throw StopError(u"The verification code ([VERIFICATION] Left, Top, Size in Institution.ini) would cover the "
                        "text of certificate "_s
                            + certNo + u" at "_s + QString::number(covered.top() / kPointsPerInch, 'f', 2)
                            + u" inches down: move it."_s,
                        PromptIcon::Exclamation);
    DocumentBuilder b(doc);
    b.picture(file, box);
}

VerificationCode::Verdict VerificationCode::verify(const Database &db, const QString &scanned) const
{
    const QStringList parts = scanned.trimmed().split(u'|');
    if (parts.size() != 4 || parts[0] != u"SW1"_s)
        return {false, u"Not a certificate verification code."_s};
    const QString certNo = parts[1];
    const QString regno = parts[2];
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
