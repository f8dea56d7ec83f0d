// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfixture.h"
#include "reports/lists/photopaste.h"
#include "shell/document/documentoutput.h"

#include <QProcess>

using namespace Qt::StringLiterals;
using sw::test::TestBackend;

namespace {

class PhotoPasteTest : public sw::test::ListFixture
{
protected:
    sw::PhotoPasteSelection all()
    {
        sw::PhotoPasteSelection s;
        s.normaliseRanges();
        return s;
    }
    QString pdfText(const sw::Document &document)
    {
        const QString pdf = m_dir.filePath(u"sheet.pdf"_s);
        sw::documentoutput::writePdf(document, pdf);
        QProcess p;
        p.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
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

TEST_P(PhotoPasteTest, UpdateMarksActiveCandidatesAndFreshOnlySkipsThemAfterwards)
{
    add({u"R0001"_s});
    add({u"R0002"_s});
    m_session.db().exec(u"update convo set factive = 'F' where fregno = 'R0002'"_s);
    sw::PhotoPasteSelection s = all();
    s.update = true;
    const QString odt = sw::PhotoPasteSheet(m_session, m_prompter).Gen_Report_Data(s);
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

INSTANTIATE_TEST_SUITE_P(Backends, PhotoPasteTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         sw::test::backendName);

} // namespace
