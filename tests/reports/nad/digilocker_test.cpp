// SPDX-License-Identifier: GPL-3.0-or-later
// The DigiLocker upload read back with Python's zipfile and csv modules and checked
// against the database column by column; the copies are signed with a throw-away
// certificate and spoiled the ways a clerk's files get spoiled.
#include "../lists/listfixture.h"
#include "reports/nad/digilockerexport.h"
#include "shell/core/kannadatext.h"
#include "shell/core/stoperror.h"
#include "support/python.h"
#include "support/signing.h"
#include "support/stoptext.h"

#include <QDir>
#include <QJsonArray>

using namespace Qt::StringLiterals;
using sw::test::TestBackend;

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

const QString kReadZips = uR"PY(
import csv, io, json, os, sys, zipfile
out = {}
for path in sys.argv[1:]:
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
        tables = [n for n in names if n.endswith('.csv')]
        with z.open(tables[0]) as f:
            text = io.TextIOWrapper(f, encoding='utf-8', newline='')
            reader = csv.reader(text)
            header = next(reader)
            rows = [dict(zip(header, r)) for r in reader]
        out[os.path.basename(path)] = {'names': names, 'table': tables[0], 'header': header, 'rows': rows,
                                       'size': os.path.getsize(path), 'damaged': z.testzip(),
                                       'bytes': {n: z.read(n).hex() for n in names if n.endswith('.pdf')}}
print(json.dumps(out))
)PY"_s;

class DigiLockerTest : public sw::test::ListFixture
{
protected:
    void SetUp() override
    {
        ListFixture::SetUp();
        if (IsSkipped() || !m_installed)
            return;
        if (!sw::ThrowAwaySigner::certutilAvailable())
            GTEST_SKIP() << "certutil (libnss3-tools) is not installed";
        m_session.instCode = u"003"_s;
        m_session.instTitle = u"Varada University, Suvarnapura"_s;
        sw::Database &db = m_session.db();
        db.exec(u"update degree set fcoursecode = 'CRS-BSC', fcredit = 'T', fdescpnkan = ? where fdegree = 'BSC'"_s,
                {sw::kannada::fromUnicode(u"ಬಿ.ಎಸ್ಸಿ."_s).text});
        db.exec(u"update degree set fcoursecode = 'CRS-MSC', fcredit = 'F', fspecialkan = ? where fdegree = 'MSCPH'"_s,
                {sw::kannada::fromUnicode(u"ಭೌತಶಾಸ್ತ್ರ"_s).text});
        db.exec(u"insert into class (fclasscode, fclassdesc) values ('FC', 'FIRST CLASS')"_s);
        QDir().mkpath(m_session.folder.filePath(u"CSV/DCPDF"_s));
        sw::test::configureSigning(m_session.folder);
    }

    // A printed certificate with its copy, signed unless told otherwise; an empty `dob` is
    // a date of birth of no interest to the test, kNoDob none at all.
    static inline const QString kNoDob = QStringLiteral("none");
    void printed(const QString &regno, const QString &degree, const QString &sex, const QString &dob, bool sign = true)
    {
        add({regno, degree, u"C001"_s, u"DC"_s + regno});
        const QString stored = dob == kNoDob ? QString() : dob.isEmpty() ? u"15/06/2003"_s : dob;
        m_session.db().exec(u"update convo set fsex = ?, fdob = ?, fnamekan = ? where fregno = ?"_s,
                            {sex, stored, u"D£ÀAzï"_s, regno});
        const QString copy = m_session.folder.filePath(u"CSV/DCPDF/DC_003_"_s + regno + u"_F_2025_1.pdf"_s);
        ASSERT_TRUE(sw::test::writeBytes(copy, sw::test::smallPdf(regno)));
        if (!sign)
            return;
        if (!m_signer) {
            m_prompter.answerInput(sw::test::testSigner().pin);
            m_signer = std::make_unique<sw::PdfSigner>(sw::SignatureSettings::load(m_session.folder), m_prompter);
            m_signer->open();
        }
        m_signer->signFile(copy, signedCopy(regno));
    }
    QString signedCopy(const QString &regno) const
    {
        return m_session.folder.filePath(u"CSV/DCPDF/DC_003_"_s + regno + u"_F_2025_1_signed.pdf"_s);
    }
    void spoilSignedCopy(const QString &regno, sw::test::Spoil how)
    {
        QFile signedFile(signedCopy(regno));
        ASSERT_TRUE(signedFile.open(QIODevice::ReadOnly));
        const QByteArray good = signedFile.readAll();
        signedFile.close();
        ASSERT_TRUE(sw::test::writeBytes(signedCopy(regno), sw::test::spoiled(good, how)));
    }
    static sw::NadSelection all() { return everything<sw::NadSelection>(); }
    QJsonObject read(const QStringList &zips) { return sw::test::runPython(kReadZips, zips); }

