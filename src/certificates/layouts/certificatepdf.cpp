// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/layouts/certificatepdf.h"

#include "certificates/layouts/certificaterow.h"
#include "shell/core/stoperror.h"
#include "shell/document/documentoutput.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw::certificatepdf {

namespace {

void appendLog(const AppFolder &folder, const QString &line)
{
    QFile log(logPath(folder));
    // A log that cannot be written must not cost the certificate its copy.
    if (log.open(QIODevice::Append | QIODevice::Text))
        log.write((QDateTime::currentDateTime().toString(u"dd/MM/yyyy hh:mm:ss"_s) + u' ' + line + u'\n').toUtf8());
}

} // namespace

QString logPath(const AppFolder &folder)
{
    return folder.filePath(u"mcverifypdf.log"_s);
}

QString pdfPath(const AppFolder &folder, const QString &instCode, const CertificateRow &row)
{
    return folder.filePath(u"CSV/DCPDF/DC_"_s + instCode.trimmed() + u'_' + row.regno + u"_F_"_s + row.year + u'_'
                           + row.examType + u".pdf"_s);
}

void save(const AppFolder &folder, Document certificate, const QString &stamp, const QString &path)
{
    DocumentBuilder b(certificate);
    const QString watermark = folder.findFileAnyCase(u"img/mcwm.jpg"_s);
    if (!watermark.isEmpty())
    {
        // 8.5 by 11.69 inches, centred; on A4 paper no more than the sheet.
        const QSizeF page = certificate.page.pagePoints();
        b.watermark(watermark, QSizeF(std::min(8.5 * kPointsPerInch, page.width()),
                                      std::min(11.69 * kPointsPerInch, page.height())));
    }
    // The box is 1.5 inches wide from 7 inches in; on A4 that would pass the
    // sheet's edge, so it ends at the edge instead.
    const double left = 7 * kPointsPerInch;
    const double width = std::min(1.5 * kPointsPerInch, certificate.page.pagePoints().width() - left);
    b.beginTextBox(QRectF(left, 0.14 * kPointsPerInch, width, 30));
    b.setFont(u"Cambria"_s, 15, true, true);
    b.setColour(QColor(Qt::black));
    b.setAlignment(Alignment::Left);
    b.setLineSpacing(1.0);
    b.setSpaceAfter(0);
    b.type(stamp);
    b.endTextBox();
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        documentoutput::writePdf(certificate, path);
    } catch (const StopError &e) {
        appendLog(folder, u"FAILED "_s + path + u": "_s + e.text());
        throw StopError(u"Error Creating PDF"_s + u"\n"_s + e.text());
    }
    appendLog(folder, u"CREATED "_s + path);
}

} // namespace sw::certificatepdf
