// SPDX-License-Identifier: GPL-3.0-or-later
// Each degree layout composed for a candidate, written as PDF and read back with
// pdftotext -bbox: the texts stand where the stationery expects them. The pages
// are also compared with a picture of each layout kept beside this test.
#include "printingfixture.h"

#include "certificates/layouts/awardlayouts.h"
#include "certificates/layouts/certificatepdf.h"
#include "certificates/layouts/degreelayouts.h"
#include "certificates/layouts/designerlayout.h"
#include "certificates/printing/printcheck.h"
#include "shell/document/documentoutput.h"
#include "shell/core/institutionconfig.h"
#include "support/fontsets.h"
#include "support/stoptext.h"
#include "shell/document/documentrenderer.h"

#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::find;
using sw::test::TestBackend;
using sw::test::Word;
using sw::test::words;

namespace {

class LayoutsTest : public test::PrintingFixture
{
protected:
    Document compose(LayoutProcedure layout, PrintSelection s, const QString &regno = u"R1"_s)
    {
        s.expandAllRanges();
        std::vector<CertificateRow> rows = selectCertificateRows(m_session, s);
        for (const CertificateRow &row : rows) {
            if (row.regno == regno)
                return DegreeLayouts(m_session, s).compose(layout, row);
        }
        ADD_FAILURE() << "no row " << regno.toStdString();
        return {};
    }
    std::vector<Word> written(const Document &doc, const QString &name)
    {
        const QString path = QDir(m_out.path()).filePath(name + u".pdf"_s);
        documentoutput::writePdf(doc, path);
        return words(path);
    }
    // The page at 30 dots to the inch against the kept picture: a layout that moved
    // changes many pixels, a different font hinting only a few.
    void compareWithKeptPicture(const Document &doc, const QString &name)
    {
        const QImage page = DocumentRenderer(doc).pageImage(0, 30).convertToFormat(QImage::Format_Grayscale8);
        // The test's source folder (the build passes it; __FILE__ may be relative to the build).
        const QString kept = QDir(QString::fromUtf8(QT_TESTCASE_SOURCEDIR)).filePath(u"expected/"_s + name + u".png"_s);
        if (qEnvironmentVariableIsSet("SCROLLWISE_UPDATE_PICTURES")) {
            QDir().mkpath(QFileInfo(kept).absolutePath());
            ASSERT_TRUE(page.save(kept));
        }
        const QImage expected = QImage(kept).convertToFormat(QImage::Format_Grayscale8);
        ASSERT_EQ(expected.size(), page.size()) << kept.toStdString();
        long long differing = 0;
        for (int y = 0; y < page.height(); ++y) {
            const uchar *a = page.constScanLine(y);
            const uchar *b = expected.constScanLine(y);
            for (int x = 0; x < page.width(); ++x)
                differing += std::abs(int(a[x]) - int(b[x])) > 64;
        }
        EXPECT_LT(double(differing) / (page.width() * page.height()), 0.01) << name.toStdString();
    }
};

TEST_P(LayoutsTest, PlainLayoutStandsAtItsMarginsAndCentre)
{
    PrintSelection s = selection();
    const Document doc = compose(LayoutProcedure::GenDataReport, s);
    EXPECT_DOUBLE_EQ(doc.page.topInches, 3.2); // the candidate has a university code
    const std::vector<Word> all = written(doc, u"plain"_s);
    ASSERT_FALSE(all.empty());
    // The university's name is the first line, at the top margin.
    EXPECT_EQ(all.front().text, u"Varada"_s);
    EXPECT_NEAR(all.front().box.top(), 3.2 * 72, 6);
    // The name is centred on the sheet.
    const Word *name = find(all, u"Name"_s);
    const Word *r1 = nullptr;
    for (const Word &w : all) {
        if (w.text == u"R1"_s && name && std::abs(w.box.top() - name->box.top()) < 1)
            r1 = &w;
    }
    ASSERT_TRUE(name && r1);
    EXPECT_NEAR((name->box.left() + r1->box.right()) / 2, doc.page.pagePoints().width() / 2, 3);
    // The address block starts at the left margin, 0.7 inch in.
    const Word *date = find(all, u"12/03/2026"_s);
    ASSERT_TRUE(date);
    const Word *dateCaption = find(all, u"Date"_s);
    ASSERT_TRUE(dateCaption);
    EXPECT_LT(date->box.top(), 11.69 * 72);
    compareWithKeptPicture(doc, u"Gen_Data_Report"_s);

    // A margin value of 0.2 widens the text block: margins of 0.5 inch.
    s.marginAdjust = 0.2;
    const Document wider = compose(LayoutProcedure::GenDataReport, s);
    EXPECT_DOUBLE_EQ(wider.page.leftInches, 0.5);
    EXPECT_DOUBLE_EQ(wider.page.rightInches, 0.5);
    const std::vector<Word> widerWords = written(wider, u"wider"_s);
    const Word *college = find(widerWords, u"College"_s);
    ASSERT_TRUE(college);
    // The address block stands under the photograph, from its left edge, on every sheet.
    EXPECT_NEAR(college->box.left(), 0.6 * 72, 1.5);
    EXPECT_GT(college->box.top(), 8.425 * 72 + 95);
    // Without a university code the top margin is 3.3 inches.
    m_session.db().exec(u"update convo set funivcode = null where fregno = 'R1'"_s);
    EXPECT_DOUBLE_EQ(compose(LayoutProcedure::GenDataReport, s).page.topInches, 3.3);
}

// As long as the columns hold: a value of `length` characters made of `words`.
QString longest(const QStringList &words, int length)
{
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += (text.isEmpty() ? QString() : u" "_s) + words[i % words.size()];
    return text.left(length).trimmed();
}

// What a sheet must not have: words on top of each other, a word across the
// photograph (or the other pictures named in `clearOf`), words run together ("R1has",
// "2025and"), a second page.
QStringList faultsOf(const Document &doc, const std::vector<Word> &all, const QStringList &clearOf = {u"/Photos/"_s})
{
    QStringList faults;
    std::vector<std::pair<QString, QRectF>> pictures;
    for (const AnchoredItem &a : doc.anchored) {
        if (const auto *p = std::get_if<PictureItem>(&a.item)) {
            for (const QString &name : clearOf) {
                if (p->file.contains(name))
                    pictures.emplace_back(QFileInfo(p->file).fileName(), p->points);
            }
        }
    }
    // pdftotext's boxes run from the font's ascent to its descent, which for Kannada
    // fonts reaches well into the lines above and below: the inner part of each box is
    // where its letters are.
    const auto inner = [](const QRectF &box) {
        const double v = box.height() * 0.25;
        return box.adjusted(0.5, v, -0.5, -v);
    };
    static const QRegularExpression runTogether(u"[0-9][a-z]|[a-z][0-9]"_s);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Word &w = all[i];
        for (const auto &[name, box] : pictures) {
            if (inner(w.box).intersects(box))
                faults << u"\""_s + w.text + u"\" crosses "_s + name;
        }
        if (runTogether.match(w.text).hasMatch())
            faults << u"\""_s + w.text + u"\" runs words together"_s;
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            if (w.page == all[j].page && inner(w.box).intersects(inner(all[j].box)))
                faults << u"\""_s + w.text + u"\" overlaps \""_s + all[j].text + u'"';
        }
    }
    if (const int pages = DocumentRenderer(doc).pageCount(); pages != 1)
        faults << QString::number(pages) + u" pages"_s;
    return faults;
}

