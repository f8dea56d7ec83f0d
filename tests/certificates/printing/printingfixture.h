// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An installed folder of institution 003 with a convocation ready to print: masters
// with their Kannada texts, the name library entry of the exam date, photographs,
// seal and signatures, and the layout texts of the institution file.
#include "../../candidates/entry/seeddata.h"
#include "certificates/printing/printingrun.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/core/inifile.h"
#include "shell/core/issuerkey.h"
#include "shell/session.h"
#include "support/batchrun.h"
#include "support/files.h"
#include "support/pdftext.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Failures name texts as text.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '[' << list.join(QStringLiteral(" | ")).toStdString() << ']';
}

namespace sw::test {

inline void writePicture(const QString &path, int width, int height, const QColor &colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.setDotsPerMeterX(3780); // 96 to the inch
    image.setDotsPerMeterY(3780);
    ASSERT_TRUE(image.save(path, "JPG"));
}

// A word of a PDF as pdftotext -bbox reads it: where it stands on its page.
struct Word
{
    QString text;
    QRectF box; // points from the page's corner
    int page = 0;
};

inline std::vector<Word> words(const QString &pdf)
{
    const QString html = test::pdfText(pdf, {QStringLiteral("-bbox")});
    static const QRegularExpression re(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> out;
    const QStringList pages = html.split(QStringLiteral("<page "));
    for (int page = 1; page < pages.size(); ++page) {
        for (auto it = re.globalMatch(pages[page]); it.hasNext();) {
            const auto m = it.next();
            out.push_back({m.captured(5),
                           QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                           page});
        }
    }
    return out;
}

inline const Word *find(const std::vector<Word> &all, const QString &text)
{
    for (const Word &w : all) {
        if (w.text == text)
            return &w;
    }
    return nullptr;
}

// The pictures of a composed sheet by file name, with their places and sizes in points when asked.
inline QStringList pictures(const Document &doc, bool withPlaces = false)
{
    QStringList out;
    for (const AnchoredItem &a : doc.anchored) {
        if (const auto *p = std::get_if<PictureItem>(&a.item))
            out << QFileInfo(p->file).fileName()
                       + (withPlaces ? u'@' + QString::number(p->points.x()) + u',' + QString::number(p->points.y())
                                           + u' ' + QString::number(p->points.width(), 'f', 0) + u'x'
                                           + QString::number(p->points.height(), 'f', 0)
                                     : QString());
    }
    return out;
}

class PrintingFixture : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<InstalledFolder>(GetParam(), institution());
        m_session.folder = m_folder->folder();
        m_session.cn = m_folder->connect();
        m_session.convoCode = QStringLiteral("C26");
        m_session.userName = QStringLiteral("CLERK");
        m_session.instCode = institution();
        using namespace Qt::StringLiterals;
        Database &db = m_session.db();
        seedMasters(db);
        db.exec(u"update masconvo set fdate = '20/12/2025', fdatekan = ?, fconvonamekan = ? where fconvocode = 'C26'"_s,
                {u"20-12-2025"_s, u"75£ÉÃ"_s});
        db.exec(u"update degree set fdescpnkan = ? where fdegree = 'BA'"_s, {u"©.J."_s});
        db.exec(u"update class set fclassdesckan = ? where fclasscode = 'FC'"_s, {u"¥ÀxÀªÀÄ"_s});
        db.exec(u"insert into kanlib (fengname, fkanname) values ('APRIL 2025', ?)"_s, {u"K¦æ¯ï 2025"_s});
        db.exec(u"update control set fdegkan = 'T'"_s);
        // The clerk may use the commands of the printing, cancellation and rank screens.
        db.exec(u"update masuser set fpermission = ? where fusername = 'CLERK'"_s, {u"N2*N24*N25*N29*N2B*N2F*"_s});
        for (const QString &regno : {u"R1"_s, u"R2"_s, u"R3"_s, u"R4"_s}) {
            insertCandidate(db, regno,
                            {{u"factive"_s, u"T"_s},
                             {u"ffeepaid"_s, u"T"_s},
                             {u"fnamekan"_s, u"£ÁªÀÄ"_s},
                             {u"fexamdatekan"_s, u"K¦æ¯ï 2025"_s},
                             {u"fexamtype"_s, u"1"_s}});
            if (regno != u"R3"_s)
                writePicture(m_session.folder.filePath(u"Photos/"_s + regno + u".jpg"_s), 75, 95, Qt::darkCyan);
        }
        writePicture(m_session.folder.filePath(u"seal.jpg"_s), 96, 96, Qt::darkRed);
        writePicture(m_session.folder.filePath(u"vcm.jpg"_s), 120, 50, Qt::darkBlue);
        IniFile ini(m_session.folder.filePath(u"Institution.ini"_s), IniFile::Encoding::Utf8);
        ini.load();
        ini.setValue(u"LAYOUT"_s, u"UniversityName"_s, u"Varada University, Suvarnapura"_s);
        ini.setValue(u"LAYOUT"_s, u"Campus"_s, u"Vidya Nagar"_s);
        ini.setValue(u"LAYOUT"_s, u"PinLine"_s, u"Suvarnapura - 599 001"_s);
        ini.setValue(u"LAYOUT"_s, u"State"_s, u"Karnataka"_s);
        ini.setValue(u"LAYOUT"_s, u"Country"_s, u"India"_s);
        ASSERT_TRUE(ini.save());
        ASSERT_TRUE(m_out.isValid());
        // "12 certificates, A000017 to A000028, date of issue ...: go on?"
        m_prompter.answerEvery(QStringLiteral(": go on?"), PromptAnswer::Yes);
        // The printing screen's check before a run lists what is missing (R3's
        // photograph, the layouts' fonts) and asks once.
        m_prompter.answerEvery(QStringLiteral("Go on all the same?"), PromptAnswer::Yes);
    }

