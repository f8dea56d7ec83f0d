// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Signed PDF copies for the tests: a throw-away certificate authority and signer made
// with certutil once per test process, the institution file that names them, the
// ways a signed file gets spoiled, and poppler's pdfsig as the independent checker.
// Tests that include it link scrollwise_demo.
#include "app/demo/throwawaysigner.h"
#include "shell/core/appfolder.h"
#include "shell/core/inifile.h"
#include "shell/signing/pdfsignature.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace sw::test {

inline const ThrowAwaySigner &testSigner()
{
    static QTemporaryDir dir;
    static const ThrowAwaySigner signer =
        ThrowAwaySigner::make(dir.filePath(QStringLiteral("nss")), QStringLiteral("s3cret PIN"));
    return signer;
}

// Names the test signer in the [SIGNING] section of the folder's Institution.ini.
inline void configureSigning(const AppFolder &folder, const ThrowAwaySigner &signer = testSigner())
{
    IniFile ini(folder.filePath(QStringLiteral("Institution.ini")), IniFile::Encoding::Utf8);
    ini.load();
    ini.setValue(QStringLiteral("SIGNING"), QStringLiteral("Database"), signer.database);
    ini.setValue(QStringLiteral("SIGNING"), QStringLiteral("Nickname"), signer.nickname);
    ini.setValue(QStringLiteral("SIGNING"), QStringLiteral("Location"), QStringLiteral("Suvarnapura"));
    ASSERT_TRUE(ini.save()) << ini.errorString().toStdString();
}

// A one-page PDF with `text` on it, as the copies are.
inline QByteArray smallPdf(const QString &text)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        painter.drawText(QPointF(200, 400), text);
    }
    return bytes;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// How a signed file is spoiled after signing.
enum class Spoil { FlipSignedByte, AppendUpdate, DropSignature };
inline QByteArray spoiled(QByteArray pdf, Spoil how)
{
    switch (how) {
    case Spoil::FlipSignedByte: {
        // A byte the signature covers, found from the signed ranges rather than at a fixed
        // offset (which lands in the unsigned signature value when the file's length
        // changes): a digit of the creation date, so the file still reads as a PDF.
        const qsizetype range = pdf.lastIndexOf("/ByteRange");
        const QList<QByteArray> numbers =
            pdf.mid(range, 80).split('[').value(1).split(']').value(0).simplified().split(' ');
        const qsizetype firstLength = numbers.value(1).toLongLong();
        const QByteArray date = "/CreationDate (D:";
        qsizetype at = pdf.indexOf(date);
        at = at < 0 || at + date.size() >= firstLength ? firstLength / 2 : at + date.size();
        EXPECT_GT(firstLength, at) << "the changed byte is not covered by the signature";
        pdf[at] = char(pdf[at] ^ 0x01);
        break;
    }
    case Spoil::AppendUpdate: pdf += "\n% appended after signing\n"; break;
    case Spoil::DropSignature: pdf.replace("/ByteRange", "/ByteRangX"); break;
    }
    return pdf;
}

// pdfsig's report on a file, checked against the test signer's database.
inline QString pdfsig(const QString &path, const QString &database = testSigner().database)
{
    QProcess p;
    p.start(QStringLiteral("pdfsig"), {QStringLiteral("-nssdir"), QStringLiteral("sql:") + database, path});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// The last signature of a signed PDF taken apart: the CMS bytes of /Contents (without
// the zeros that pad its room) and the bytes /ByteRange says it covers.
struct SignatureParts
{
    QByteArray cms;
    QByteArray covered;
};
inline SignatureParts signatureParts(const QByteArray &pdf)
{
    SignatureParts parts;
    const qsizetype range = pdf.lastIndexOf("/ByteRange");
    const qsizetype open = pdf.indexOf('[', range), close = pdf.indexOf(']', open);
    const QList<QByteArray> numbers = pdf.mid(open + 1, close - open - 1).simplified().split(' ');
    if (range < 0 || numbers.size() != 4)
        return parts;
    parts.covered = pdf.mid(numbers[0].toLongLong(), numbers[1].toLongLong())
                    + pdf.mid(numbers[2].toLongLong(), numbers[3].toLongLong());
    const qsizetype hexStart = numbers[0].toLongLong() + numbers[1].toLongLong() + 1;
    const QByteArray room = QByteArray::fromHex(pdf.mid(hexStart, numbers[2].toLongLong() - hexStart - 1));
    // A DER SEQUENCE says its own length: 0x30, then 0x82 and two bytes for any real signature.
    if (room.size() > 4 && quint8(room[0]) == 0x30 && quint8(room[1]) == 0x82)
        parts.cms = room.left(4 + (quint8(room[2]) << 8 | quint8(room[3])));
    return parts;
}

} // namespace sw::test