// Every layout (the degree layouts of 003 and 008, the award certificates, 001's designed
// types) composed for one candidate with the longest texts its columns hold.
struct ComposedLayout
{
    QString name;
    Document doc;
    QStringList clearOf; // pictures no word may cross
    bool keptPicture = false;
};

std::vector<ComposedLayout>
everyLayoutWithTheLongestTexts(Session &session, const PrintSelection &base,
                               const std::function<Document(LayoutProcedure, PrintSelection)> &compose)
{
    Database &db = session.db();
    const QString name = longest({u"BHAGYALAKSHMI"_s, u"VENKATASUBRAMANYA"_s, u"CHANDRASHEKARAIAH"_s}, 100);
    const QString nameKan = longest({u"£ÁªÀÄ"_s, u"ªÁtÂdå"_s, u"¥ÀzÀ«"_s}, 100);
    const QString degree = longest({u"BACHELOR"_s, u"OF"_s, u"BUSINESS"_s, u"ADMINISTRATION"_s, u"AND"_s}, 100);
    const QString speciality = longest({u"INTERNATIONAL"_s, u"FINANCE"_s, u"AND"_s, u"ACCOUNTING"_s}, 100);
    const QString college = longest({u"SRI"_s, u"JAYACHAMARAJENDRA"_s, u"COLLEGE"_s, u"OF"_s, u"ENGINEERING"_s}, 100);
    const QString kannada = longest({u"ªÁtÂdå"_s, u"¥ÀzÀ«"_s, u"DqÀ½vÀ"_s}, 100);
    db.exec(u"update convo set fname = ?, fnamekan = ?, fregno = '2KD0121121' where fregno = 'R1'"_s, {name, nameKan});
    db.exec(u"update degree set fdescpn = ?, fdescpnkan = ? where fdegree = 'BA'"_s, {degree, kannada});
    db.exec(u"update college set fcollname = ? where fcollcode = '101'"_s, {college});
    test::writePicture(session.folder.filePath(u"Photos/2KD0121121.jpg"_s), 75, 95, Qt::darkCyan);
    test::writePicture(session.folder.filePath(u"vcm.jpg"_s), 100, 40, Qt::black);

    std::vector<ComposedLayout> out;
    struct Case
    {
        LayoutProcedure layout;
        QString type;
        bool speciality;
    };
    const std::vector<Case> degreeCases = {
        {LayoutProcedure::GenDataReport, u"1"_s, false},
        {LayoutProcedure::GenDataReport, u"2"_s, true},
        {LayoutProcedure::Tcs, u"1"_s, false},
        {LayoutProcedure::Tcs, u"2"_s, true},
        {LayoutProcedure::Phd, u"3"_s, false},
        {LayoutProcedure::Inst008, u"1"_s, false},
        {LayoutProcedure::Inst008Speciality, u"2"_s, true},
    };
    for (const Case &c : degreeCases) {
        db.exec(u"update degree set fspecial = ?, fspecialkan = ? where fdegree = 'BA'"_s,
                {c.speciality ? speciality : QString(), c.speciality ? kannada : QString()});
        PrintSelection s = base;
        s.certType = c.type;
        s.temp = c.layout != LayoutProcedure::GenDataReport;
        out.push_back(
            {layoutName(c.layout) + c.type, compose(c.layout, s), {u"/Photos/"_s, u"/seal.jpg"_s, u"/vcm.jpg"_s}});
    }

    // The rank, gold-medal and cash-prize certificates of the same candidate.
    AwardRow award;
    award.regno = u"2KD0121121"_s;
    award.name = name;
    award.collCode = u"101"_s;
    award.degree = u"BA"_s;
    award.descpn = degree;
    award.special = speciality;
    award.examDate = u"APRIL 2025"_s;
    award.convoDate = u"20/12/2025"_s;
    award.convoCode = u"C26"_s;
    award.rank = u"I"_s;
    award.donor = longest({u"SRI"_s, u"KRISHNARAJA"_s, u"WADIYAR"_s, u"MEMORIAL"_s, u"GOLD"_s, u"MEDAL"_s}, 100);
    award.subject = longest({u"HIGHEST"_s, u"MARKS"_s, u"IN"_s, u"FINANCIAL"_s, u"ACCOUNTING"_s}, 100);
    award.amount = u"25000"_s;
    test::writePicture(session.folder.filePath(u"regsign.jpg"_s), 110, 60, Qt::black);
    for (const auto &[layout, type] :
         {std::pair{LayoutProcedure::Rank, u"R"_s}, std::pair{LayoutProcedure::Gold, u"G"_s},
          std::pair{LayoutProcedure::Cash, u"C"_s}}) {
        PrintSelection s = base;
        s.certType = type;
        out.push_back({layoutName(layout),
                       AwardLayouts(session, s).compose(layout, award),
                       {u"/seal.jpg"_s, u"/regsign.jpg"_s},
                       true});
    }

    // Institution 001's designed layouts, each type.
    DesignerLayout::writeStarterLayouts(session.folder);
    CertificateRow row;
    row.regno = u"2KD0121121"_s;
    row.name = name;
    row.collName = college;
    row.descpn = degree;
    row.year = u"2025"_s;
    row.classDesc = u"FIRST CLASS WITH DISTINCTION"_s;
    row.special = speciality;
    row.examDate = u"APRIL 2025"_s;
    row.convoDate = u"20/12/2025"_s;
    for (const QString &type : {u"1"_s, u"2"_s, u"3"_s, u"4"_s}) {
        out.push_back({type == u"1"_s ? u"Gen_Data_Report_Datareport"_s : u"designed"_s + type,
                       DesignerLayout(session.folder, type).compose(row, u"A000001"_s),
                       {u"/Photos/"_s},
                       type == u"1"_s});
    }
    return out;
}

