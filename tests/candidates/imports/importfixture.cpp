// SPDX-License-Identifier: GPL-3.0-or-later
#include "importfixture.h"

#include "shell/core/csvreader.h"
#include "shell/core/importtally.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace sw::test {

QStringList StuRow::values() const
{
    return {regno, name,  degree,     subdegree, college, classDesc, examDate, year,  examType,
            sex,   caste, classShort, cexam,     father,  mother,    cyear,    clmax, clsec};
}

void expectCounts(const ImportCounts &c, const std::array<int, 6> &expected)
{
    EXPECT_EQ((std::array{c.total, c.inserted, c.refreshed, c.frozen, c.skipped, c.rejected}), expected);
    EXPECT_EQ(c.accounted(), c.total);
}

void writeStuFile(const QString &path, const std::vector<StuRow> &rows, bool directoryFields)
{
    QDir().mkpath(QFileInfo(path).path());
    CnvWriter writer(path, CnvWriter::candidateFields(directoryFields));
    for (const StuRow &r : rows)
        writer.add(r.values());
}

QString columns(const std::map<QString, QString> &row, const QStringList &names)
{
    QStringList out;
    for (const QString &name : names) {
        const auto it = row.find(name);
        out << (it == row.end() ? u"?"_s : it->second);
    }
    return out.join(u'|');
}

void ImportTest::SetUp()
{
    if (!backendAvailable(GetParam()))
        return;
    m_folder = std::make_unique<InstalledFolder>(GetParam());
    m_session.folder = m_folder->folder();
    m_session.cn = m_folder->connect();
    m_session.instCode = u"003"_s;
    m_session.userName = u"CLERK"_s;
    m_session.convoCode = u"C26"_s;
    for (const QString &degree : {u"BA"_s, u"BSC"_s, u"BSCCS"_s, u"BCOM"_s, u"MA"_s, u"MSC"_s})
        m_session.db().exec(u"insert into degree (fdegree, fdescpn) values (?, ?)"_s, {degree, degree});
    for (const QString &college : {u"C01"_s, u"C02"_s, u"C09"_s, u"AC01"_s, u"X"_s})
        m_session.db().exec(u"insert into college (fcollcode, fcollname) values (?, ?)"_s, {college, college});
}

std::vector<QStringList> ImportTest::rejectFile(const QString &input)
{
    std::vector<QStringList> out;
    const CsvReader::Result read = CsvReader::readFile(RejectFile::pathBeside(input));
    for (const CsvRecord &r : read.records)
        out.push_back(r.fields);
    return out;
}

QString ImportTest::writeStu(const QString &name, const std::vector<StuRow> &rows, bool directoryFields) const
{
    const QString path = inputPath(name);
    writeStuFile(path, rows, directoryFields);
    return path;
}

QString ImportTest::writeMaster(const QString &name, const std::vector<QStringList> &rows, bool degrees,
                                bool withTown) const
{
    const QString path = inputPath(name);
    CnvWriter writer(path, degrees ? CnvWriter::degreeFields() : CnvWriter::collegeFields(withTown));
    for (const QStringList &r : rows)
        writer.add(r);
    return path;
}

std::map<QString, QString> ImportTest::candidate(const QString &regno, const QString &degree, const QString &college,
                                                 const QString &convo) const
{
    QString sql = u"select * from convo where fregno = ? and fdegree = ? and fcollcode = ?"_s;
    QVariantList params{regno, degree, college};
    if (!convo.isEmpty()) {
        sql += u" and fconvocode = ?"_s;
        params << convo;
    }
    Rows rows = m_session.db().query(sql, params);
    std::map<QString, QString> out;
    if (!rows.next())
        return out;
    const QSqlRecord record = rows.query().record();
    for (int i = 0; i < record.count(); ++i)
        out[record.fieldName(i).toLower()] = rows.text(i);
    return out;
}

int ImportTest::count(const QString &sql, const QVariantList &params) const
{
    return m_session.db().scalar(sql, params).toInt();
}

void ImportTest::addCandidate(const QString &regno, const QString &name, const QString &convo, const QString &degree)
{
    m_session.db().exec(
        u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values (?, ?, ?, 'C01', ?)"_s,
        {regno, name, degree, convo});
}

void ImportTest::print(const QString &regno, const QString &certNo)
{
    m_session.db().exec(u"update convo set fcertno = ? where fregno = ?"_s, {certNo, regno});
}

} // namespace sw::test
