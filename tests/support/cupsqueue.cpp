// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/cupsqueue.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRawFont>
#include <QSet>
#include <QStandardPaths>
#include <QThread>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace sw::test {

namespace {

// The driver of a printer that takes PDF: CUPS's text filter makes the PDF and
// nothing after it changes the text, so pdftotext reads back what was printed.
const QString kPdfPrinterDriver = u"/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd"_s;

bool writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) == text.toUtf8().size();
}

QString findProgram(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {u"/usr/sbin"_s, u"/sbin"_s});
    return path;
}

} // namespace

CupsQueue::CupsQueue()
{
    m_hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
    m_previousServer = qgetenv("CUPS_SERVER");
    if (!start() && m_problem.isEmpty())
        m_problem = u"the CUPS scheduler did not start"_s;
}

CupsQueue::~CupsQueue()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(10000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }
    if (m_hadServer)
        qputenv("CUPS_SERVER", m_previousServer);
    else
        qunsetenv("CUPS_SERVER");
}

bool CupsQueue::run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess p;
    p.start(program, arguments);
    const bool finished = p.waitForFinished(30000);
    const QString said = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
    if (output)
        *output = said;
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_problem = QFileInfo(program).fileName() + u' ' + arguments.join(u' ') + u" failed: "_s
                    + (said.trimmed().isEmpty() ? p.errorString() : said.trimmed());
        return false;
    }
    return true;
}

bool CupsQueue::start()
{
    const QString cupsd = findProgram(u"cupsd"_s);
    const QString lpadmin = findProgram(u"lpadmin"_s);
    const QString lpstat = findProgram(u"lpstat"_s);
    if (cupsd.isEmpty() || lpadmin.isEmpty() || lpstat.isEmpty() || findProgram(u"lp"_s).isEmpty()) {
        m_problem = u"CUPS is not installed (cupsd, lpadmin, lpstat and lp are needed: scripts/install-deps)"_s;
        return false;
    }
    if (!QFileInfo::exists(kPdfPrinterDriver)) {
        m_problem = u"the PDF printer driver "_s + kPdfPrinterDriver + u" (cups-filters) is missing"_s;
        return false;
    }
    if (!m_dir.isValid())
        return false;
    const QDir dir(m_dir.path());
    for (const QString &sub : {u"etc"_s, u"spool"_s, u"cache"_s, u"state"_s, u"tmp"_s, u"log"_s, u"out"_s, u"ssl"_s})
        dir.mkpath(sub);
    // The filters run as the scheduler's user (lp): they must reach the folder and write
    // their temporary files in it.
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(dir.filePath(u"tmp"_s)).constData(), 01777);

    m_socket = dir.filePath(u"cups.sock"_s);
    const QString files = u"ServerRoot "_s + dir.filePath(u"etc"_s) + u"\nRequestRoot "_s + dir.filePath(u"spool"_s)
                          + u"\nCacheDir "_s + dir.filePath(u"cache"_s) + u"\nStateDir "_s + dir.filePath(u"state"_s)
                          + u"\nTempDir "_s + dir.filePath(u"tmp"_s) + u"\nServerKeychain "_s + dir.filePath(u"ssl"_s)
                          + u"\nAccessLog "_s + dir.filePath(u"log/access_log"_s) + u"\nErrorLog "_s
                          + dir.filePath(u"log/error_log"_s) + u"\nPageLog "_s + dir.filePath(u"log/page_log"_s)
                          + u"\nPrintcap "_s + dir.filePath(u"printcap"_s) + u"\nFileDevice Yes\nSystemGroup root\n"_s;
    const QString daemon = u"Listen "_s + m_socket
                           + u"\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"_s;
    const QString filesConf = dir.filePath(u"etc/cups-files.conf"_s);
    const QString daemonConf = dir.filePath(u"etc/cupsd.conf"_s);
    if (!writeFile(filesConf, files) || !writeFile(daemonConf, daemon)) {
        m_problem = u"the scheduler's configuration could not be written under "_s + dir.path();
        return false;
    }

    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.start(cupsd, {u"-f"_s, u"-c"_s, daemonConf, u"-s"_s, filesConf});
    if (!m_daemon.waitForStarted(10000)) {
        m_problem = u"cupsd could not be started: "_s + m_daemon.errorString();
        return false;
    }
    qputenv("CUPS_SERVER", QFile::encodeName(m_socket));
    const QDeadlineTimer deadline(20000);
    QString said;
    while (!run(lpstat, {u"-r"_s}, &said) || !said.contains(u"is running"_s)) {
        if (m_daemon.state() == QProcess::NotRunning || deadline.hasExpired()) {
            m_problem = u"the CUPS scheduler did not start: "_s + QString::fromLocal8Bit(m_daemon.readAll()).trimmed()
                        + u' ' + logTail();
            return false;
        }
        QThread::msleep(100);
    }
    m_problem.clear();
    return run(lpadmin, {u"-p"_s, name(), u"-E"_s, u"-v"_s, u"file://"_s + dir.filePath(u"out/job.pdf"_s), u"-P"_s,
                         kPdfPrinterDriver});
}