    std::unique_ptr<sw::PdfSigner> m_signer;
};

// The value each column must have, worked out from the database row by the test itself.
QString expected(const QString &column, sw::Database &db, const QString &regno)
{
    sw::Rows r = db.query(u"select convo.fname, convo.fsex, convo.fdob, convo.fdate, convo.fcertno, convo.fyear, "
                          "degree.fdescpn, degree.fcoursecode, degree.fspecial, degree.fcredit, convo.fabcid "
                          "from convo, degree where convo.fdegree = degree.fdegree and convo.fregno = ?"_s,
                          {regno});
    if (!r.next())
        return u"<no row>"_s;
    const QHash<QString, QString> values = {
        {u"ORG_NAME"_s, u"Varada University, Suvarnapura"_s},
        {u"ACADEMIC_COURSE_ID"_s, r.text(7)},
        {u"COURSE_NAME"_s, r.text(6)},
        {u"COURSE_NAME_L"_s, r.text(7) == u"CRS-BSC"_s ? u"ಬಿ.ಎಸ್ಸಿ."_s : QString()},
        {u"STREAM"_s, r.text(8)},
        {u"STREAM_L"_s, r.text(8).isEmpty() ? QString() : u"ಭೌತಶಾಸ್ತ್ರ"_s},
        {u"SESSION"_s, r.text(5)},
        {u"REGN_NO"_s, regno},
        {u"RROLL"_s, regno},
        {u"CNAME"_s, r.text(0)},
        {u"CNAME_L"_s, u"ಆನಂದ್"_s},
        {u"GENDER"_s, r.text(1)},
        {u"DOB"_s, r.text(2)},
        {u"DOI"_s, r.date(3).toString(u"dd/MM/yyyy"_s)},
        {u"YEAR"_s, u"2025"_s},
        {u"MONTH"_s, u"APRIL"_s},
        {u"RESULT"_s, u"PASS"_s},
        {u"DIVISION"_s, u"FIRST CLASS"_s},
        {u"GRADE"_s, r.text(9) == u"T"_s ? u"FIRST CLASS"_s : QString()},
        {u"CERT_NO"_s, r.text(4)},
        {u"MRKS_REC_STATUS"_s, u"O"_s},
        {u"ABC_ACCOUNT_ID"_s, r.text(10)},
        {u"FILE_NAME"_s, u"DC_003_"_s + regno + u"_F_2025_1_signed.pdf"_s},
    };
    return values.value(column); // ORG_NAME_L, CGPA, REMARKS, AADHAAR_NAME, PHOTO: not held
}

