// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/settings/controlstore.h"
#include "shell/core/dates.h"
#include "shell/core/legacytext.h"
#include "shell/core/maker.h"

#include "shell/audit/audittrail.h"
#include "shell/common/appearance.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/db/schema.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QVariant dateOrNull(const QDate &date)
{
    return date.isValid() ? QVariant(date.startOfDay()) : QVariant(QMetaType(QMetaType::QDateTime));
}

} // namespace

BoundSql ControlStore::browseStatement(const Database &db)
{
    return {u"select * from "_s + db.table(u"CONTROL"_s) + u" order by fcompany"_s, {}};
}

ControlStore::ControlStore(Database &db)
    : m_db(db)
{
}

InstitutionDetails ControlStore::institution() const
{
    InstitutionDetails d;
    Rows rows = m_db.query(u"select fcompany, fadd1, fadd2, fadd3, fadd4, fphone, ffax, femail, fsignauth1, "
                           "fsignauth2, fconvdate, fdegkan, funitcode, fnadid from "_s
                           + m_db.table(u"CONTROL"_s) + u" order by fcompany"_s);
    if (!rows.next())
        return d;
    d.rowExists = true;
    d.unitCode = rows.value(12).isNull() ? u" "_s : rows.text(12);
    d.depositoryId = rows.text(13).trimmed();
    d.company = rows.text(0);
    for (int i = 0; i < 4; ++i)
        d.address[size_t(i)] = rows.text(1 + i);
    d.phone = rows.text(5);
    d.fax = rows.text(6);
    d.email = rows.text(7);
    d.signingAuthority1 = rows.text(8);
    d.signingAuthority2 = rows.text(9);
    d.convocationDate = rows.date(u"fconvdate"_s);
    d.degreeInKannada = rows.text(11).trimmed() == u"T"_s;
    return d;
}

namespace {
// The settings as the audit trail shows them, column by column.
std::vector<std::pair<QString, QString>> auditValues(const InstitutionDetails &d)
{
    return {{u"fcompany"_s, d.company},
            {u"fadd1"_s, d.address[0]},
            {u"fadd2"_s, d.address[1]},
            {u"fadd3"_s, d.address[2]},
            {u"fadd4"_s, d.address[3]},
            {u"fphone"_s, d.phone},
            {u"ffax"_s, d.fax},
            {u"femail"_s, d.email},
            {u"fsignauth1"_s, d.signingAuthority1},
            {u"fsignauth2"_s, d.signingAuthority2},
            {u"fconvdate"_s, formatDmy(d.convocationDate)},
            {u"fdegkan"_s, d.degreeInKannada ? u"T"_s : u"F"_s}};
}

std::vector<std::pair<QString, QString>> auditValues(const AppearanceSettings &s)
{
    return {{u"ftdcol"_s, s.fieldColour},    {u"ftocol"_s, s.onlineFieldColour},     {u"fscol"_s, s.screenColour},
            {u"ffont"_s, s.font.trimmed()},  {u"ffontsize"_s, s.fontSize.trimmed()}, {u"ffontcol"_s, s.fontColour},
            {u"flbfontcol"_s, s.labelColour}};
}
} // namespace

