// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/mastercodes.h"

#include "shell/db/database.h"
#include "shell/session.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

struct MasterTable
{
    const char16_t *table;
    const char16_t *code;
    const char16_t *description;
    const char16_t *invalid;
};

const MasterTable &tableOf(MasterCodes::Master master)
{
    static const MasterTable tables[] = {
        {u"degree", u"fdegree", u"fdescpn", u"Invalid Degree Code"},
        {u"college", u"fcollcode", u"fcollname", u"Invalid College Code"},
        {u"class", u"fclasscode", u"fclassdesc", u"Invalid Class Code"},
        {u"masuniv", u"funivcode", u"funivname", u"Invalid University Code"},
        {u"masconvo", u"fconvocode", u"fconvoname", u"Invalid Convocation Code"},
    };
    return tables[static_cast<int>(master)];
}

} // namespace

MasterCodes::MasterCodes(const Session &session)
    : m_session(session)
{
}

LookupRequest MasterCodes::lookup(Master master, const QString &condition, const QVariantList &params) const
{
    const MasterTable &t = tableOf(master);
    LookupRequest request;
    request.table = m_session.db().table(QString::fromUtf16(t.table));
    request.columns = QString::fromUtf16(t.code) + u", "_s + QString::fromUtf16(t.description);
    request.headings = {u"Code"_s, u"Description"_s};
    if (master == Master::Degree) {
        request.columns += u", fspecial"_s;
        request.headings << u"Speciality"_s;
    }
    request.condition = condition;
    request.params = params;
    return request;
}

LookupRequest MasterCodes::lookup(Master master, const LookupRequest &narrowing) const
{
    return lookup(master, narrowing.condition, narrowing.params);
}

std::optional<QString> MasterCodes::describe(Master master, const QString &code) const
{
    const MasterTable &t = tableOf(master);
    // Table and column names come from the table above, never from input.
    Rows rows = m_session.db().query(u"select "_s + QString::fromUtf16(t.description) + u" from "_s
                                         + m_session.db().table(QString::fromUtf16(t.table)) + u" where "_s
                                         + QString::fromUtf16(t.code) + u" = ?"_s,
                                     {code.trimmed()});
    if (!rows.next())
        return std::nullopt;
    return rows.text(0);
}

std::optional<QString> MasterCodes::degreeWithSpeciality(const QString &code) const
{
    Rows rows = m_session.db().query(u"select fdescpn, fspecial from "_s + m_session.db().table(u"degree"_s)
                                         + u" where fdegree = ?"_s,
                                     {code.trimmed()});
    if (!rows.next())
        return std::nullopt;
    const QString special = rows.text(1).trimmed();
    return special.isEmpty() ? rows.text(0) : rows.text(0) + u" ("_s + special + u')';
}

QString MasterCodes::invalidMessage(Master master) { return QString::fromUtf16(tableOf(master).invalid); }

CodeSource MasterCodes::source(Master master, std::function<LookupRequest()> narrowed) const
{
    CodeSource s;
    if (narrowed)
        s.lookup = [this, master, narrowed] { return lookup(master, narrowed()); };
    else
        s.lookup = [this, master] { return lookup(master); };
    s.describe = [this, master](const QString &code) { return describe(master, code); };
    s.invalidMessage = invalidMessage(master);
    return s;
}

LookupRequest withHeadings(LookupRequest request, const QStringList &headings)
{
    request.headings = headings;
    return request;
}

} // namespace sw