TEST_P(DigiLockerTest, TheCsvHasARowPerSignedCertificateColumnByColumnAndTheZipItsCopies)
{
    printed(u"R0001"_s, u"BSC"_s, u"M"_s, u"01/02/2003"_s);
    printed(u"R0002"_s, u"MSCPH"_s, u"F"_s, u"28/02/2001"_s);
    add({u"R0003"_s, u"BSC"_s, u"C001"_s}); // not printed
    // One student's ABC ID entered, the other's not yet.
    m_session.db().exec(u"update convo set fabcid = '123456789012' where fregno = 'R0001'"_s);
    const QString zip = m_dir.filePath(u"upload.zip"_s);
    const sw::DigiLockerResult result = sw::DigiLockerExport(m_session).run(all(), zip);
    EXPECT_EQ(result.written, 2);
    EXPECT_TRUE(result.refused.empty()) << result.summary().toStdString();
    EXPECT_EQ(result.parts, QStringList{zip});
    EXPECT_TRUE(result.summary().startsWith(u"2 certificate(s) written to "_s + zip + u"; 0 refused."_s));

    const QJsonObject book = read({zip})[u"upload.zip"_s].toObject();
    EXPECT_TRUE(book[u"damaged"_s].isNull());
    EXPECT_EQ(book[u"names"_s].toArray(), (QJsonArray{u"DC_003_R0001_F_2025_1_signed.pdf"_s,
                                                      u"DC_003_R0002_F_2025_1_signed.pdf"_s, u"upload.csv"_s}));
    const QJsonArray header = book[u"header"_s].toArray();
    EXPECT_EQ(header.size(), sw::DigiLockerExport::defaultColumns().size());
    const QJsonArray rows = book[u"rows"_s].toArray();
    ASSERT_EQ(rows.size(), 2);
    for (const QJsonValue &row : rows) {
        const QString regno = row[u"REGN_NO"_s].toString();
        for (const QJsonValue &column : header) {
            const QString name = column.toString();
            EXPECT_EQ(row[name].toString(), expected(name, m_session.db(), regno))
                << regno.toStdString() << " " << name.toStdString();
        }
    }
    EXPECT_EQ(rows[0][u"ABC_ACCOUNT_ID"_s].toString(), u"123456789012"_s);
    EXPECT_EQ(rows[1][u"ABC_ACCOUNT_ID"_s].toString(), QString());
    // What was zipped is what was signed.
    QFile original(signedCopy(u"R0002"_s));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(book[u"bytes"_s][u"DC_003_R0002_F_2025_1_signed.pdf"_s].toString().toLatin1(),
              original.readAll().toHex());
}

// Each spoiled row is left out with its reason; the good one is written.
TEST_P(DigiLockerTest, RowsThatFailTheirChecksAreListedAndLeftOut)
{
    printed(u"R0001"_s, u"BSC"_s, u"M"_s, u"01/02/2003"_s);
    printed(u"R0002"_s, u"BSC"_s, u"X"_s, u"01/02/2003"_s);
    printed(u"R0003"_s, u"BSC"_s, u"F"_s, u"31/02/2003"_s);
    printed(u"R0004"_s, u"BSC"_s, u"F"_s, {}, false);
    printed(u"R0005"_s, u"BSC"_s, u"T"_s, {});
    spoilSignedCopy(u"R0005"_s, sw::test::Spoil::FlipSignedByte);
    printed(u"R0006"_s, u"MSCPH"_s, u"F"_s, {});
    m_session.db().exec(u"update degree set fcoursecode = '' where fdegree = 'MSCPH'"_s);
    // The depository needs a date of birth that can be one (hand-entered candidates had none).
    printed(u"R0007"_s, u"BSC"_s, u"M"_s, kNoDob);
    printed(u"R0008"_s, u"BSC"_s, u"M"_s, u"01/02/2020"_s);

    const QString zip = m_dir.filePath(u"upload.zip"_s);
    const sw::DigiLockerResult result = sw::DigiLockerExport(m_session).run(all(), zip);
    EXPECT_EQ(result.written, 1);
    const std::vector<std::pair<QString, QString>> reasons = {
        {u"R0002"_s, u"GENDER is \"X\", not M, F or T"_s},
        {u"R0003"_s, u"DOB \"31/02/2003\" is not a date dd/mm/yyyy"_s},
        {u"R0004"_s, u"no signed copy DC_003_R0004_F_2025_1_signed.pdf in CSV/DCPDF"_s},
        {u"R0005"_s, u"the signature of DC_003_R0005_F_2025_1_signed.pdf is not valid: the document was changed "
                     "after it was signed"_s},
        {u"R0007"_s, u"DOB is empty"_s},
        {u"R0008"_s, u"DOB \"01/02/2020\" is not a possible date of birth for a certificate issued on "_s},
        {u"R0006"_s, u"ACADEMIC_COURSE_ID is empty"_s}};
    ASSERT_EQ(result.refused.size(), reasons.size()) << result.summary().toStdString();
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        EXPECT_EQ(result.refused[i].regno, reasons[i].first);
        EXPECT_TRUE(result.refused[i].reason.startsWith(reasons[i].second)) << result.refused[i].reason.toStdString();
    }
    EXPECT_TRUE(result.summary().contains(u"; 7 refused:\n  R0002 (DCR0002): GENDER"_s))
        << result.summary().toStdString();
    const QJsonArray rows = read({zip})[u"upload.zip"_s][u"rows"_s].toArray();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][u"REGN_NO"_s], u"R0001"_s);
}