// Every layout with the longest texts its columns hold: nothing overlaps, nothing
// crosses the photograph, no words run together, and the certificate is one sheet.
TEST_P(LayoutsTest, NoLayoutOverlapsWithTheLongestTexts)
{
    const auto composed = everyLayoutWithTheLongestTexts(
        m_session, selection(), [this](LayoutProcedure l, PrintSelection s) { return compose(l, s, u"2KD0121121"_s); });
    for (const ComposedLayout &c : composed) {
        const QStringList faults = faultsOf(c.doc, written(c.doc, c.name), c.clearOf);
        EXPECT_TRUE(faults.isEmpty()) << c.name.toStdString() << ":\n" << faults.join(u'\n').toStdString();
        if (c.keptPicture)
            compareWithKeptPicture(c.doc, c.name);
    }
}

// Run by the next test in a process of its own, under each set of fonts.
TEST_P(LayoutsTest, WritesEveryLayoutForTheFontComparison)
{
    if (test::pagesOutFolder().isEmpty())
        GTEST_SKIP() << "run by EveryLayoutIsTheSameWithEveryFontOfTheMachine";
    const auto composed = everyLayoutWithTheLongestTexts(
        m_session, selection(), [this](LayoutProcedure l, PrintSelection s) { return compose(l, s, u"2KD0121121"_s); });
    for (const ComposedLayout &c : composed)
        documentoutput::writePdf(c.doc, QDir(test::pagesOutFolder()).filePath(c.name + u".pdf"_s));
}

