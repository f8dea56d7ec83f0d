// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fontsets.h"

#include "support/pdftext.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace sw::test {

namespace {

constexpr const char *kOutVariable = "SCROLLWISE_PAGES_OUT";
// fontconfig's own file: every font the machine has.
const QString kMachineConfig = QStringLiteral("/etc/fonts/fonts.conf");

// Writes the pages of the tests `filter` selects into `out`, under `fontconfig` (the
// machine's own configuration when empty). Returns why it failed, or empty.
QString writePages(const QString &filter, const QString &out, const QString &fontconfig)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kOutVariable), out);
    // Named either way: a test program left without one takes the project's.
    env.insert(u"FONTCONFIG_FILE"_s, fontconfig.isEmpty() ? kMachineConfig : fontconfig);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(), {u"--gtest_filter="_s + filter});
    if (!p.waitForFinished(240000) || p.exitCode() != 0)
        return u"the pages could not be written ("_s + (fontconfig.isEmpty() ? u"machine fonts"_s : fontconfig)
               + u"):\n"_s + QString::fromUtf8(p.readAll()).right(3000);
    if (QDir(out).entryList({u"*.pdf"_s}).isEmpty())
        return u"the tests "_s + filter + u" wrote no page"_s;
    return {};
}

// The fonts a PDF embeds, without the subset tags ("ABCDEF+Carlito" is "Carlito").
QStringList embeddedFonts(const QString &pdf)
{
    QProcess p;
    p.start(u"pdffonts"_s, {pdf});
    p.waitForFinished(60000);
    static const QRegularExpression subset(u"^[A-Z]{6}\\+"_s);
    QStringList fonts;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    for (qsizetype i = 2; i < lines.size(); ++i) { // below the heading and its ruler
        const QString name = lines[i].section(u' ', 0, 0, QString::SectionSkipEmpty);
        if (!name.isEmpty())
            fonts << QString(name).remove(subset);
    }
    fonts.sort();
    fonts.removeDuplicates();
    return fonts;
}

// Every word with its box to a tenth of a point, one a line.
QStringList placedWords(const QString &pdf)
{
    static const QRegularExpression word(
        uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"_s);
    QStringList out;
    const QString html = pdfText(pdf, {u"-bbox"_s});
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QStringList place;
        for (int i = 1; i <= 4; ++i)
            place << QString::number(m.captured(i).toDouble(), 'f', 1);
        out << m.captured(5) + u" @ "_s + place.join(u' ');
    }
    return out;
}

} // namespace

QString pagesOutFolder() { return qEnvironmentVariable(kOutVariable); }

QStringList pagesThatDependOnFonts(const QString &filter)
{
    QTemporaryDir project;
    QTemporaryDir machine;
    const QString ownConfig = qEnvironmentVariable("FONTCONFIG_FILE", QStringLiteral(SCROLLWISE_FONTS_CONF));
    for (const auto &[out, config] : {std::pair{project.path(), ownConfig}, std::pair{machine.path(), QString()}}) {
        if (const QString failed = writePages(filter, out, config); !failed.isEmpty())
            return {failed};
    }
    QStringList differences;
    for (const QString &name : QDir(project.path()).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name)) {
        const QString a = QDir(project.path()).filePath(name);
        const QString b = QDir(machine.path()).filePath(name);
        if (!QFileInfo::exists(b)) {
            differences << name + u": not written with the machine's fonts"_s;
            continue;
        }
        if (const QStringList fa = embeddedFonts(a), fb = embeddedFonts(b); fa != fb)
            differences << name + u": fonts "_s + fa.join(u", "_s) + u" with the project's fonts, "_s + fb.join(u", "_s)
                               + u" with the machine's"_s;
        const QStringList wa = placedWords(a);
        const QStringList wb = placedWords(b);
        if (wa.isEmpty())
            differences << name + u": no word read"_s;
        for (qsizetype i = 0; i < std::max(wa.size(), wb.size()); ++i) {
            if (wa.value(i) != wb.value(i)) {
                differences << name + u": word "_s + QString::number(i + 1) + u" is \""_s + wa.value(i)
                                   + u"\" with the project's fonts, \""_s + wb.value(i) + u"\" with the machine's"_s;
                break; // the first is enough to find it; the rest follow from it
            }
        }
    }
    return differences;
}

} // namespace sw::test
