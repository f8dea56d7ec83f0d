// SPDX-License-Identifier: GPL-3.0-or-later
// Institution 001 prints from designed layouts: no question per sheet, the last
// run kept in reccert (spoiled sheets left off), positions from the layout file or the "Top / Left" frame.
#include "printingfixture.h"

#include "certificates/layouts/designerlayout.h"
#include "certificates/printing/printcheck.h"
#include "certificates/printing/certificateprintscreen.h"
#include "shell/db/database.h"
#include "shell/document/documentrenderer.h"
#include "support/stoptext.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "support/windowdriver.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class DesignerRunTest : public test::PrintingFixture
{
protected:
    QString institution() const override { return u"001"_s; }

    QStringList recent() const
    {
        Rows rows = m_session.db().query(u"select fregno, fcertno from reccert order by fcertno"_s);
        QStringList out;
        while (rows.next())
            out << rows.text(0) + u'=' + rows.text(1);
        return out;
    }
};

TEST_P(DesignerRunTest, PrintsEveryCandidateOfTheDegreeAndKeepsTheLastRun)
{
    ASSERT_EQ(DesignerLayout::writeStarterLayouts(m_session.folder).size(), 4);
    PrintSelection s = selection();
    s.startNumber = u"1"_s;
    const PrintingResult r = print(s);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.printed, 4);
    EXPECT_EQ(m_prompter.last(), u"Printing of Certificates Completed Successfully: 4 certificates, A000001 to "
                                 "A000004, in the folder "_s
                                     + QDir::toNativeSeparators(m_out.path()) + u'.');
    EXPECT_EQ(recent(), (QStringList{u"R1=A000001"_s, u"R2=A000002"_s, u"R3=A000003"_s, u"R4=A000004"_s}));
    Rows row = m_session.db().query(u"select fdate, fconvdate, fprintedby from convo where fregno = 'R2'"_s);
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.date(u"fdate"_s), QDate(2026, 3, 12));
    EXPECT_EQ(row.date(u"fconvdate"_s), QDate(2025, 12, 20));
    EXPECT_EQ(row.text(2), u"CLERK"_s);

    const QString text = test::pdfText(QDir(m_out.path()).filePath(u"A000002_R2.pdf"_s));
    EXPECT_TRUE(text.contains(u"Name R2"_s));
    EXPECT_TRUE(text.contains(u"Register No. R2"_s));
    EXPECT_TRUE(text.contains(u"First Class"_s));

    // A second run empties the list first: only its own certificates remain. A sheet named
    // spoiled is registered so and left off the list.
    for (const QString &regno : {u"R5"_s, u"R6"_s})
        test::insertCandidate(m_session.db(), regno, {{u"factive"_s, u"T"_s}});
    s.startNumber = u"5"_s;
    s.spoiledNumbers = {5};
    const PrintingResult second = print(s);
    EXPECT_EQ(second.printed, 1);
    EXPECT_EQ(second.spoiled, 1);
    EXPECT_EQ(certNo(u"R5"_s), u""_s);
    EXPECT_EQ(recent(), QStringList{u"R6=A000006"_s});
}

// The designed layouts once selected every unprinted candidate of the degree whatever the
// ranges: a one-candidate range numbered two sheets, and its copies covered the degree.
TEST_P(DesignerRunTest, ARangeOfOneCandidatePrintsOneSheetAndCopiesOne)
{
    ASSERT_EQ(DesignerLayout::writeStarterLayouts(m_session.folder).size(), 4);
    PrintSelection s = selection();
    s.startNumber = u"1"_s;
    s.regnoFrom = s.regnoTo = u"R2"_s;
    const PrintingResult r = print(s);
    EXPECT_EQ(r.printed, 1);
    EXPECT_EQ(certNo(u"R2"_s), u"A000001"_s);
    for (const QString &other : {u"R1"_s, u"R3"_s, u"R4"_s})
        EXPECT_EQ(certNo(other), u""_s) << other.toStdString();
    EXPECT_EQ(recent(), QStringList{u"R2=A000001"_s});

    // Copies of printed certificates keep to the range as well.
    print([&] {
        PrintSelection all = selection();
        all.startNumber = u"2"_s;
        return all;
    }());
    PrintSelection copies = selection();
    copies.mode = PrintMode::Pdf;
    copies.regnoFrom = copies.regnoTo = u"R4"_s;
    EXPECT_EQ(print(copies).copies, 1);
}

