// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/online/portalschema.h"

#include "shell/db/database.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw::portalschema {

QStringList createStatements()
{
    return {
        u"CREATE TABLE IF NOT EXISTS dctran ("
        "fappno VARCHAR(10) NOT NULL PRIMARY KEY, fregno VARCHAR(10), fname VARCHAR(100), fdob VARCHAR(20), "
        "fmobile VARCHAR(10), femail VARCHAR(100), fpostaddr1 VARCHAR(50), fpostaddr2 VARCHAR(50), "
        "fpostaddr3 VARCHAR(50), fpostaddr4 VARCHAR(50), famount DECIMAL(12,2), fphotopath VARCHAR(200), "
        "fregdate DATETIME, fregip VARCHAR(20), fpaytype VARCHAR(50), fpaystatus VARCHAR(50), fpaydate VARCHAR(50), "
        "ftranid VARCHAR(100), fcatpath VARCHAR(200), freccer VARCHAR(20), fscheme VARCHAR(20), fcity VARCHAR(100), "
        "fstate VARCHAR(100), fpincode VARCHAR(20), KEY ix_dctran_regno (fregno)"
        ") CHARACTER SET latin1"_s,
        u"CREATE TABLE IF NOT EXISTS dcstud ("
        "fregno VARCHAR(10), fname VARCHAR(100), fcollcode VARCHAR(5), fdegree VARCHAR(5), fcaste VARCHAR(20), "
        "fcnvno VARCHAR(4), fcertno VARCHAR(20), fcertdate VARCHAR(10), fclass VARCHAR(100), fcyear VARCHAR(4), fcexam "
        "VARCHAR(100), "
        "ftotmax VARCHAR(10), ftotsec VARCHAR(10), fdeleted VARCHAR(1), KEY ix_dcstud_regno (fregno)"
        ") CHARACTER SET latin1"_s,
    };
}

int columnWidth(const QString &table, const QString &column)
{
    static const QRegularExpression definition(u"\\b(\\w+) VARCHAR\\((\\d+)\\)"_s);
    const QString head = u"CREATE TABLE IF NOT EXISTS "_s + table.toLower() + u" ("_s;
    for (const QString &statement : createStatements()) {
        if (!statement.startsWith(head))
            continue;
        for (auto it = definition.globalMatch(statement); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(1).compare(column, Qt::CaseInsensitive) == 0)
                return m.captured(2).toInt();
        }
    }
    return 0;
}

void create(Database &portal)
{
    for (const QString &statement : createStatements())
        portal.exec(statement);
}

void createDatabase(Database &server, const QString &name)
{
    static const QRegularExpression plain(u"^[A-Za-z0-9_]{1,64}$"_s);
    if (!plain.match(name).hasMatch())
        throw DbError(DbErrorKind::CommandText, {},
                      u"The database name \""_s + name + u"\" may hold only letters, digits and underscores."_s);
    // A name cannot be a bound value; it was checked above.
    server.exec(u"CREATE DATABASE IF NOT EXISTS `"_s + name + u"` CHARACTER SET latin1"_s);
    server.exec(u"USE `"_s + name + u'`');
}

} // namespace sw::portalschema
