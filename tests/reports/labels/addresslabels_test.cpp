// SPDX-License-Identifier: GPL-3.0-or-later
// The label sheet read from its PDF by pdftotext and from its OpenDocument file.
#include "../letters/dispatchfixture.h"
#include "reports/labels/addresslabels.h"

using namespace Qt::StringLiterals;

namespace {

class AddressLabelsTest : public sw::test::DispatchFixture
{
protected:
    sw::LabelSelection all()
    {
        sw::LabelSelection s{december(), {}, {}};
        s.normaliseRanges();
        return s;
    }
    // The register numbers on a sheet, in reading order.
    static QStringList regnos(const sw::Document &sheet)
    {
        QStringList found;
        for (const auto &row : std::get<sw::Table>(sheet.flow.front()).rows) {
            for (const std::size_t column : {0u, 2u}) { // the middle column is the gap between labels
                const sw::Paragraph &cell = row[column];
                const QString text = cell.runs.empty() ? QString() : cell.runs.front().text;
                const qsizetype at = text.indexOf(u"Reg. No: "_s);
                found.append(at < 0 ? QString() : text.mid(at + 9, 5));
            }
        }
        return found;
    }
};

TEST_P(AddressLabelsTest, TwoAcrossInCollegeDegreeRegisterOrder)
{
    add({u"R0003"_s, u"BSC"_s, u"C002"_s, u"DC000103"_s});
    add({u"R0002"_s, u"MSCPH"_s, u"C001"_s, u"DC000102"_s});
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0004"_s, u"BSC"_s, u"C001"_s, u"DC000104"_s}); // no fee record: no label
    add({u"R0005"_s, u"BSC"_s, u"C001"_s});                // not printed
    fee({u"R0001"_s, u"A1"_s});
    fee({u"R0002"_s, u"A2"_s, u"Tatkal"_s});
    fee({u"R0003"_s, u"A3"_s});
    fee({u"R0005"_s, u"A5"_s});
    sw::AddressLabels labels(m_session, m_prompter);
    const auto sheet = labels.compose(all());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(labels.labels(), 3);
    // An odd count leaves the last right-hand label blank.
    EXPECT_EQ(regnos(*sheet), (QStringList{u"R0001"_s, u"R0002"_s, u"R0003"_s, QString()}));
    const sw::Table &table = std::get<sw::Table>(sheet->flow.front());
    EXPECT_EQ(table.columnInches.size(), 3u); // a label, the gap, a label
    EXPECT_EQ(table.rows[0][0].runs.front().format.fontName, u"Calibri"_s);
    EXPECT_DOUBLE_EQ(sheet->page.leftInches, 0.8);
    EXPECT_DOUBLE_EQ(sheet->page.topInches, 0.5);

    sw::Rows r = m_session.db().query(u"select a.*, c.fcertno from convo c, convofee a "
                                      "where a.fregno = c.fregno and c.fregno = 'R0002'"_s);
    ASSERT_TRUE(r.next());
    EXPECT_EQ(sw::AddressLabels::labelText(r),
              u"APPLICANT R0002\nHouse 1, R0002\nMain Road\nKOTEBETTA\nKARNATAKA\nPincode - 580020\n"
              "Mobile : 9876500000\nReg. No: R0002\tCert. No: DC000102\n[Tatkal]"_s);

    const QStringList pages = pdfPages(*sheet);
    ASSERT_EQ(pages.size(), 1);
    const QString &page = pages[0];
    // Both labels of a row stand side by side on the same lines.
    EXPECT_EQ(lineWith(page, u"APPLICANT R0001"_s), u"APPLICANT R0001 APPLICANT R0002"_s);
    EXPECT_EQ(lineWith(page, u"Pincode"_s), u"Pincode - 580020 Pincode - 580020"_s);
    EXPECT_EQ(lineWith(page, u"Reg. No: R0001"_s),
              u"Reg. No: R0001 Cert. No: DC000101 Reg. No: R0002 Cert. No: DC000102"_s);
    EXPECT_EQ(lineWith(page, u"[Tatkal]"_s), u"[Tatkal]"_s);
    EXPECT_LT(page.indexOf(u"[Tatkal]"_s), page.indexOf(u"APPLICANT R0003"_s));
    EXPECT_FALSE(page.contains(u"R0004"_s));
    EXPECT_FALSE(page.contains(u"R0005"_s));
    // The right-hand column starts at the middle of the page.
    const QString line = page.split(u'\n').filter(u"APPLICANT R0001"_s).value(0);
    EXPECT_GT(line.indexOf(u"APPLICANT R0002"_s), line.indexOf(u"APPLICANT R0001"_s) + 30);
}

// Labels printed the town and the state a second time when an address line held them, blank
// lines for empty columns, and "Pincode - " with no number.
TEST_P(AddressLabelsTest, EachLineOnceWithoutEmptyLines)
{
    struct Case
    {
        const char *story;
        QString addr2, city, state, pincode;
        QString expected; // the lines after the name and the first address line
    };
    const Case cases[] = {
        {"town and state apart", u"Main Road"_s, u"KOTEBETTA"_s, u"KARNATAKA"_s, u"580020"_s,
         u"Main Road\nKOTEBETTA\nKARNATAKA\nPincode - 580020"_s},
        {"town and state in the address", u"Ward 3, Kotebetta, Karnataka"_s, u"KOTEBETTA"_s, u"KARNATAKA"_s,
         u"580020"_s, u"Ward 3, Kotebetta, Karnataka\nPincode - 580020"_s},
        {"a town inside a longer word stays", u"Kotebettahalli"_s, u"KOTEBETTA"_s, u"KARNATAKA"_s, u"580020"_s,
         u"Kotebettahalli\nKOTEBETTA\nKARNATAKA\nPincode - 580020"_s},
        {"no town, no state, no pincode", u"Main Road"_s, QString(), u" "_s, QString(), u"Main Road"_s},
    };
    int n = 0;
    for (const Case &c : cases) {
        const QString appno = u"L"_s + QString::number(++n);
        m_session.db().exec(u"insert into convofee (fappno, fregno, fname, faddr1, faddr2, faddr3, faddr4, fcity, "
                            "fstate, fpincode, fmobile, fscheme) values (?, 'R9', 'Applicant R9', 'House 1', ?, '', "
                            "null, ?, ?, ?, '', 'Normal')"_s,
                            {appno, c.addr2, c.city, c.state, c.pincode});
        sw::Rows r =
            m_session.db().query(u"select a.*, 'DC000109' as fcertno from convofee a where a.fappno = ?"_s, {appno});
        ASSERT_TRUE(r.next());
        EXPECT_EQ(sw::AddressLabels::labelText(r),
                  u"APPLICANT R9\nHouse 1\n"_s + c.expected + u"\nReg. No: R9\tCert. No: DC000109"_s)
            << c.story;
    }
}

TEST_P(AddressLabelsTest, TatkalAndPostFiltersTogetherNeedBoth)
{
    for (int i = 1; i <= 4; ++i)
        add({u"R000"_s + QString::number(i), u"BSC"_s, u"C001"_s, u"DC00010"_s + QString::number(i)});
    fee({u"R0001"_s, u"A1"_s, u"Tatkal"_s, u"Post"_s});
    fee({u"R0002"_s, u"A2"_s, u"Tatkal"_s, u"Hand"_s});
    fee({u"R0003"_s, u"A3"_s, u"Normal"_s, u"Post"_s});
    fee({u"R0004"_s, u"A4"_s, u"Normal"_s, u"Hand"_s});
    const auto regnosOf = [&](bool tatkal, bool post) {
        sw::LabelSelection s = all();
        s.tatkalOnly = tatkal;
        s.postOnly = post;
        const auto sheet = sw::AddressLabels(m_session, m_prompter).compose(s);
        QStringList found = sheet ? regnos(*sheet) : QStringList{};
        found.removeAll(QString());
        return found;
    };
    EXPECT_EQ(regnosOf(false, false), (QStringList{u"R0001"_s, u"R0002"_s, u"R0003"_s, u"R0004"_s}));
    EXPECT_EQ(regnosOf(true, false), (QStringList{u"R0001"_s, u"R0002"_s}));
    EXPECT_EQ(regnosOf(false, true), (QStringList{u"R0001"_s, u"R0003"_s}));
    EXPECT_EQ(regnosOf(true, true), (QStringList{u"R0001"_s}));
}

TEST_P(AddressLabelsTest, CertificateAndDateRangesAndNoData)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"BSC"_s, u"C001"_s, u"DC000102"_s});
    add({u"R0003"_s, u"BSC"_s, u"C001"_s, u"DC000103"_s, QDate(2026, 1, 2)});
    for (const QString &r : {u"R0001"_s, u"R0002"_s, u"R0003"_s})
        fee({r, u"A"_s + r});
    sw::LabelSelection s{december(), u"DC000102"_s, u"DC000109"_s};
    s.normaliseRanges();
    sw::AddressLabels labels(m_session, m_prompter);
    const auto sheet = labels.compose(s);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(regnos(*sheet), (QStringList{u"R0002"_s, QString()}));

    sw::LabelSelection none{december(), u"DC000200"_s, {}};
    none.normaliseRanges();
    EXPECT_EQ(none.toCertNo, u"DC000200"_s);
    const QString odt = m_dir.filePath(u"labels.odt"_s);
    EXPECT_EQ(labels.labelSheets(none, odt), 0);
    EXPECT_EQ(m_prompter.last(), u"No Data found for the given for the range"_s);
    EXPECT_EQ(m_prompter.shown().back().icon, sw::PromptIcon::Exclamation);
    EXPECT_FALSE(QFile::exists(odt));
}

TEST_P(AddressLabelsTest, OpenDocumentKeepsEachLabelsLines)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    fee({u"R0001"_s, u"A1"_s});
    const QString odt = m_dir.filePath(u"labels.odt"_s);
    const QString pdf = m_dir.filePath(u"labels.pdf"_s);
    EXPECT_EQ(sw::AddressLabels(m_session, m_prompter).labelSheets(all(), odt, pdf), 1);
    EXPECT_EQ(m_prompter.last(), u"Report Generated Successfully"_s);
    const QString xml = odtContent(odt);
    EXPECT_TRUE(xml.contains(u"APPLICANT R0001<text:line-break/>House 1, R0001<text:line-break/>Main Road"_s))
        << xml.toStdString();
    EXPECT_TRUE(xml.contains(u"Reg. No: R0001<text:tab/>Cert. No: DC000101"_s));
    EXPECT_EQ(pdfPages(pdf).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, AddressLabelsTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
