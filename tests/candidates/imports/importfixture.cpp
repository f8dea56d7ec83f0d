// SPDX-License-Identifier: GPL-3.0-or-later
#include "importfixture.h"

#include "shell/core/inifile.h"
#include "shell/core/institutionconfig.h"
#include "shell/online/onlinelink.h"
#include "shell/online/portalschema.h"

#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace sw::test {

QStringList StuRow::values() const
{
    return {regno, name, degree, subdegree, college, classDesc, examDate, year, examType, sex, caste,
            classShort, cexam, father, mother, cyear, clmax, clsec};
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
}

QString ImportTest::writeStu(const QString &name, const std::vector<StuRow> &rows, bool directoryFields) const
{
    const QString path = inputPath(name);
    CnvWriter writer(path, CnvWriter::candidateFields(directoryFields));
    for (const StuRow &r : rows)
        writer.add(r.values());
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

void ImportTest::print(const QString &regno, const QString &certNo)
{
    m_session.db().exec(u"update convo set fcertno = ? where fregno = ?"_s, {certNo, regno});
}

TestPortal::TestPortal(const AppFolder &folder, const QString &code, const QString &title)
    : m_name(uniqueName(u"swportal"_s))
{
    const auto server = MariaDbServer::fromEnvironment();
    if (!server)
        throw std::runtime_error("no MariaDB server configured");
    m_db = OnlineLink::connect(u"QMYSQL"_s, server->hostPort, server->user, server->password, {});
    portalschema::createDatabase(*m_db, m_name);
    portalschema::create(*m_db);
    writeLink(folder, code, server->hostPort, server->user, server->password, m_name, title);
}

TestPortal::~TestPortal()
{
    try {
        m_db->exec(u"DROP DATABASE IF EXISTS `"_s + m_name + u'`');
    } catch (const DbError &) {
    }
}

void TestPortal::writeLink(const AppFolder &folder, const QString &code, const QString &server, const QString &user,
                           const QString &password, const QString &database, const QString &title)
{
    IniFile ini(folder.filePath(QString::fromLatin1(InstitutionConfig::kFileName)), IniFile::Encoding::Utf8);
    ini.load();
    ini.setValue(u"ONLINE"_s, u"SERVER"_s, server);
    const QString section = u"ONLINE "_s + code;
    ini.setValue(section, u"USER"_s, user);
    ini.setValue(section, u"PASSWORD"_s, password);
    ini.setValue(section, u"DATABASE"_s, database);
    ini.setValue(section, u"TITLE"_s, title);
    ini.save();
}

} // namespace sw::test
