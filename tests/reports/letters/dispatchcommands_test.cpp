// SPDX-License-Identifier: GPL-3.0-or-later
// nad-export, letters and labels run as a user runs them, on an installed folder of
// each backend and on the demonstration folder.
#include "support/batchrun.h"
#include "dispatchfixture.h"

#include <QDir>
#include <QJsonArray>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

class DispatchCommandsTest : public sw::test::DispatchFixture
{
protected:
    void SetUp() override
    {
        DispatchFixture::SetUp();
        if (IsSkipped() || !m_installed)
            return;
        sw::Database &db = m_session.db();
        db.exec(u"update control set fnadid = 'NAD7'"_s);
        db.exec(u"update degree set fcoursecode = 'CRS', feventid = 'EV'"_s);
        add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
        add({u"R0002"_s, u"MSCPH"_s, u"C002"_s, u"DC000102"_s});
        fee({u"R0001"_s, u"A1"_s, u"Tatkal"_s});
        QDir().mkpath(m_session.folder.filePath(u"CSV/DCPDF"_s));
        QFile copy(m_session.folder.filePath(u"CSV/DCPDF/DC_003_R0002_F_2025_1.pdf"_s));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    }
    sw::test::BatchRun batch(const QStringList &command)
    {
        return sw::test::runBatch(QStringList{u"--folder"_s, m_session.folder.root(), u"--user"_s, u"ADMIN"_s,
                                              u"--password"_s, u"admin"_s, u"--convo"_s, u"C025"_s}
                                  + command);
    }
    static QStringList december() { return {u"--from"_s, u"01/12/2025"_s, u"--to"_s, u"31/12/2025"_s}; }
};

TEST_P(DispatchCommandsTest, EachCommandWritesItsFile)
{
    const QString book = m_dir.filePath(u"cdsl.xlsx"_s);
    const sw::test::BatchRun nad = batch({u"nad-export"_s, u"--layout"_s, u"CDSL"_s, u"--out"_s, book});
    ASSERT_EQ(nad.exitCode, 0) << nad.err.toStdString();
    // R0002's copy was never signed: 003's row would name a signed copy that is not there.
    EXPECT_EQ(nad.out, book + u" (0 rows)\n"_s);
    EXPECT_TRUE(nad.err.contains(u"1 certificate(s) left out: no PDF copy in CSV/DCPDF (R0001)"_s))
        << nad.err.toStdString();
    EXPECT_TRUE(nad.err.contains(u"1 certificate(s) left out: the PDF copy is not signed"_s)) << nad.err.toStdString();
    EXPECT_TRUE(QFile::exists(book)); // the rows it holds: NadExportTest

    const sw::test::BatchRun list = batch(QStringList{u"letters"_s, u"list"_s} + december());
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_TRUE(list.out.contains(u"  R0001      DC000101"_s)) << list.out.toStdString();
    EXPECT_TRUE(list.out.contains(u"Total Certificates : 2"_s));

    const QString letters = m_dir.filePath(u"letters.pdf"_s);
    const sw::test::BatchRun college =
        batch(QStringList{u"letters"_s, u"college"_s} + december() + QStringList{u"--out"_s, letters});
    ASSERT_EQ(college.exitCode, 0) << college.err.toStdString();
    const QStringList pages = pdfPages(letters);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[1].contains(u"C002 - SECOND COLLEGE"_s));

    const sw::test::BatchRun labels = batch(QStringList{u"labels"_s, u"--tatkal-only"_s} + december());
    ASSERT_EQ(labels.exitCode, 0) << labels.err.toStdString();
    const QString odt = m_session.folder.filePath(u"Output/AddressLabels.odt"_s);
    EXPECT_EQ(labels.out, u"Report Generated Successfully\n"_s + odt + u" (1 labels)\n"_s);
    EXPECT_TRUE(odtContent(odt).contains(u"[Tatkal]"_s));
}