// The fonts a machine happens to have (fonts-noto-core, fonts-urw-base35, ...) change no
// sheet: every layout embeds the same faces and sets every word in the same place.
TEST_P(LayoutsTest, EveryLayoutIsTheSameWithEveryFontOfTheMachine)
{
    if (!test::pagesOutFolder().isEmpty())
        GTEST_SKIP() << "the comparison itself";
    const QStringList differences =
        test::pagesThatDependOnFonts(u"*LayoutsTest.WritesEveryLayoutForTheFontComparison*"_s);
    EXPECT_TRUE(differences.isEmpty()) << differences.join(u'\n').toStdString();
}

// Every setting a layout prints is written by `init` into Institution.ini, commented
// out under its section with what it prints, and named by the check when it is empty.
TEST_P(LayoutsTest, EverySettingALayoutPrintsIsInTheNewInstitutionFile)
{
    const QString file = InstitutionConfig::templateText(u"003"_s);
    PrintSelection s = selection();
    QStringList needed;
    for (LayoutProcedure layout : {LayoutProcedure::GenDataReport, LayoutProcedure::Tcs, LayoutProcedure::Phd,
                                   LayoutProcedure::Inst008, LayoutProcedure::Inst008Speciality})
        needed << DegreeLayouts(m_session, s).needs(layout).settings;
    IniFile ini(m_session.folder.filePath(QString::fromLatin1(InstitutionConfig::kFileName)));
    ASSERT_TRUE(ini.load());
    ini.setValue(u"LAYOUT"_s, u"PlaceLines"_s, QString());
    ASSERT_TRUE(ini.save());
    s.certType = u"R"_s;
    needed << AwardLayouts(m_session, s).needs().settings;
    needed.removeDuplicates();
    for (const QString &setting : needed) {
        const QString section = setting.section(u'/', 0, 0);
        const QString key = setting.section(u'/', 1);
        const qsizetype at = file.indexOf(u"\r\n; "_s + key + u": "_s);
        EXPECT_GT(at, file.indexOf(u"["_s + section + u"]"_s)) << setting.toStdString();
        EXPECT_TRUE(file.contains(u"\r\n; "_s + key + u"=\r\n"_s)) << setting.toStdString();
    }
}

