// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Master rows and candidates the entry, search and gate tests share.
#include "shell/core/passwordcodec.h"
#include "shell/db/database.h"
#include "support/testdatabase.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace sw::test {

// The codes the candidates name: university U1, degrees BA and BSC, colleges 101-103, class FC.
inline void seedCodes(Database &db)
{
    using namespace Qt::StringLiterals;
    db.exec(u"insert into masuniv (funivcode, funivname) values ('U1', 'Varada University')"_s);
    db.exec(
        u"insert into degree (fdegree, fdescpn) values ('BA', 'Bachelor of Arts'), ('BSC', 'Bachelor of Science')"_s);
    db.exec(u"insert into college (fcollcode, fcollname) values ('101', 'Govt College'), ('102', 'City College'), "
            "('103', 'Hill College')"_s);
    db.exec(u"insert into class (fclasscode, fclassdesc) values ('FC', 'First Class')"_s);
}

// The codes, convocations C26 and C25, and a clerk.
inline void seedMasters(Database &db)
{
    using namespace Qt::StringLiterals;
    seedCodes(db);
    db.exec(u"insert into masconvo (fconvocode, fconvoname) values ('C26', 'Convocation 2026'), "
            "('C25', 'Convocation 2025')"_s);
    // A clerk with every menu item but the administrator's.
    db.exec(u"insert into masuser (fusername, fpasswd, fpermission, fsection) values (?, ?, ?, ?)"_s,
            {u"CLERK"_s, passwords::encodeUser(u"clerk"_s), u"N2*N22*N23*N27*N2E*"_s, u"A"_s});
}

// An installed folder of each backend seeded with the masters above; `as` gives the
// command-line arguments of a user logged in on C26 (the clerk unless named).
class SeededFolderTest : public InstalledFolderTest
{
protected:
    void SetUp() override
    {
        InstalledFolderTest::SetUp();
        if (IsSkipped())
            return;
        seedMasters(*m_db);
    }
    QStringList as(const QString &user = QStringLiteral("CLERK"),
                   const QString &password = QStringLiteral("clerk")) const
    {
        return {QStringLiteral("--folder"),   m_folder->folder().root(),
                QStringLiteral("--user"),     user,
                QStringLiteral("--password"), password,
                QStringLiteral("--convo"),    QStringLiteral("C26")};
    }
};

// A candidate of C26 with sensible values; `overrides` replaces any column.
inline void insertCandidate(Database &db, const QString &regno, const QMap<QString, QString> &overrides = {})
{
    using namespace Qt::StringLiterals;
    QMap<QString, QString> v = {
        {u"fregno"_s, regno},       {u"fname"_s, u"Name "_s + regno},  {u"fdegree"_s, u"BA"_s},
        {u"fcollcode"_s, u"101"_s}, {u"fclasscode"_s, u"FC"_s},        {u"fsex"_s, u"F"_s},
        {u"fyear"_s, u"2025"_s},    {u"fexamdate"_s, u"APRIL 2025"_s}, {u"factive"_s, u"F"_s},
        {u"fmanual"_s, u"F"_s},     {u"fconvocode"_s, u"C26"_s},       {u"funivcode"_s, u"U1"_s}};
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        v.insert(it.key(), it.value());
    QString placeholders;
    QVariantList params;
    for (auto it = v.cbegin(); it != v.cend(); ++it) {
        placeholders += placeholders.isEmpty() ? u"?"_s : u", ?"_s;
        params << (it.value().isNull() ? Database::nullText() : QVariant(it.value()));
    }
    db.exec(u"insert into convo ("_s + v.keys().join(u", "_s) + u") values ("_s + placeholders + u')', params);
}

} // namespace sw::test