bool ControlStore::saveInstitution(const InstitutionDetails &d, Prompter &prompter)
{
    if (d.company.trimmed().isEmpty() || d.address[0].trimmed().isEmpty()) {
        prompter.message(u"Information should be entered"_s, u"Message"_s, PromptIcon::Information);
        return false;
    }
    // Each text is held to its column's width here, so every backend refuses alike.
    const std::pair<QString, QString> texts[] = {{u"FCOMPANY"_s, d.company},
                                                 {u"FADD1"_s, d.address[0]},
                                                 {u"FADD2"_s, d.address[1]},
                                                 {u"FADD3"_s, d.address[2]},
                                                 {u"FADD4"_s, d.address[3]},
                                                 {u"FPHONE"_s, d.phone},
                                                 {u"FFAX"_s, d.fax},
                                                 {u"FEMAIL"_s, d.email},
                                                 {u"FSIGNAUTH1"_s, d.signingAuthority1},
                                                 {u"FSIGNAUTH2"_s, d.signingAuthority2}};
    for (const auto &[column, text] : texts) {
        const int width = schema::columnWidth(u"CONTROL"_s, column);
        if (legacytext::storedText(text).size() > width) {
            prompter.message(u"%1 holds %2 characters; at most %3 are kept."_s.arg(column.toLower())
                                 .arg(legacytext::storedText(text).size())
                                 .arg(width),
                             u"Message"_s, PromptIcon::Exclamation);
            return false;
        }
    }
    const QVariantList values{legacytext::storedText(d.company),
                              legacytext::storedText(d.address[0]),
                              legacytext::storedText(d.address[1]),
                              legacytext::storedText(d.address[2]),
                              legacytext::storedText(d.address[3]),
                              legacytext::storedText(d.phone),
                              legacytext::storedText(d.fax),
                              legacytext::storedText(d.email),
                              legacytext::storedText(d.signingAuthority1),
                              legacytext::storedText(d.signingAuthority2),
                              dateOrNull(d.convocationDate),
                              d.degreeInKannada ? u"T"_s : u"F"_s};
    const QString table = m_db.table(u"CONTROL"_s);
    const InstitutionDetails before = institution();
    try {
        WriteScope scope(m_db);
        if (m_db.scalar(u"select count(*) from "_s + table).toInt() == 0)
            m_db.exec(u"insert into "_s + table
                          + u" (fcompany, fadd1, fadd2, fadd3, fadd4, fphone, ffax, femail, fsignauth1, fsignauth2, "
                            "fconvdate, fdegkan) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                      values);
        else
            m_db.exec(u"update "_s + table
                          + u" set fcompany = ?, fadd1 = ?, fadd2 = ?, fadd3 = ?, fadd4 = ?, fphone = ?, ffax = ?, "
                            "femail = ?, fsignauth1 = ?, fsignauth2 = ?, fconvdate = ?, fdegkan = ?"_s,
                      values);
        InstitutionDetails stored = d;
        for (QString *text :
             {&stored.company, &stored.address[0], &stored.address[1], &stored.address[2], &stored.address[3],
              &stored.phone, &stored.fax, &stored.email, &stored.signingAuthority1, &stored.signingAuthority2})
            *text = legacytext::storedText(*text);
        const auto [was, now] = AuditTrail::difference(auditValues(before), auditValues(stored));
        AuditTrail(m_db).record(m_actor, {u"settings"_s, u"edit"_s, u"control"_s, {}, was, now});
        scope.commit();
        return true;
    } catch (const DbError &error) {
        prompter.message(error.screenMessage(), u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
}

AppearanceSettings AppearanceSettings::whenNull()
{
    AppearanceSettings s;
    s.font = u"MS Sans Serif"_s;
    s.fontColour = u"&H808000"_s;
    return s;
}

QString ControlStore::version() const
{
    Rows rows = m_db.query(u"select fversion from "_s + m_db.table(u"CONTROL"_s));
    return rows.next() ? rows.text(0) : QString();
}

bool ControlStore::ensureRow(const QVariant &unitCode, const QVariant &version)
{
    const QString table = m_db.table(u"CONTROL"_s);
    if (m_db.exists(u"select 1 from "_s + table))
        return false;
    m_db.exec(u"insert into "_s + table + u" (funitcode, fcompany, fversion) values (?, ?, ?)"_s,
              {unitCode, makerName(), version});
    return true;
}

bool ControlStore::lockRow()
{
    const QString table = m_db.table(u"CONTROL"_s);
    m_db.exec(u"update "_s + table + u" set fversion = fversion"_s);
    return m_db.exists(u"select 1 from "_s + table);
}

void ControlStore::setUnitCode(const QString &unitCode)
{
    m_db.exec(u"update "_s + m_db.table(u"CONTROL"_s) + u" set funitcode = ?"_s, {unitCode});
}

AppearanceSettings ControlStore::appearance(const AppearanceSettings &whenNull) const
{
    AppearanceSettings s = whenNull;
    Rows rows = m_db.query(u"select ftdcol, ftocol, fscol, ffont, ffontsize, ffontcol, flbfontcol from "_s
                           + m_db.table(u"CONTROL"_s));
    if (!rows.next())
        return s;
    QString *fields[] = {&s.fieldColour, &s.onlineFieldColour, &s.screenColour, &s.font,
                         &s.fontSize,    &s.fontColour,        &s.labelColour};
    for (int i = 0; i < 7; ++i) {
        if (!rows.value(i).isNull())
            *fields[i] = rows.text(i);
    }
    return s;
}

bool ControlStore::saveAppearance(const AppearanceSettings &s, Prompter &prompter)
{
    const std::pair<QString, QString> colours[] = {{u"Fields (Default)"_s, s.fieldColour},
                                                   {u"Fields (Online)"_s, s.onlineFieldColour},
                                                   {u"Screen"_s, s.screenColour},
                                                   {u"Field Color"_s, s.fontColour},
                                                   {u"Label Color"_s, s.labelColour}};
    for (const auto &[label, value] : colours) {
        if (!colourFromBgrText(value).isValid()) {
            prompter.message(u"%1: \"%2\" is not a colour"_s.arg(label, value), u"Message"_s, PromptIcon::Exclamation);
            return false;
        }
    }
    bool number = false;
    const int size = s.fontSize.trimmed().toInt(&number);
    if (!number || size < 1 || size > 99 || s.font.trimmed().isEmpty() || s.font.size() > 30) {
        prompter.message(u"Size: \"%1\" with font \"%2\" is not a usable font"_s.arg(s.fontSize, s.font), u"Message"_s,
                         PromptIcon::Exclamation);
        return false;
    }
    const AppearanceSettings before = appearance();
    try {
        WriteScope scope(m_db);
        m_db.exec(
            u"update "_s + m_db.table(u"CONTROL"_s)
                + u" set ftdcol = ?, ftocol = ?, fscol = ?, ffont = ?, ffontsize = ?, ffontcol = ?, flbfontcol = ?"_s,
            {s.fieldColour, s.onlineFieldColour, s.screenColour, s.font.trimmed(), QString::number(size), s.fontColour,
             s.labelColour});
        AppearanceSettings stored = s;
        stored.fontSize = QString::number(size);
        const auto [was, now] = AuditTrail::difference(auditValues(before), auditValues(stored));
        AuditTrail(m_db).record(m_actor, {u"settings"_s, u"edit"_s, u"control"_s, {}, was, now});
        scope.commit();
        return true;
    } catch (const DbError &error) {
        prompter.message(error.screenMessage(), u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
}

void ControlStore::restoreDefaultAppearance()
{
    const AppearanceSettings d;
    const AppearanceSettings before = appearance();
    WriteScope scope(m_db);
    m_db.exec(u"update "_s + m_db.table(u"CONTROL"_s)
                  + u" set ftdcol = ?, ftocol = ?, fscol = ?, ffont = ?, ffontsize = ?, ffontcol = ?, flbfontcol = ?"_s,
              {d.fieldColour, d.onlineFieldColour, d.screenColour, d.font, d.fontSize, d.fontColour, d.labelColour});
    const auto [was, now] = AuditTrail::difference(auditValues(before), auditValues(d));
    AuditTrail(m_db).record(m_actor, {u"settings"_s, u"defaults"_s, u"control"_s, {}, was, now});
    scope.commit();
}

} // namespace sw