TEST_P(LayoutsTest, PicturesStandAtTheirPlacesAndTheSignatureFollowsFacsimile)
{
    test::writePicture(m_session.folder.filePath(u"vc.jpg"_s), 100, 40, Qt::black);
    PrintSelection s = selection();
    const auto pictures = [](const Document &doc) { return test::pictures(doc, true); };
    EXPECT_EQ(
        pictures(compose(LayoutProcedure::GenDataReport, s)),
        (QStringList{u"seal.jpg@262.8,727.2 72x72"_s, u"vcm.jpg@446.4,770.4 90x40"_s, u"R1.jpg@43.2,606.6 75x95"_s}));
    s.facsimile = true;
    EXPECT_TRUE(pictures(compose(LayoutProcedure::GenDataReport, s)).contains(u"vc.jpg@446.4,770.4 90x40"_s));
    // Without the signature file the certificate still composes, without it.
    QFile::remove(m_session.folder.filePath(u"vc.jpg"_s));
    EXPECT_EQ(pictures(compose(LayoutProcedure::GenDataReport, s)).size(), 2);
    // The current layout places them a little differently.
    s.facsimile = false;
    EXPECT_EQ(
        pictures(compose(LayoutProcedure::Tcs, s)),
        (QStringList{u"seal.jpg@262.8,720 72x72"_s, u"vcm.jpg@446.4,741.6 110x60"_s, u"R1.jpg@36,619.2 75x95"_s}));
}

TEST_P(LayoutsTest, CurrentDoctoralAnd008LayoutsCarryTheirWording)
{
    PrintSelection s = selection();
    s.temp = true;
    struct Case
    {
        LayoutProcedure layout;
        QString type;
        QStringList texts;
    };
    m_session.db().exec(u"update degree set fspecial = 'HISTORY', fspecialkan = ? where fdegree = 'BA'"_s,
                        {u"EwºÁ¸À"_s});
    const std::vector<Case> cases = {
        {LayoutProcedure::Tcs, u"1"_s, {u"Certify that"_s, u"Reg. No. : R1"_s, u"Class / Grade : First Class"_s}},
        {LayoutProcedure::Phd,
         u"3"_s,
         {u"on the recommendation of the Board of Examiners"_s, u"Date of Notification"_s}},
        {LayoutProcedure::Inst008, u"1"_s, {u"Reg.no : R1"_s, u"The Degree of Bachelor of Arts"_s}},
        {LayoutProcedure::Inst008Speciality,
         u"2"_s,
         {u"has passed the Bachelor of Arts Examination held in APRIL 2025"_s}},
    };
    for (const Case &c : cases) {
        s.certType = c.type;
        const Document doc = compose(c.layout, s);
        const QString path = QDir(m_out.path()).filePath(layoutName(c.layout) + u".pdf"_s);
        documentoutput::writePdf(doc, path);
        const QString text = test::pdfText(path).simplified();
        for (const QString &t : c.texts)
            EXPECT_TRUE(text.contains(t)) << layoutName(c.layout).toStdString() << ": " << t.toStdString();
        compareWithKeptPicture(doc, layoutName(c.layout));
    }
    m_session.db().exec(u"update degree set fspecialkan = '' where fdegree = 'BA'"_s);
    s.certType = u"2"_s;
    EXPECT_EQ(test::stopText([&] { compose(LayoutProcedure::Inst008Speciality, s); }),
              u"Speciality in Degree name (Kannada) not defined"_s);
}

