// SPDX-License-Identifier: GPL-3.0-or-later
// Rank, gold-medal and cash-prize certificates through the printing run: the
// sheets read back from their PDFs, numbers stored in the rank register (never on
// the candidate), degree 99, the order of the stationery, collisions and the stops.
#include "../printing/printingfixture.h"

#include "certificates/layouts/awardlayouts.h"
#include "certificates/ranks/awardimport.h"
#include "certificates/ranks/rankstore.h"
#include "shell/core/bgrcolour.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class AwardPrintingTest : public test::PrintingFixture
{
protected:
    void registerRanks(const QString &degree, const std::vector<std::pair<QString, QString>> &ranks)
    {
        std::vector<RankRow> grid;
        for (const auto &[regno, rank] : ranks)
            grid.push_back({regno, {}, rank, {}, u"A"_s});
        RankStore store(m_session, m_prompter);
        ASSERT_EQ(store.save(degree, grid), int(grid.size())) << m_prompter.last().toStdString();
    }
    void importAwards(const QByteArray &content)
    {
        const QString path = test::writeFile(m_out.filePath(u"awards.csv"_s), content);
        AwardImport import(m_session);
        const AwardBatch batch = import.read(path);
        ASSERT_TRUE(batch.ok()) << batch.errors.join(u'\n').toStdString();
        import.apply(batch);
    }
    static PrintSelection awards(const QString &type, const QString &prefix, const QString &degree = u"BA"_s)
    {
        PrintSelection s = selection();
        s.certType = type;
        s.prefix = prefix;
        s.degree = degree;
        s.startNumber = u"1"_s;
        s.endNumber = u"50"_s;
        return s;
    }
    QString awardNumber(const QString &regno, const QString &type) const
    {
        return value(u"select fcertno from rankreg where fregno = ? and fcerttype = ?"_s, {regno, type});
    }
    // The sheet's text with its line breaks and runs of blanks made single blanks.
    QString sheetText(const QString &certNo, const QString &regno) const
    {
        const QString file = QDir(m_out.path()).filePath(certNo + u'_' + regno + u".pdf"_s);
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
        return test::pdfText(file).simplified();
    }
    void answerYes(int times)
    {
        for (int i = 0; i < times; ++i)
            m_prompter.answer(PromptAnswer::Yes);
    }
};

TEST_P(AwardPrintingTest, RankCertificatesAreWordedAndNumberedInTheRankRegister)
{
    registerRanks(u"BA"_s, {{u"R1"_s, u"I"_s}, {u"R2"_s, u"II"_s}});
    answerYes(2);
    const PrintingResult r = print(awards(u"R"_s, u"RK"_s));
    EXPECT_TRUE(r.completed) << m_prompter.texts().join(u" | "_s).toStdString();
    EXPECT_EQ(r.printed, 2);
    EXPECT_EQ(m_prompter.last(), u"Printed Successfully: 2 certificates, RK000001 to RK000002, in the folder "_s
                                     + QDir::toNativeSeparators(m_out.path()) + u'.');
    EXPECT_EQ(awardNumber(u"R1"_s, u"RC"_s), u"RK000001"_s);
    EXPECT_EQ(awardNumber(u"R2"_s, u"RC"_s), u"RK000002"_s);
    // The degree certificate is a different sheet: the candidates stay unprinted.
    EXPECT_EQ(certNo(u"R1"_s), u""_s);

    Rows stored =
        m_session.db().query(u"select fdate, fprintdate, fprinttime, fprintedby from rankreg where fregno = 'R1'"_s);
    ASSERT_TRUE(stored.next());
    EXPECT_EQ(stored.date(0), QDate(2026, 3, 12));
    EXPECT_EQ(stored.date(1), QDate::currentDate());
    EXPECT_FALSE(stored.text(2).isEmpty());
    EXPECT_EQ(stored.text(3), u"CLERK"_s);

    const QString text = sheetText(u"RK000001"_s, u"R1"_s);
    for (const QString &expected :
         {u"RANK CERTIFICATE"_s, u"that Name R1 Register No. R1 has secured First Rank in Bachelor of Arts"_s,
          u"Degree Examination held in the month of APRIL 2025"_s, u"Date : 12/03/2026"_s, u"Registrar (Evaluation)"_s,
          u"Varada University"_s})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    EXPECT_TRUE(sheetText(u"RK000002"_s, u"R2"_s).contains(u"has secured Second Rank"_s));
    EXPECT_TRUE(registerRows().contains(u"RK000001 PRINTED R1 WS1"_s)) << registerRows().join(u'\n').toStdString();

    // Printed ranks are not selected again.
    m_prompter.clear();
    EXPECT_EQ(print(awards(u"R"_s, u"RK"_s)).printed, 0);
    EXPECT_EQ(m_prompter.last(), u"Invalid Degree/No students exists for the degree"_s);
}