// Two degrees of one candidate in one year: their copies have one name, and the second
// row would overwrite the first's PDF in the upload.
TEST_P(DigiLockerTest, ASecondRowWithTheSameFileNameIsRefused)
{
    printed(u"R0001"_s, u"BSC"_s, u"M"_s, {});
    add({u"R0001"_s, u"MSCPH"_s, u"C001"_s, u"DCR0001B"_s});
    m_session.db().exec(u"update convo set fsex = 'M', fdob = '15/06/2003' where fregno = 'R0001'"_s);
    const sw::DigiLockerResult result = sw::DigiLockerExport(m_session).run(all(), m_dir.filePath(u"upload.zip"_s));
    EXPECT_EQ(result.written, 1);
    ASSERT_EQ(result.refused.size(), 1u) << result.summary().toStdString();
    EXPECT_EQ(result.refused[0].certNo, u"DCR0001B"_s);
    EXPECT_EQ(result.refused[0].reason, u"an earlier row has the same file name DC_003_R0001_F_2025_1_signed.pdf"_s);
}

TEST_P(DigiLockerTest, ZipPartsStayUnderTheLimitAndEachHoldsTheCsvOfItsOwnRows)
{
    QStringList regnos;
    for (int i = 1; i <= 5; ++i) {
        regnos.append(u"R000"_s + QString::number(i));
        printed(regnos.back(), u"BSC"_s, u"M"_s, {});
    }
    const qint64 copySize = QFileInfo(signedCopy(u"R0001"_s)).size();
    const qint64 limit = copySize * 2 + 3000; // two copies and their rows fit, three do not
    const QString zip = m_dir.filePath(u"upload.zip"_s);
    const sw::DigiLockerResult result = sw::DigiLockerExport(m_session).run(all(), zip, limit);
    EXPECT_EQ(result.written, 5);
    ASSERT_EQ(result.parts.size(), 3) << result.summary().toStdString();
    EXPECT_EQ(QFileInfo(result.parts[0]).fileName(), u"upload_part1.zip"_s);
    const QJsonObject parts = read(result.parts);
    QStringList seen;
    for (const QString &part : result.parts) {
        const QJsonObject p = parts[QFileInfo(part).fileName()].toObject();
        EXPECT_LE(p[u"size"_s].toInteger(), limit) << part.toStdString();
        EXPECT_EQ(p[u"table"_s].toString(), QFileInfo(part).completeBaseName() + u".csv"_s);
        QStringList pdfs;
        for (const QJsonValue &name : p[u"names"_s].toArray()) {
            if (name.toString().endsWith(u".pdf"_s))
                pdfs.append(name.toString());
        }
        QStringList listed;
        for (const QJsonValue &row : p[u"rows"_s].toArray()) {
            listed.append(row[u"FILE_NAME"_s].toString());
            seen.append(row[u"REGN_NO"_s].toString());
        }
        EXPECT_EQ(pdfs, listed) << part.toStdString();
    }
    EXPECT_EQ(seen, regnos);

    const sw::DigiLockerResult tooSmall = sw::DigiLockerExport(m_session).run(all(), zip, copySize / 2);
    EXPECT_EQ(tooSmall.written, 0);
    EXPECT_TRUE(tooSmall.parts.isEmpty());
    ASSERT_EQ(tooSmall.refused.size(), 5u);
    EXPECT_TRUE(tooSmall.refused[0].reason.startsWith(u"the signed copy is larger than an upload file may be"_s));
}

