// SPDX-License-Identifier: GPL-3.0-or-later
// The optional verification code: on the sheet only when configured, and a
// scanned text told genuine, forged or cancelled.
#include "printingfixture.h"

#include "certificates/layouts/verificationcode.h"
#include "shell/core/institutionconfig.h"

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

// Keeps what would have gone to the printer.
class KeepingOutput final : public SheetOutput
{
public:
    std::vector<Document> sheets;
    void print(const Document &sheet, const QString &, const QString &) override { sheets.push_back(sheet); }
};

class VerificationCodeTest : public test::PrintingFixture
{
protected:
    void configure(const QString &left = u"6.8"_s, const QString &top = u"0.3"_s)
    {
        IniFile ini(m_session.folder.filePath(u"Institution.ini"_s), IniFile::Encoding::Utf8);
        ini.load();
        ini.setValue(u"VERIFICATION"_s, u"Left"_s, left);
        ini.setValue(u"VERIFICATION"_s, u"Top"_s, top);
        ini.setValue(u"VERIFICATION"_s, u"Size"_s, u"1"_s);
        ini.setValue(u"VERIFICATION"_s, u"Secret"_s, u"s3cret-of-the-section"_s);
        ASSERT_TRUE(ini.save());
    }
    std::vector<Document> printAll()
    {
        KeepingOutput output;
        PrintingRun run(m_session, m_prompter);
        for (int i = 0; i < 5; ++i)
            m_prompter.answer(PromptAnswer::Yes);
        run.run(selection(), output);
        return output.sheets;
    }
};

TEST_P(VerificationCodeTest, ScannedCodeIsToldGenuineForgedOrCancelled)
{
    // Off by default, so that the sheet is as the stationery expects.
    EXPECT_FALSE(VerificationCode::fromConfig(InstitutionConfig::load(m_session.folder)));
    configure();
    const std::vector<Document> sheets = printAll();
    ASSERT_EQ(sheets.size(), 4u);
    const auto &qr = std::get<PictureItem>(sheets.front().anchored.back().item);
    EXPECT_EQ(qr.name, u"verification code"_s);
    EXPECT_EQ(qr.points, QRectF(6.8 * 72, 0.3 * 72, 72, 72));
    // A square black-and-white code with its quiet zone, one bit a pixel, each module a
    // square of m x m pixels: the finder pattern's outer ring starts after the 4 modules of
    // the quiet zone and is 7 modules across.
    const QImage &code = qr.image;
    ASSERT_FALSE(code.isNull());
    EXPECT_EQ(code.depth(), 1);
    EXPECT_EQ(code.width(), code.height());
    constexpr int m = VerificationCode::kPixelsPerModule;
    EXPECT_EQ(code.width() % m, 0);
    EXPECT_EQ(code.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(code.pixelColor(4 * m - 1, 4 * m - 1), QColor(Qt::white));
    for (const int at : {4 * m, 4 * m + m - 1, 11 * m - 1})
        EXPECT_EQ(code.pixelColor(at, 4 * m), QColor(Qt::black)) << at;
    EXPECT_EQ(code.pixelColor(11 * m, 4 * m), QColor(Qt::white));
    EXPECT_EQ(code.pixelColor(4 * m, 11 * m - 1), QColor(Qt::black));

    const auto verifier = VerificationCode::fromConfig(InstitutionConfig::load(m_session.folder));
    ASSERT_TRUE(verifier);
    const QString text = verifier->payload(u"A000017"_s, u"R1"_s);
    EXPECT_TRUE(text.startsWith(u"SW1|A000017|R1|"_s));
    const auto genuine = verifier->verify(m_session.db(), text);
    EXPECT_TRUE(genuine.genuine);
    EXPECT_EQ(genuine.text,
              u"GENUINE: certificate A000017 of Reg. No. R1, Name R1, Bachelor of Arts (BA), convocation C26."_s);

    // Another register number under the same signature, or another key, is a forgery.
    QString forged = text;
    forged.replace(u"|R1|"_s, u"|R2|"_s);
    EXPECT_FALSE(verifier->verify(m_session.db(), forged).genuine);
    VerificationCode otherKey(u"guess"_s, QRectF(0, 0, 1, 1));
    EXPECT_FALSE(verifier->verify(m_session.db(), otherKey.payload(u"A000017"_s, u"R1"_s)).genuine);
    EXPECT_FALSE(verifier->verify(m_session.db(), u"hello"_s).genuine);

    // Cancelled since: still the institution's, but no longer the candidate's.
    m_session.db().exec(u"update convo set fcertno = null where fregno = 'R1'"_s);
    m_session.db().exec(u"insert into certcan (fregno, fcertno, fdegree) values ('R1', 'A000017', 'BA')"_s);
    const auto cancelled = verifier->verify(m_session.db(), text);
    EXPECT_TRUE(cancelled.text.startsWith(u"CANCELLED: certificate A000017 of Reg. No. R1"_s))
        << cancelled.text.toStdString();
}

// A code placed over the certificate's text (the name line, here) would be printed over it:
// the run stops at the first sheet, before its number is used, and says what to move.
TEST_P(VerificationCodeTest, ACodeOverTheTextStopsTheRunBeforeASheetIsUsed)
{
    configure(u"3.6"_s, u"4.0"_s);
    EXPECT_TRUE(printAll().empty());
    EXPECT_TRUE(m_prompter.texts().join(u'\n').contains(
        u"The verification code ([VERIFICATION] Left, Top, Size in Institution.ini) would cover the text of "
        "certificate A000017"_s))
        << m_prompter.texts().join(u'\n').toStdString();
    EXPECT_TRUE(registerRows().isEmpty());
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
}

// The PDF copies carry their number in a box at the top right: a code over it stops the
// copies before the first, naming the box; a code clear of it lets every copy through.
TEST_P(VerificationCodeTest, ACodeOverTheNumberOfTheCopiesStopsThemBeforeTheFirst)
{
    configure(u"6.8"_s, u"0.6"_s);
    ASSERT_EQ(printAll().size(), 4u);
    PrintSelection copies = selection();
    copies.mode = PrintMode::Pdf;
    struct Case
    {
        QString top;
        int copies;
    };
    for (const Case &c : {Case{u"0.3"_s, 0}, Case{u"0.6"_s, 4}}) {
        configure(u"6.8"_s, c.top);
        m_prompter.answerEvery(u"without photo?"_s, PromptAnswer::Yes);
        KeepingOutput output;
        const PrintingResult r = PrintingRun(m_session, m_prompter).run(copies, output);
        EXPECT_EQ(r.copies, c.copies) << "top " << c.top.toStdString();
        EXPECT_EQ(m_prompter.texts().join(u'\n').contains(
                      u"would cover the certificate number of the PDF copies (7.00 to "_s),
                  c.copies == 0)
            << m_prompter.texts().join(u'\n').toStdString();
        m_prompter.clear();
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, VerificationCodeTest, test::bothBackends(), test::backendName);

} // namespace
