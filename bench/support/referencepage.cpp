// SPDX-License-Identifier: GPL-3.0-or-later
#include "referencepage.h"

#include "shell/document/documentoutput.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <time.h>

using namespace Qt::StringLiterals;

namespace sw::bench {

namespace {

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

} // namespace

QString makeReferencePicture(const QString &path, int size, QColor colour)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setBrush(colour);
    p.drawEllipse(image.rect().adjusted(4, 4, -4, -4));
    p.end();
    image.save(path, "JPG", 90);
    return path;
}

Document referenceCertificate(const QString &seal, const QString &signature, int serial)
{
    Document doc;
    doc.page.topInches = 2.2;
    DocumentBuilder b(doc);
    b.setAlignment(Alignment::Centre);
    b.setSpaceAfter(6);
    for (int i = 0; i < 10; ++i) {
        // Two fonts: each one embedded per file is most of a PDF's cost.
        if (i % 2 == 0)
            b.setFont(u"DejaVu Serif"_s, i == 0 ? 20 : 14);
        else
            b.setFont(u"Liberation Sans"_s, 13);
        b.type(i == 0 ? u"DEGREE CERTIFICATE"_s
                      : u"Certify that CANDIDATE "_s + QString::number(serial)
                            + u" has been duly admitted to the Degree of Bachelor of Science"_s);
        b.endParagraph();
    }
    b.picture(seal, QRectF(250, 640, 90, 90));
    b.picture(signature, QRectF(420, 700, 110, 40));
    return doc;
}

double referencePagesPerCpuSecond(const QString &folder, int pages)
{
    const QDir dir(folder);
    const QString seal = makeReferencePicture(dir.filePath(u"reference-seal.jpg"_s), 400, Qt::darkBlue);
    const QString signature = makeReferencePicture(dir.filePath(u"reference-vc.jpg"_s), 200, Qt::black);
    // The first page pays for font loading; it is not counted.
    documentoutput::writePdf(referenceCertificate(seal, signature, 0), dir.filePath(u"reference-warm.pdf"_s));
    const double start = cpuSeconds();
    for (int i = 0; i < pages; ++i)
        documentoutput::writePdf(referenceCertificate(seal, signature, i), dir.filePath(u"reference-%1.pdf"_s.arg(i)));
    const double used = cpuSeconds() - start;
    return used > 0 ? pages / used : 0;
}

} // namespace sw::bench