TEST_P(DesignerRunTest, TypedPositionsMoveTheLabels)
{
    DesignerLayout::writeStarterLayouts(m_session.folder);
    DesignerLayout layout(m_session.folder, u"1"_s);
    layout.place(DesignerLayout::Name, {u"2"_s, u"1.5"_s, u"24"_s});
    CertificateRow row;
    row.name = u"ASHA"_s;
    const Document doc = layout.compose(row, u"A1"_s);
    const auto &box = std::get<TextBoxItem>(doc.anchored.front().item);
    EXPECT_EQ(box.points.topLeft(), QPointF(108, 144));
    EXPECT_EQ(box.paragraphs.front().runs.front().text, u"ASHA"_s);
    EXPECT_EQ(box.paragraphs.front().runs.front().format.size, 24);
    // The other labels stay where the file put them.
    EXPECT_EQ(std::get<TextBoxItem>(doc.anchored[1].item).points.top(), 340);
}

// Found by fuzzing: a typed position that pushed a box off the sheet passed the
// file's own check and stopped the run later with a message naming no file.
TEST_P(DesignerRunTest, ATypedPositionOffTheSheetIsRefusedWithTheFileNamed)
{
    DesignerLayout::writeStarterLayouts(m_session.folder);
    DesignerLayout layout(m_session.folder, u"1"_s);
    const QString stop = test::stopText([&] { layout.place(DesignerLayout::Name, {u"2"_s, u"30"_s, {}}); });
    EXPECT_TRUE(stop.contains(u"Layouts/CONVO1.json: the position typed for {fname} (top 2, left 30)"_s))
        << stop.toStdString();
}

TEST_P(DesignerRunTest, WrongTypeOrMissingLayoutFileStopsBeforeAnySheet)
{
    PrintSelection s = selection();
    s.startNumber = u"1"_s;
    print(s);
    EXPECT_TRUE(m_prompter.last().startsWith(u"The certificate layout file "_s)) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().contains(u"Layouts/CONVO1.json"_s));

    DesignerLayout::writeStarterLayouts(m_session.folder);
    s.certType = u"2"_s;
    print(s);
    EXPECT_EQ(m_prompter.last(), u"Speciality is not identified for this Degree"_s);
    m_session.db().exec(u"update degree set fspecial = 'HISTORY' where fdegree = 'BA'"_s);
    s.certType = u"1"_s;
    print(s);
    EXPECT_EQ(m_prompter.last(), u"Wrong Certificate Type is Selected"_s);

    // A layout file with a mistake is named with the place of the mistake.
    test::writeFile(m_session.folder.filePath(u"Layouts/CONVO2.json"_s), R"({"body": [{"textBox": {"x": "left"}}]})");
    s.certType = u"2"_s;
    print(s);
    EXPECT_TRUE(m_prompter.last().contains(u"body[0]"_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());
}

// Found by fuzzing the layout files: a box placed off the sheet stopped the run with
// "The text box 1 lies off the page" and no word of which file held it.
TEST_P(DesignerRunTest, ALayoutWithABoxOffTheSheetIsNamedBeforeAnySheet)
{
    test::writeFile(m_session.folder.filePath(u"Layouts/CONVO1.json"_s),
                    R"({"page": {"paper": "Legal"}, "body": [{"textBox": {"x": 72, "y": 200, "width": 758,
                    "height": 28, "paragraphs": [{"text": "{fname}", "size": 14}]}}]})");
    PrintSelection s = selection();
    s.startNumber = u"1"_s;
    print(s);
    EXPECT_TRUE(m_prompter.last().contains(u"Layouts/CONVO1.json: The text box 1 lies off the page"_s))
        << m_prompter.last().toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());
}