QString CupsQueue::waitForPdf()
{
    const QString pdf = QDir(m_dir.path()).filePath(u"out/job.pdf"_s);
    const QString lpstat = findProgram(u"lpstat"_s);
    const QDeadlineTimer deadline(120000);
    while (!deadline.hasExpired()) {
        QString pending;
        QString state;
        if (run(lpstat, {u"-o"_s, name()}, &pending) && pending.trimmed().isEmpty()) {
            run(lpstat, {u"-p"_s, name()}, &state);
            if (QFileInfo(pdf).size() > 0 && state.contains(u"idle"_s))
                return pdf;
            if (!state.contains(u"enabled"_s) && !state.contains(u"idle"_s))
                break; // the queue stopped on an error
        }
        QThread::msleep(200);
    }
    m_problem = u"the queue made no PDF: "_s + logTail();
    return {};
}

QString CupsQueue::logTail() const
{
    QFile log(QDir(m_dir.path()).filePath(u"log/error_log"_s));
    if (!log.open(QIODevice::ReadOnly))
        return u"(no scheduler log)"_s;
    const QByteArray all = log.readAll();
    return QString::fromLocal8Bit(all.right(3000));
}

namespace {

// A ToUnicode CMap for a font whose character identifiers are its glyph numbers:
// each glyph the font's own character map reaches, back to its character.
std::string toUnicodeMap(const QRawFont &font)
{
    QString entries;
    int count = 0;
    QSet<quint32> mapped; // a glyph that several characters share reads as the first of them
    for (char16_t c = 0x20; c < 0x2000; ++c) {
        const QChar ch(c);
        if (ch.isSurrogate())
            continue;
        const QList<quint32> glyphs = font.glyphIndexesForString(QString(ch));
        if (glyphs.size() != 1 || glyphs[0] == 0 || mapped.contains(glyphs[0]))
            continue;
        mapped.insert(glyphs[0]);
        entries += u"<%1> <%2>\n"_s.arg(glyphs[0], 4, 16, QChar(u'0')).arg(int(c), 4, 16, QChar(u'0'));
        ++count;
    }
    const QString map = u"/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"_s
                        + QString::number(count) + u" beginbfchar\n"_s + entries
                        + u"endbfchar\nendcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n"_s;
    return map.toStdString();
}

} // namespace

QString withCharacterMaps(const QString &pdf)
{
    QPDF document;
    document.processFile(QFile::encodeName(pdf).constData());
    for (QPDFObjectHandle font : document.getAllObjects()) {
        if (!font.isDictionary() || !font.getKey("/Subtype").isNameAndEquals("/Type0") || font.hasKey("/ToUnicode"))
            continue;
        QPDFObjectHandle descendant = font.getKey("/DescendantFonts").getArrayItem(0);
        if (!descendant.isDictionary() || descendant.hasKey("/CIDToGIDMap"))
            continue; // the map below holds for identifiers that are glyph numbers only
        QPDFObjectHandle file = descendant.getKey("/FontDescriptor").getKey("/FontFile2");
        if (!file.isStream())
            continue;
        const std::shared_ptr<Buffer> data = file.getStreamData(qpdf_dl_generalized);
        const QRawFont raw(QByteArray(reinterpret_cast<const char *>(data->getBuffer()), qsizetype(data->getSize())),
                           12);
        if (raw.isValid())
            font.replaceKey("/ToUnicode", document.newStream(toUnicodeMap(raw)));
    }
    const QString copy = pdf + u".text.pdf"_s;
    QPDFWriter writer(document, QFile::encodeName(copy).constData());
    writer.write();
    return copy;
}

bool cupsQueueReady(const CupsQueue &queue)
{
    if (queue.ready())
        return true;
    if (qEnvironmentVariable("CI") == u"true"_s) {
        ADD_FAILURE() << "CI=true but the test's CUPS queue could not start: " << queue.problem().toStdString();
        return false;
    }
    const std::string reason = "no CUPS queue of the test's own: " + queue.problem().toStdString();
    GTEST_MESSAGE_(reason.c_str(), ::testing::TestPartResult::kSkip);
    return false;
}

} // namespace sw::test
