// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration reader takes any bytes a person or an old installer left in the
// file. Every section and key the file names must read back the same after the file
// is written and read again.
#include "fuzzsupport.h"
#include "shell/core/inifile.h"
#include "shell/core/passwordcodec.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

void checkRoundTrip(const QByteArray &content, sw::IniFile::Encoding encoding)
{
    const QString path = sw::fuzz::writeScratch(u"fuzz.ini"_s, content);
    sw::IniFile first(path, encoding);
    sw::fuzz::require(first.load());

    // The names in the file: every "[section]" and every "key=" after it.
    QList<std::pair<QString, QString>> names;
    QString section;
    const QString text =
        encoding == sw::IniFile::Encoding::Utf8 ? QString::fromUtf8(content) : QString::fromLatin1(content);
    for (const QString &raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']') && line.size() >= 2)
            section = line.mid(1, line.size() - 2).trimmed();
        else if (const qsizetype eq = line.indexOf(u'='); eq > 0)
            names.append({section, line.left(eq).trimmed()});
        if (names.size() > 64)
            break;
    }
    QStringList before;
    for (const auto &[s, k] : std::as_const(names)) {
        const QString value = first.value(s, k);
        sw::fuzz::require(value.size() <= 254 && !value.contains(QChar(0)));
        before << value;
    }

    // The server password is stored shifted; whatever is stored decodes, and a
    // decoded password of the allowed length encodes back to what was stored.
    for (const QString &section : {u"APATH"_s, u"BPATH"_s}) {
        const QString stored = first.value(section, u"PASSWORD"_s);
        const QString plain = sw::passwords::decodeIni(stored);
        sw::fuzz::require(plain.size() == stored.size());
        sw::fuzz::require(sw::passwords::encodeIni(plain) == stored);
    }

    sw::fuzz::require(first.save());
    sw::IniFile second(path, encoding);
    sw::fuzz::require(second.load());
    for (qsizetype i = 0; i < names.size(); ++i)
        sw::fuzz::require(second.value(names[i].first, names[i].second) == before[i]);

    // A value set is the value read, whatever the file held before.
    second.setValue(u"APATH"_s, u"DBASEPATH"_s, u"SQLSRVR"_s);
    sw::fuzz::require(second.value(u"apath"_s, u"dbasepath"_s) == u"SQLSRVR"_s);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte chooses the encoding: the configuration file (Latin-1) or the
    // institution file (UTF-8); the rest is the file.
    if (size == 0)
        return 0;
    const QByteArray content = sw::fuzz::bytes(data + 1, size - 1);
    checkRoundTrip(content, data[0] & 1 ? sw::IniFile::Encoding::Utf8 : sw::IniFile::Encoding::Latin1);
    return 0;
}