TEST_P(AwardPrintingTest, GoldMedalsAndCashPrizesCarryDonorSubjectAndAmountInWords)
{
    importAwards("GC,R1,BA,101,Sri Basappa Gold Medal,History,,\n"
                 "CC,R2,BA,101,Smt. Kamala Endowment,Kannada,12500,\n"
                 "GC,R2,BA,101,Dr. Rao Medal,Economics,,\n");
    answerYes(2);
    EXPECT_EQ(print(awards(u"G"_s, u"GM"_s)).printed, 2);
    EXPECT_EQ(awardNumber(u"R1"_s, u"GC"_s), u"GM000001"_s);
    EXPECT_EQ(awardNumber(u"R2"_s, u"GC"_s), u"GM000002"_s);
    EXPECT_EQ(awardNumber(u"R2"_s, u"CC"_s), u""_s);
    const QString gold = sheetText(u"GM000001"_s, u"R1"_s);
    EXPECT_TRUE(gold.contains(u"GOLD MEDAL CERTIFICATE"_s)) << gold.toStdString();
    EXPECT_TRUE(gold.contains(u"Register No. R1 is awarded Sri Basappa Gold Medal for securing History in the "
                              "Bachelor of Arts Examination held in the month of APRIL 2025"_s))
        << gold.toStdString();

    // A cash run whose stationery starts on a number the register holds is refused before printing.
    m_prompter.clear();
    EXPECT_EQ(print(awards(u"C"_s, u"GM"_s)).printed, 0);
    EXPECT_EQ(m_prompter.last(), u"Certificate No. already exist!!\nR1 - GM000001 (rank register)"_s);

    answerYes(1);
    EXPECT_EQ(print(awards(u"C"_s, u"CA"_s)).printed, 1);
    EXPECT_EQ(awardNumber(u"R2"_s, u"CC"_s), u"CA000001"_s);
    const QString cash = sheetText(u"CA000001"_s, u"R2"_s);
    EXPECT_TRUE(cash.contains(u"CASH AWARD CERTIFICATE"_s)) << cash.toStdString();
    EXPECT_TRUE(cash.contains(u"is awarded a cash prize of Rupees 12500 (Twelve Thousand Five Hundred only) for "
                              "securing Kannada"_s))
        << cash.toStdString();
}