// `report printed-count` wrote its information message into the report on standard output.
TEST_P(DispatchCommandsTest, TextReportsOnStandardOutputKeepMessagesAndQuestionsOnStandardError)
{
    struct Case
    {
        QStringList command;
        QString message;
    };
    const Case cases[] = {
        {{u"report"_s, u"printed-count"_s},
         u"You are going to generate the Certificate Printed Details (Summary) of all convocations"_s},
        {{u"--yes"_s, u"report"_s, u"printed-ledger"_s},
         u"Do you want to generate Certificate printed list Only?? -> Yes"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command.join(u' ').toStdString());
        const sw::test::BatchRun run = batch(c.command + december());
        ASSERT_EQ(run.exitCode, 0) << run.both();
        EXPECT_TRUE(run.out.contains(u"End of Report"_s)) << run.out.toStdString();
        EXPECT_FALSE(run.out.contains(c.message)) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
}

TEST_P(DispatchCommandsTest, UsageErrorsAndRefusals)
{
    const sw::test::BatchRun layout = batch({u"nad-export"_s, u"--layout"_s, u"xyz"_s});
    EXPECT_EQ(layout.exitCode, 2);
    EXPECT_TRUE(layout.err.contains(u"--layout is cdsl, nsdl or digilocker, not xyz"_s)) << layout.err.toStdString();
    const sw::test::BatchRun zip = batch({u"nad-export"_s, u"--layout"_s, u"digilocker"_s, u"--out"_s, u"up.xlsx"_s});
    EXPECT_EQ(zip.exitCode, 2);
    EXPECT_TRUE(zip.err.contains(u"--out takes a .zip file for the DigiLocker layout, not up.xlsx"_s))
        << zip.err.toStdString();

    const sw::test::BatchRun kind = batch(QStringList{u"letters"_s, u"memo"_s} + december());
    EXPECT_EQ(kind.exitCode, 2);
    EXPECT_TRUE(kind.err.contains(u"Unknown kind of letter \"memo\""_s)) << kind.err.toStdString();

    const sw::test::BatchRun out = batch(QStringList{u"labels"_s, u"--out"_s, u"labels.txt"_s} + december());
    EXPECT_EQ(out.exitCode, 2);
    EXPECT_TRUE(out.err.contains(u"--out takes a .odt or a .pdf file, not labels.txt"_s)) << out.err.toStdString();

    const sw::test::BatchRun dates =
        batch({u"letters"_s, u"checklist"_s, u"--from"_s, u"31/12/2025"_s, u"--to"_s, u"01/12/2025"_s});
    EXPECT_EQ(dates.exitCode, 1);
    EXPECT_TRUE(dates.err.contains(u"From Date should be < To Date"_s)) << dates.err.toStdString();

    const QString book = m_dir.filePath(u"none.xlsx"_s);
    const sw::test::BatchRun none =
        batch({u"nad-export"_s, u"--layout"_s, u"cdsl"_s, u"--degree-from"_s, u"ZZZ"_s, u"--out"_s, book});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(u"No students found for the given range"_s)) << none.err.toStdString();
    EXPECT_FALSE(QFile::exists(book));

    const sw::test::BatchRun nsdl = batch({u"nad-export"_s, u"--layout"_s, u"nsdl"_s, u"--out"_s, book});
    EXPECT_EQ(nsdl.exitCode, 1);
    EXPECT_TRUE(nsdl.err.contains(u"the table student is missing"_s)) << nsdl.err.toStdString();
    EXPECT_FALSE(QFile::exists(book));
}

INSTANTIATE_TEST_SUITE_P(Backends, DispatchCommandsTest, sw::test::bothBackends(), sw::test::backendName);

// The demonstration convocation: copies made for one degree only, so the workbook holds
// that degree and the list beside it names every other printed certificate.
TEST(DispatchCommandsDemo, DepositoryWorkbookOfTheDemoConvocation)
{
    if (QStandardPaths::findExecutable(u"certutil"_s).isEmpty())
        GTEST_SKIP() << "certutil (libnss3-tools) is not installed";
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"demo"_s);
    const sw::test::BatchRun demo = sw::test::runBatch({u"demo"_s, folder});
    ASSERT_EQ(demo.exitCode, 0) << demo.err.toStdString();
    const QStringList login = {u"--folder"_s,   folder,     u"--user"_s,  u"ADMIN"_s,
                               u"--password"_s, u"ADMIN"_s, u"--convo"_s, u"C025"_s};
    // 003's rows name the signed copies (the demo's key passphrase, then its PIN: both DEMO).
    const sw::test::BatchRun copies = sw::test::runBatch(
        login + QStringList{u"--yes"_s, u"pdf"_s, u"--degree"_s, u"BSC"_s, u"--type"_s, u"1"_s, u"--sign"_s},
        "DEMO\nDEMO\n");
    ASSERT_EQ(copies.exitCode, 0) << copies.err.toStdString();
    const int made = QDir(folder + u"/CSV/DCPDF"_s).entryList({u"*_signed.pdf"_s}).size();
    ASSERT_GT(made, 0);

    const QString book = dir.filePath(u"demo.xlsx"_s);
    const sw::test::BatchRun nad =
        sw::test::runBatch(login + QStringList{u"nad-export"_s, u"--layout"_s, u"cdsl"_s, u"--out"_s, book});
    ASSERT_EQ(nad.exitCode, 0) << nad.err.toStdString();
    const QJsonObject read = sw::test::runPython(
        u"import csv, json, sys, openpyxl\nwb = openpyxl.load_workbook(sys.argv[1])\n"
        "ws = wb['SHEET_01']\n"
        "rows = [[c.value for c in r] for r in ws.iter_rows(min_row=2)]\n"
        "left = list(csv.reader(open(sys.argv[2], newline='')))[1:]\n"
        "print(json.dumps({'courses': sorted({r[5] for r in rows}), 'recnos': [r[21] for r in rows],\n"
        "  'images': [r[69] for r in rows], 'total': wb['TAIL']['A2'].value, 'nad': wb['HEAD']['B2'].value,\n"
        "  'left': len(left), 'leftDegrees': sorted({r[1] for r in left})}))\n"_s,
        {book, dir.filePath(u"demo_MissingPDF.csv"_s)});
    EXPECT_EQ(read[u"courses"_s].toArray(), QJsonArray{u"UG-BSC-01"_s});
    EXPECT_EQ(read[u"total"_s].toInt(), made);
    EXPECT_EQ(read[u"recnos"_s].toArray().size(), made);
    EXPECT_EQ(read[u"recnos"_s].toArray().last().toInt(), made);
    EXPECT_TRUE(read[u"images"_s].toArray().first().toString().endsWith(u"_signed.pdf"_s));
    EXPECT_FALSE(read[u"nad"_s].toString().isEmpty());
    EXPECT_GT(read[u"left"_s].toInt(), 0);
    EXPECT_FALSE(read[u"leftDegrees"_s].toArray().contains(u"BSC"_s));
}

} // namespace