// A narrow box shrank a 100-character college name to about 5 points: now the type stops at
// 8 points and the text wraps, and the check before the run names the field.
TEST_P(DesignerRunTest, ATextTooLongForItsBoxStopsAtEightPointsAndIsNamedByTheCheck)
{
    test::writeFile(m_session.folder.filePath(u"Layouts/CONVO1.json"_s),
                    R"({"page": {"paper": "A4"}, "body": [{"textBox": {"x": 72, "y": 200, "width": 150,
                    "height": 28, "paragraphs": [{"text": "{fcollname}", "size": 14}]}}]})");
    const QString longName = QString(u"JAYACHAMARAJENDRA COLLEGE OF ENGINEERING "_s).repeated(3).left(100);
    m_session.db().exec(u"update college set fcollname = ?"_s, {longName});
    PrintSelection s = selection();
    s.expandAllRanges();
    const DesignerLayout layout(m_session.folder, u"1"_s);
    const std::vector<CertificateRow> rows = selectCertificateRows(m_session, s, RowOrder::Regno);
    ASSERT_FALSE(rows.empty());
    const Document doc = layout.compose(rows.front(), u"A000001"_s);
    const auto &box = std::get<TextBoxItem>(doc.anchored.front().item);
    EXPECT_GE(box.paragraphs.front().runs.front().format.size, 8.0 * 0.95);
    EXPECT_GT(box.points.height(), 28) << "the box grows down to hold the wrapped lines";
    EXPECT_EQ(layout.overflows(rows.front()), QStringList{u"{fcollname}"_s});

    const QStringList gaps = PrintCheck(m_session).gaps(selection());
    EXPECT_TRUE(gaps.contains(u"Reg. No. R1: the college name does not fit its box even in 8-point type; it wraps on "
                              "to the lines below ({fcollname})"_s))
        << gaps.join(u'\n').toStdString();
    // A box near the foot of the sheet grows down only to the foot: the sheet still draws.
    test::writeFile(m_session.folder.filePath(u"Layouts/CONVO1.json"_s),
                    R"({"page": {"paper": "A4"}, "body": [{"textBox": {"x": 72, "y": 800, "width": 150,
                    "height": 28, "paragraphs": [{"text": "{fcollname}", "size": 14}]}}]})");
    const Document atTheFoot = DesignerLayout(m_session.folder, u"1"_s).compose(rows.front(), u"A000001"_s);
    EXPECT_LE(std::get<TextBoxItem>(atTheFoot.anchored.front().item).points.bottom(),
              atTheFoot.page.pagePoints().height());
    EXPECT_NO_THROW(DocumentRenderer{atTheFoot});
    // A name that fits is not named.
    m_session.db().exec(u"update college set fcollname = 'SHORT'"_s);
    EXPECT_FALSE(PrintCheck(m_session).gaps(selection()).join(u'\n').contains(u"does not fit its box"_s));
}

// The screen's "Top / Left" boxes show where the layout of the type puts each label;
// what the clerk types there moves the label on this run's sheets. The depository's
// PDF copies of what was printed come from the same layout.
TEST_P(DesignerRunTest, TheTopLeftBoxesMoveTheLabelsAndPrintedCertificatesGetCopies)
{
    DesignerLayout::writeStarterLayouts(m_session.folder);
    CommandActions actions;
    CommandDispatcher dispatcher{actions, m_prompter};
    auto screen =
        std::make_unique<CertificatePrintScreen>(FormContext{m_session, m_prompter, dispatcher}, PrintMode::Print);
    screen->setOutput(std::make_unique<FolderOutput>(m_out.path()));
    test::showActive(*screen);
    screen->activated();
    const std::pair<int, QString> boxes[] = {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s},
                                             {4, u"A"_s},  {5, u"1"_s}, {30, u"99"_s}};
    for (const auto &[index, value] : boxes)
        screen->fields().text(index)->setText(value);
    screen->fields().returnFocusTo(screen->fields().text(6));
    test::enter(u"1"_s);
    const LabelPlacement filed = DesignerLayout(m_session.folder, u"1"_s).placement(DesignerLayout::Name);
    ASSERT_FALSE(filed.top.isEmpty());
    EXPECT_EQ(screen->fields().text(11)->text(), filed.top);
    EXPECT_EQ(screen->fields().text(12)->text(), filed.left);
    EXPECT_EQ(screen->fields().text(21)->text(), filed.size);
    screen->fields().text(11)->setText(u"2"_s);
    screen->fields().text(12)->setText(u"1.5"_s);
    screen->VPSproc(u"print"_s);
    ASSERT_EQ(certNo(u"R1"_s), u"A000001"_s) << m_prompter.texts().join(u'\n').toStdString();
    const test::Word *name = test::find(test::words(QDir(m_out.path()).filePath(u"A000001_R1.pdf"_s)), u"Name"_s);
    ASSERT_TRUE(name);
    EXPECT_NEAR(name->box.top(), 2 * 72, 12); // the box's top, two inches down

    // The copies: every printed certificate, with its number, from the designed layout.
    PrintSelection s = selection();
    s.mode = PrintMode::Pdf;
    s.startNumber = u"1"_s;
    s.endNumber = u"999999"_s;
    const PrintingResult copies = print(s);
    EXPECT_EQ(copies.copies, 4) << m_prompter.last().toStdString();
    const QString copy = m_session.folder.filePath(u"CSV/DCPDF/DC_001_R2_F_2025_1.pdf"_s);
    ASSERT_TRUE(QFile::exists(copy)) << m_prompter.last().toStdString();
    const QString text = test::pdfText(copy);
    EXPECT_TRUE(text.contains(u"Name R2"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"A000002"_s)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, DesignerRunTest, test::bothBackends(), test::backendName);

} // namespace