TEST_P(AwardPrintingTest, DegreeNinetyNinePrintsEveryDegreeByDegreeThenRegistrationOrder)
{
    test::insertCandidate(m_session.db(), u"S1"_s,
                          {{u"fdegree"_s, u"BSC"_s}, {u"factive"_s, u"T"_s}, {u"ffeepaid"_s, u"T"_s}});
    test::writePicture(m_session.folder.filePath(u"Photos/S1.jpg"_s), 75, 95, Qt::darkCyan);
    registerRanks(u"BSC"_s, {{u"S1"_s, u"I"_s}});
    registerRanks(u"BA"_s, {{u"R2"_s, u"I"_s}, {u"R1"_s, u"II"_s}});
    answerYes(3);
    EXPECT_EQ(print(awards(u"R"_s, u"R"_s, u"99"_s)).printed, 3);
    EXPECT_EQ(awardNumber(u"R2"_s, u"RC"_s), u"R000001"_s);
    EXPECT_EQ(awardNumber(u"R1"_s, u"RC"_s), u"R000002"_s);
    EXPECT_EQ(awardNumber(u"S1"_s, u"RC"_s), u"R000003"_s);
    EXPECT_TRUE(sheetText(u"R000003"_s, u"S1"_s).contains(u"First Rank in Bachelor of Science"_s));

    // Cash prizes are printed one degree at a time: 99 is no degree of theirs.
    importAwards("CC,R1,BA,101,Endowment,History,100,\n");
    m_prompter.clear();
    EXPECT_EQ(print(awards(u"C"_s, u"C"_s, u"99"_s)).printed, 0);
    EXPECT_EQ(m_prompter.last(), u"Invalid Degree/No students exists for the degree"_s);
}

TEST_P(AwardPrintingTest, AnUnwordableRankStopsTheRunKeepingEarlierNumbers)
{
    registerRanks(u"BA"_s, {{u"R1"_s, u"I"_s}});
    // A rank entered outside the screen's checks.
    m_session.db().exec(u"insert into rankreg (fdegree, fregno, frank, fconvocode, fcerttype, fslno) values "
                        "('BA', 'R2', 'XI', 'C26', 'RC', 2)"_s);
    answerYes(1);
    const PrintingResult r = print(awards(u"R"_s, u"RK"_s));
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.printed, 1);
    EXPECT_EQ(m_prompter.last(), u"error in rank"_s);
    EXPECT_EQ(awardNumber(u"R1"_s, u"RC"_s), u"RK000001"_s);
    EXPECT_EQ(awardNumber(u"R2"_s, u"RC"_s), u""_s);
    EXPECT_FALSE(QFile::exists(QDir(m_out.path()).filePath(u"RK000002_R2.pdf"_s)));
}

TEST_P(AwardPrintingTest, SpoiledPreviewedAndTooLongNumbersStoreNothing)
{
    registerRanks(u"BA"_s, {{u"R1"_s, u"I"_s}, {u"R2"_s, u"II"_s}});
    // The first sheet is spoiled: its number is used up and the next candidate gets the following one.
    m_prompter.answer(PromptAnswer::No);
    m_prompter.answer(PromptAnswer::Yes);
    const PrintingResult spoiled = print(awards(u"R"_s, u"RK"_s));
    EXPECT_EQ(spoiled.spoiled, 1);
    EXPECT_EQ(awardNumber(u"R1"_s, u"RC"_s), u""_s);
    EXPECT_EQ(awardNumber(u"R2"_s, u"RC"_s), u"RK000002"_s);
    EXPECT_TRUE(registerRows().contains(u"RK000001 SPOILED R1 WS1"_s));

    PrintSelection preview = awards(u"R"_s, u"RK"_s);
    preview.startNumber = u"3"_s;
    preview.operation = PrintOperation::Preview;
    m_prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(print(preview).previewed, 1);
    EXPECT_EQ(awardNumber(u"R1"_s, u"RC"_s), u""_s);

    // rankreg keeps ten characters: a prefix that would not fit is refused before anything prints.
    PrintSelection wide = awards(u"R"_s, u"ABCDE"_s);
    m_prompter.clear();
    EXPECT_EQ(print(wide).printed, 0);
    EXPECT_EQ(m_prompter.last(), u"The certificate number ABCDE000050 is longer than the 10 characters the rank "
                                 "register keeps: shorten the prefix."_s);
    PrintSelection pdf = awards(u"R"_s, u"RK"_s);
    pdf.mode = PrintMode::Pdf;
    EXPECT_EQ(print(pdf).copies, 0);
    EXPECT_EQ(m_prompter.last(), u"Rank, gold-medal and cash-prize certificates have no PDF copies."_s);
}