    virtual QString institution() const { return QStringLiteral("003"); }

    // Degree BA, every college and register number, plain layout (the question per sheet).
    static PrintSelection selection()
    {
        using namespace Qt::StringLiterals;
        PrintSelection s;
        s.degree = u"BA"_s;
        s.collegeFrom = u"0"_s;
        s.regnoFrom = u"0"_s;
        s.issueDate = u"12/03/2026"_s;
        s.prefix = u"A"_s;
        s.startNumber = u"17"_s;
        s.endNumber = u"99"_s;
        s.certType = u"1"_s;
        s.temp = false;
        return s;
    }

    PrintingResult print(const PrintSelection &s)
    {
        FolderOutput output(m_out.path());
        PrintingRun run(m_session, m_prompter);
        run.setWorkstation(QStringLiteral("WS1"));
        return run.run(s, output);
    }

    // Prints the four candidates (R3 without its photograph), every sheet confirmed.
    void printAll(const PrintSelection &s = selection())
    {
        for (int i = 0; i < 5; ++i)
            m_prompter.answer(PromptAnswer::Yes);
        ASSERT_EQ(print(s).printed, 4) << m_prompter.texts().join(QStringLiteral(" | ")).toStdString();
    }

    // Sheets and copies carry the signed verification code: an issuer key sealed with
    // `passphrase`, the code at the size the README gives (a full link with its signature
    // stays readable at 150 dpi), pointing at `pageUrl`.
    void useSignedCode(const QByteArray &passphrase, const QString &pageUrl)
    {
        using namespace Qt::StringLiterals;
        IssuerKey::create(m_session.folder, passphrase);
        IniFile ini(m_session.folder.filePath(u"Institution.ini"_s), IniFile::Encoding::Utf8);
        ini.load();
        ini.setValue(u"VERIFICATION"_s, u"Left"_s, u"6.6"_s);
        ini.setValue(u"VERIFICATION"_s, u"Top"_s, u"0.6"_s);
        ini.setValue(u"VERIFICATION"_s, u"Size"_s, u"1.3"_s);
        ini.setValue(u"VERIFICATION"_s, u"PageUrl"_s, pageUrl);
        ASSERT_TRUE(ini.save());
    }

    // The command-line tool run by CLERK on convocation C26; `input` is what is typed.
    BatchRun batch(const QStringList &command, const QByteArray &input = {}) const
    {
        return runBatch(QStringList{QStringLiteral("--folder"), m_session.folder.root(), QStringLiteral("--user"),
                                    QStringLiteral("CLERK"), QStringLiteral("--password"), QStringLiteral("clerk"),
                                    QStringLiteral("--convo"), QStringLiteral("C26")}
                            + command,
                        input);
    }

    // The first value `sql` selects, as text.
    QString value(const QString &sql, const QVariantList &params = {}) const
    {
        return m_session.db().scalar(sql, params).toString();
    }
    QString certNo(const QString &regno) const
    {
        return value(QStringLiteral("select fcertno from convo where fregno = ?"), {regno});
    }

    QStringList registerRows() const
    {
        using namespace Qt::StringLiterals;
        Rows rows = m_session.db().query(
            u"select fcertno, foutcome, fregno, fworkstation from stationery order by fnumber, foutcome"_s);
        QStringList out;
        while (rows.next())
            out << rows.text(0) + u' ' + rows.text(1) + u' ' + rows.text(2) + u' ' + rows.text(3);
        return out;
    }

    std::unique_ptr<InstalledFolder> m_folder;
    Session m_session;
    ScriptedPrompter m_prompter;
    QTemporaryDir m_out;
};

} // namespace sw::test