// 008 printed the date of issue after the convocation date ("on the 20/12/2025 20/12/2025",
// run together on women's sheets) and stopped on every candidate without a Kannada exam
// date of its own; 003's plain copies printed "Date :" with nothing after it.
TEST_P(LayoutsTest, EachDateOnceTheConvocationsKannadaExamDateAndTheCopiesDate)
{
    Database &db = m_session.db();
    PrintSelection s = selection();
    s.temp = true;
    const auto textOf = [&](LayoutProcedure layout, const PrintSelection &selection) {
        const QString path = QDir(m_out.path()).filePath(u"dates.pdf"_s);
        documentoutput::writePdf(compose(layout, selection), path);
        return test::pdfText(path).simplified();
    };
    struct Case
    {
        const char *story;
        QString sex, issueDate;
        QStringList says, saysNot;
    };
    const Case cases[] = {
        {"issued on the convocation's day: the date once",
         u"F"_s,
         u"20/12/2025"_s,
         {u"conferred on her at"_s, u"on the 20/12/2025"_s},
         {u"20/12/202520/12/2025"_s, u"Date of Issue"_s}},
        {"issued another day: the date of issue on its own line",
         u"M"_s,
         u"12/03/2026"_s,
         {u"on the 20/12/2025 Date of Issue : 12/03/2026"_s},
         {u"20/12/2025 12/03/2026"_s}},
    };
    for (const Case &c : cases) {
        db.exec(u"update convo set fsex = ? where fregno = 'R1'"_s, {c.sex});
        s.issueDate = c.issueDate;
        const QString text = textOf(LayoutProcedure::Inst008, s);
        for (const QString &t : c.says)
            EXPECT_TRUE(text.contains(t)) << c.story << ": " << t.toStdString() << " in " << text.toStdString();
        for (const QString &t : c.saysNot)
            EXPECT_FALSE(text.contains(t)) << c.story << ": " << t.toStdString();
    }

    // Without its own Kannada exam date the candidate prints the convocation's; without
    // either, the convocation is named once.
    db.exec(u"update convo set fexamdatekan = '' where fregno = 'R1'"_s);
    db.exec(u"update masconvo set fexamdatekan = ? where fconvocode = 'C26'"_s, {u"K¦æ¯ï 2025"_s});
    EXPECT_NO_THROW(compose(LayoutProcedure::Inst008, s));
    db.exec(u"update masconvo set fexamdatekan = '' where fconvocode = 'C26'"_s);
    EXPECT_EQ(test::stopText([&] { compose(LayoutProcedure::Inst008, s); }),
              u"Convocation C26: the Kannada exam date is not entered (Convocation screen, \"Exam date (Kan)\")"_s);

    // A PDF copy prints the date of issue stored when the certificate was printed.
    db.exec(u"update convo set fcertno = 'A000017', fdate = ? where fregno = 'R1'"_s, {QDate(2025, 12, 21)});
    PrintSelection copy = selection();
    copy.mode = PrintMode::Pdf;
    copy.issueDate.clear();
    EXPECT_TRUE(textOf(LayoutProcedure::GenDataReport, copy).contains(u"Date : 21/12/2025"_s));
}

// A certificate that does not fit its sheet even in 8-point type is refused before its sheet
// is used, and the check before the run names it rather than the run stopping on it.
TEST_P(LayoutsTest, ACertificateTooLongForItsSheetIsNamedByTheCheck)
{
    // A margin typed far too wide leaves a column too narrow for the certificate's text.
    PrintSelection s = selection();
    s.temp = true;
    s.marginAdjust = -3.3;
    const QString refusal = u"The certificate of Reg. No. R1 does not fit its sheet even in smaller type: its name or "
                            "degree is too long"_s;
    EXPECT_EQ(test::stopText([&] { compose(LayoutProcedure::Tcs, s); }), refusal);
    EXPECT_TRUE(PrintCheck(m_session).gaps(s).contains(refusal));
}

// Copies written in one batch read exactly like a copy written alone: one page
// each, their own texts at the same places, nothing of the other certificates. Each
// carries its number at the top right.
TEST_P(LayoutsTest, BatchedCopiesReadAsIfWrittenOneByOne)
{
    PrintSelection s = selection();
    const QStringList regnos = {u"R1"_s, u"R2"_s, u"R3"_s, u"R4"_s};
    const QDir copies(m_out.path());
    certificatepdf::CopyWriter writer(m_session.folder, 3);
    for (const QString &regno : regnos)
        writer.add(compose(LayoutProcedure::Tcs, s, regno), u"N-"_s + regno, copies.filePath(regno + u".pdf"_s));
    EXPECT_EQ(writer.written(), 3); // the first batch went out when it was full
    EXPECT_EQ(writer.pending(), 1);
    writer.flush();
    EXPECT_EQ(writer.written(), 4);
    EXPECT_EQ(copies.entryList({u"*.part"_s}), QStringList());

    certificatepdf::save(m_session.folder, compose(LayoutProcedure::Tcs, s, u"R2"_s), u"N-R2"_s,
                         copies.filePath(u"alone.pdf"_s));
    const std::vector<Word> alone = words(copies.filePath(u"alone.pdf"_s));
    const Word *stamp = find(alone, u"N-R2"_s);
    ASSERT_TRUE(stamp);
    EXPECT_NEAR(stamp->box.left(), 7 * 72, 2);
    EXPECT_NEAR(stamp->box.top(), 0.14 * 72, 6);
    for (const QString &regno : regnos) {
        const QString path = copies.filePath(regno + u".pdf"_s);
        // poppler reads each file without a complaint: one page, its own document information.
        QProcess info;
        info.start(u"pdfinfo"_s, {path});
        ASSERT_TRUE(info.waitForFinished(60000));
        const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
        EXPECT_EQ(info.exitCode(), 0) << regno.toStdString();
        EXPECT_EQ(QString::fromUtf8(info.readAllStandardError()), QString()) << regno.toStdString();
        EXPECT_TRUE(infoText.contains(QRegularExpression(u"Pages: +1\n"_s))) << infoText.toStdString();
        EXPECT_TRUE(infoText.contains(QRegularExpression(u"Creator: +Scrollwise"_s))) << infoText.toStdString();
        const std::vector<Word> batched = words(path);
        ASSERT_TRUE(find(batched, u"N-"_s + regno)) << regno.toStdString();
        for (const QString &other : regnos) {
            if (other != regno) {
                EXPECT_FALSE(find(batched, u"N-"_s + other)) << other.toStdString() << " in " << regno.toStdString();
            }
        }
        if (regno != u"R2"_s)
            continue;
        ASSERT_EQ(batched.size(), alone.size());
        for (std::size_t i = 0; i < alone.size(); ++i) {
            EXPECT_EQ(batched[i].text, alone[i].text);
            EXPECT_NEAR(batched[i].box.left(), alone[i].box.left(), 0.01) << alone[i].text.toStdString();
            EXPECT_NEAR(batched[i].box.top(), alone[i].box.top(), 0.01) << alone[i].text.toStdString();
        }
    }
    EXPECT_EQ(test::fileText(certificatepdf::logPath(m_session.folder)).count(u"CREATED"_s), 5);
}