TEST_P(AwardPrintingTest, SheetStandsAtItsMarginsWithItsFacesColoursAndPictures)
{
    test::writePicture(m_session.folder.filePath(u"regsign.jpg"_s), 330, 120, Qt::darkBlue);
    registerRanks(u"BA"_s, {{u"R1"_s, u"IV"_s}});
    PrintSelection s = awards(u"R"_s, u"RK"_s);
    s.expandAllRanges();
    const std::vector<AwardRow> rows = selectAwardRows(m_session, s);
    ASSERT_EQ(rows.size(), 1u);
    const Document doc = AwardLayouts(m_session, s).compose(LayoutProcedure::Rank, rows.front());
    EXPECT_DOUBLE_EQ(doc.page.topInches, 3.9);
    EXPECT_DOUBLE_EQ(doc.page.bottomInches, 0.25);
    EXPECT_DOUBLE_EQ(doc.page.leftInches, 0.8);
    EXPECT_DOUBLE_EQ(doc.page.rightInches, 0.8);

    EXPECT_EQ(test::pictures(doc, true),
              (QStringList{u"seal.jpg@262.8,475.2 72x72"_s, u"regsign.jpg@410.4,500.4 110x60"_s}));

    // Every run as face, size, colour and text; the fixed phrases in the script face, values in the display face.
    QStringList runs;
    Alignment body = Alignment::Left;
    for (const Block &block : doc.flow) {
        const auto *paragraph = std::get_if<Paragraph>(&block);
        if (!paragraph)
            continue;
        for (const sw::Run &run : paragraph->runs) {
            runs << run.format.fontName + u' ' + QString::number(run.format.size) + u' '
                        + bgrTextFromColour(run.format.colour) + u' ' + run.text.trimmed();
            if (run.text == u"Certified that "_s)
                body = paragraph->format.alignment;
        }
    }
    EXPECT_EQ(body, Alignment::Justify);
    const QString phrase = u"Brush Script MT 22 "_s + bgrTextFromColour(colourFromBgrText(u"&H00C07000"_s)) + u' ';
    const QString value = u"AR CENA 20 "_s + bgrTextFromColour(colourFromBgrText(u"&H000000C0"_s)) + u' ';
    for (const QString &expected :
         QStringList{u"Algerian 20 "_s + bgrTextFromColour(colourFromBgrText(u"&H00602000"_s)) + u" RANK CERTIFICATE"_s,
                     phrase + u"Certified that"_s, value + u"Name R1"_s, phrase + u"has secured"_s, value + u"Fourth"_s,
                     value + u"Bachelor of Arts"_s, value + u"APRIL 2025"_s})
        EXPECT_TRUE(runs.contains(expected)) << expected.toStdString() << "\n" << runs.join(u'\n').toStdString();
    // The office signs under its signature, not under the place lines.
    const TextBoxItem *office = nullptr;
    for (const AnchoredItem &anchored : doc.anchored)
        if (const auto *box = std::get_if<TextBoxItem>(&anchored.item);
            box && !box->paragraphs.empty() && !box->paragraphs[0].runs.empty()
            && box->paragraphs[0].runs[0].text == u"Registrar (Evaluation)"_s)
            office = box;
    ASSERT_TRUE(office);
    EXPECT_EQ(office->paragraphs[0].runs[0].format.fontName, u"Brush Script MT"_s);
    EXPECT_EQ(office->paragraphs[0].runs[0].format.size, 17);
    const QRectF signature(410.4, 500.4, 110, 60);
    EXPECT_NEAR(office->points.center().x(), signature.center().x(), 0.5);
    EXPECT_NEAR(office->points.top(), signature.bottom() + 2, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Backends, AwardPrintingTest, test::bothBackends(), test::backendName);

} // namespace