// The template an institution downloads decides the columns and their order; a header
// that names a column twice is refused before anything is written.
TEST_P(DigiLockerTest, TheColumnsComeFromTheTemplateInTheApplicationFolder)
{
    printed(u"R0001"_s, u"BSC"_s, u"M"_s, {});
    const QString templatePath = m_session.folder.filePath(u"DigiLocker.csv"_s);
    ASSERT_TRUE(sw::test::writeBytes(templatePath, "\xEF\xBB\xBF"
                                                   "CERT_NO, cname_l ,DOC_TYPE,NOT_OURS,REGN_NO\r\n"));
    const QString zip = m_dir.filePath(u"upload.zip"_s);
    ASSERT_EQ(sw::DigiLockerExport(m_session).run(all(), zip).written, 1);
    const QJsonObject book = read({zip})[u"upload.zip"_s].toObject();
    EXPECT_EQ(book[u"header"_s].toArray(),
              (QJsonArray{u"CERT_NO"_s, u"CNAME_L"_s, u"DOC_TYPE"_s, u"NOT_OURS"_s, u"REGN_NO"_s}));
    const QJsonObject row = book[u"rows"_s].toArray()[0].toObject();
    EXPECT_EQ(row[u"CNAME_L"_s], u"ಆನಂದ್"_s);
    EXPECT_EQ(row[u"DOC_TYPE"_s], u"DGCER"_s);
    EXPECT_EQ(row[u"NOT_OURS"_s], u""_s);
    // Without a file-name column the copies keep their own names.
    EXPECT_TRUE(book[u"names"_s].toArray().contains(u"DC_003_R0001_F_2025_1_signed.pdf"_s));

    ASSERT_TRUE(sw::test::writeBytes(templatePath, "REGN_NO,CNAME,REGN_NO\n"));
    const QString refused =
        sw::test::stopText([&] { sw::DigiLockerExport(m_session).run(all(), m_dir.filePath(u"other.zip"_s)); });
    EXPECT_TRUE(refused.endsWith(u", line 1: the column REGN_NO is named twice."_s)) << refused.toStdString();
    EXPECT_FALSE(QFile::exists(m_dir.filePath(u"other.zip"_s)));
}

// The CDSL row names the signed copy for 003: one that is there and not valid keeps
// the certificate out, with the reason in the list beside the workbook.
TEST_P(DigiLockerTest, CdslLeavesOutACertificateWhoseSignedCopyIsNotValid)
{
    m_session.db().exec(u"update control set fnadid = 'NAD000123'"_s);
    m_session.db().exec(u"update degree set feventid = 'EV1'"_s);
    printed(u"R0001"_s, u"BSC"_s, u"M"_s, {});
    printed(u"R0002"_s, u"BSC"_s, u"M"_s, {});
    spoilSignedCopy(u"R0002"_s, sw::test::Spoil::AppendUpdate);
    sw::NadExport run(m_session);
    const QString book = m_dir.filePath(u"nad.xlsx"_s);
    EXPECT_EQ(run.Gen_NAD_Report_CDSL(all(), book), 1);
    ASSERT_EQ(run.missingCopies().size(), 1u);
    EXPECT_EQ(run.missingCopies()[0].regno, u"R0002"_s);
    EXPECT_TRUE(run.missingCopies()[0].reason.startsWith(u"signature not valid: the document was changed"_s));
    EXPECT_TRUE(run.missingMessage(book).startsWith(
        u"1 certificate(s) left out: the signed copy's signature is not valid (R0002)."_s))
        << run.missingMessage(book).toStdString();
    const QStringList list = readLines(sw::NadExport::missingListPath(book));
    EXPECT_TRUE(
        list.value(1).startsWith(u"R0002,BSC,C001,DCR0002,DC_003_R0002_F_2025_1_signed.pdf,signature not valid"_s))
        << list.value(1).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, DigiLockerTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
