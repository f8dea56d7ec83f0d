// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfixture.h"
#include "reports/lists/photopaste.h"
#include "shell/document/documentoutput.h"
#include "support/pdftext.h"
#include "support/python.h"

#include <QJsonArray>

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

class PhotoPasteTest : public sw::test::ListFixture
{
protected:
    static sw::PhotoPasteSelection all() { return everything<sw::PhotoPasteSelection>(); }
    QString pdfText(const sw::Document &document)
    {
        const QString pdf = m_dir.filePath(u"sheet.pdf"_s);
        sw::documentoutput::writePdf(document, pdf);
        return sw::test::pdfLayoutText(pdf);
    }
    QString pasted(const QString &regno)
    {
        return m_session.db().scalar(u"select fphotopaste from convo where fregno = ?"_s, {regno}).toString();
    }
};

TEST_P(PhotoPasteTest, FourBoxesAcrossWithNumberSerialAndNameBeneath)
{
    for (int i = 1; i <= 5; ++i)
        add({QStringLiteral("R000%1").arg(i)});
    m_session.db().exec(u"update convo set fprintord = '00042' where fregno = 'R0002'"_s);
    const auto sheet = sw::PhotoPasteSheet(m_session, m_prompter).compose(all());
    ASSERT_TRUE(sheet.has_value());
    const QString text = pdfText(*sheet);
    EXPECT_EQ(text.count(u"Affix Photo Here"_s), 5);
    EXPECT_TRUE(text.contains(u"R0002 - 00042"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Name: NAME OF R0005"_s));
    // The first four stand on one line of boxes.
    const QString firstLine = text.split(u'\n').filter(u"Affix Photo Here"_s).first();
    EXPECT_EQ(firstLine.count(u"Affix Photo Here"_s), 4);
}

// Every page was headed with the first college, and colleges shared a page.
TEST_P(PhotoPasteTest, EachCollegeStartsOnItsOwnPagesHeadedWithItAndNumberedFromOne)
{
    for (int i = 1; i <= 20; ++i)
        add({u"A"_s + QString::number(i).rightJustified(4, u'0'), u"BSC"_s, u"C001"_s});
    for (int i = 1; i <= 3; ++i)
        add({u"B"_s + QString::number(i).rightJustified(4, u'0'), u"BSC"_s, u"C002"_s});
    add({u"C0001"_s, u"MSCPH"_s, u"C001"_s}); // the first college again, under another degree
    const auto sheet = sw::PhotoPasteSheet(m_session, m_prompter).compose(all());
    ASSERT_TRUE(sheet.has_value());
    QStringList pages = pdfText(*sheet).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    struct Expected
    {
        QString college;
        QString number;
        QChar candidates; // the letter their register numbers begin with
    };
    const Expected expected[] = {{u"FIRST COLLEGE, SUVARNAPURA - BSC"_s, u"1 of 2"_s, u'A'},
                                 {u"FIRST COLLEGE, SUVARNAPURA - BSC"_s, u"2 of 2"_s, u'A'},
                                 {u"SECOND COLLEGE, MALLIGEPURA - BSC"_s, u"1 of 1"_s, u'B'},
                                 {u"FIRST COLLEGE, SUVARNAPURA - MSCPH"_s, u"1 of 1"_s, u'C'}};
    ASSERT_EQ(pages.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const QString &page = pages[qsizetype(i)];
        EXPECT_TRUE(page.simplified().contains(expected[i].college + u" (Photo Paste Format)"_s)) << page.toStdString();
        EXPECT_TRUE(page.contains(expected[i].number)) << page.toStdString();
        static const QRegularExpression regno(u"\\b([ABC])\\d{4} - "_s);
        for (auto hit = regno.globalMatch(page); hit.hasNext();)
            EXPECT_EQ(hit.next().captured(1).at(0), expected[i].candidates) << page.toStdString();
    }
}

TEST_P(PhotoPasteTest, UpdateMarksActiveCandidatesAndFreshOnlySkipsThemAfterwards)
{
    add({u"R0001"_s});
    add({u"R0002"_s});
    m_session.db().exec(u"update convo set factive = 'F' where fregno = 'R0002'"_s);
    sw::PhotoPasteSelection s = all();
    s.update = true;
    const QString odt = sw::PhotoPasteSheet(m_session, m_prompter).photoSheet(s);
    EXPECT_TRUE(QFile::exists(odt));
    EXPECT_EQ(pasted(u"R0001"_s), u"T"_s);
    EXPECT_NE(pasted(u"R0002"_s), u"T"_s); // not active: not marked
    sw::PhotoPasteSelection fresh = all();
    fresh.freshOnly = true;
    const auto sheet = sw::PhotoPasteSheet(m_session, m_prompter).compose(fresh);
    ASSERT_TRUE(sheet.has_value());
    const QString text = pdfText(*sheet);
    EXPECT_FALSE(text.contains(u"R0001"_s));
    EXPECT_TRUE(text.contains(u"R0002"_s));
}

TEST_P(PhotoPasteTest, NothingInTheRangesSaysSo)
{
    EXPECT_FALSE(sw::PhotoPasteSheet(m_session, m_prompter).compose(all()).has_value());
    EXPECT_EQ(m_prompter.last(), u"No records found"_s);
}

TEST_P(PhotoPasteTest, Institution027GetsItsOwnCandidatesOnAWorkbookInActivationOrder)
{
    m_session.instCode = u"027"_s;
    m_session.userName = u"CLERK1"_s;
    for (int i = 1; i <= 6; ++i)
        add({QStringLiteral("R000%1").arg(i)});
    m_session.db().exec(u"update convo set fusername = 'CLERK1', fprintord = ? where fregno = ?"_s,
                        {u"00002"_s, u"R0005"_s});
    m_session.db().exec(u"update convo set fusername = 'CLERK1', fprintord = ? where fregno = ?"_s,
                        {u"00001"_s, u"R0006"_s});
    m_session.db().exec(u"update convo set fusername = 'CLERK2' where fregno = 'R0001'"_s);
    const QString path = sw::PhotoPasteSheet(m_session, m_prompter).run(all());
    ASSERT_TRUE(path.endsWith(u".xlsx"_s)) << path.toStdString();
    const QJsonObject sheet = sw::test::runPython(uR"PY(
import json, sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
cells = [[c.value for c in row] for row in ws.iter_rows()]
print(json.dumps({'title': ws['A1'].value, 'names': [v for row in cells for v in row if isinstance(v, str) and v.startswith('Name: ')],
                  'boxes': sum(1 for row in cells for v in row if v == 'Affix Photo Here')}))
)PY"_s,
                                                  {path});
    EXPECT_EQ(sheet[u"boxes"_s].toInt(), 2);
    const QJsonArray names = sheet[u"names"_s].toArray();
    ASSERT_EQ(names.size(), 2);
    EXPECT_EQ(names[0].toString(), u"Name: NAME OF R0006"_s); // serial 00001 first
    EXPECT_TRUE(sheet[u"title"_s].toString().startsWith(u"Degree : BSC, College : C001, Reg. No. : R0006"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, PhotoPasteTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