// A certificate that cannot be drawn stops the batch at that certificate: the
// copies before it are written, it is logged as failed, and no partial file is left.
TEST_P(LayoutsTest, CopyThatCannotBeDrawnStopsAfterTheCopiesBeforeIt)
{
    const QDir copies(m_out.path());
    Document broken = compose(LayoutProcedure::Tcs, selection(), u"R2"_s);
    DocumentBuilder(broken).picture(m_session.folder.filePath(u"gone.jpg"_s), QRectF(72, 72, 72, 72));
    certificatepdf::CopyWriter writer(m_session.folder, 10);
    writer.add(compose(LayoutProcedure::Tcs, selection(), u"R1"_s), u"N-R1"_s, copies.filePath(u"R1.pdf"_s));
    writer.add(broken, u"N-R2"_s, copies.filePath(u"R2.pdf"_s));
    writer.add(compose(LayoutProcedure::Tcs, selection(), u"R4"_s), u"N-R4"_s, copies.filePath(u"R4.pdf"_s));
    const QString stop = test::stopText([&] { writer.flush(); });
    EXPECT_TRUE(stop.startsWith(u"Error Creating PDF\n"_s) && stop.contains(u"gone.jpg"_s)) << stop.toStdString();
    EXPECT_EQ(writer.written(), 1);
    EXPECT_EQ(copies.entryList(QDir::Files), QStringList{u"R1.pdf"_s});
    const QString text = test::fileText(certificatepdf::logPath(m_session.folder));
    EXPECT_TRUE(text.contains(u"CREATED "_s + copies.filePath(u"R1.pdf"_s)));
    EXPECT_TRUE(text.contains(u"FAILED "_s + copies.filePath(u"R2.pdf"_s)));
}

TEST_P(LayoutsTest, LayoutIsChosenByInstitutionAndType)
{
    PrintSelection s = selection();
    auto chosen = [&](const char *inst, const char *type, bool temp) {
        s.certType = QString::fromLatin1(type);
        s.temp = temp;
        return layoutName(chooseLayout(QString::fromLatin1(inst), s));
    };
    EXPECT_EQ(chosen("001", "3", true), u"Gen_Data_Report_Datareport"_s);
    EXPECT_EQ(chosen("003", "1", false), u"Gen_Data_Report"_s);
    EXPECT_EQ(chosen("008", "2", false), u"Gen_Data_Report"_s);
    EXPECT_EQ(chosen("008", "1", true), u"Gen_Data_Report_Inst008"_s);
    EXPECT_EQ(chosen("008", "2", true), u"Gen_Data_Report_Inst008_2"_s);
    EXPECT_EQ(chosen("003", "2", true), u"Gen_Data_Report_TCS"_s);
    EXPECT_EQ(chosen("008", "3", true), u"Gen_Data_Report_Phd"_s);
    EXPECT_EQ(chosen("003", "G", true), u"Gen_Data_Gold"_s);
    EXPECT_EQ(chosen("002", "1", true), u"none"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, LayoutsTest, ::testing::Values(TestBackend::SQLite), test::backendName);

} // namespace
