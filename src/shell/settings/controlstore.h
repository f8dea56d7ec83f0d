// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/sqldialect.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <array>

namespace sw {

class Database;
class Prompter;

// The institution's details kept in the one settings row: name and address for
// report headers, contacts, the two signing authorities, the date printed on
// certificates and whether degree descriptions are printed in Kannada.
struct InstitutionDetails
{
    QString company;
    std::array<QString, 4> address;
    QString phone;
    QString fax;
    QString email;
    QString signingAuthority1;
    QString signingAuthority2;
    QDate convocationDate; // null: none
    bool degreeInKannada = false;
    // Kept by the installer and the administrator, never by the settings screen:
    QString unitCode;       // funitcode; a blank when none is set
    QString depositoryId;   // fnadid, the institution's id at the depository
    bool rowExists = false; // false: the table is empty and these are blanks
};

// The screen appearance of the settings row, as "&H" colours, font and size.
// Default-constructed: the settings dialog's "Default" values.
struct AppearanceSettings
{
    QString fieldColour = QStringLiteral("&HFFFFFF");       // FTDCOL
    QString onlineFieldColour = QStringLiteral("&HC0FFFF"); // FTOCOL, fields being edited
    QString screenColour = QStringLiteral("&H808000");      // FSCOL
    QString font = QStringLiteral("Tahoma");                // FFONT
    QString fontSize = QStringLiteral("8");                 // FFONTSIZE
    QString fontColour = QStringLiteral("&H80000008");      // FFONTCOL
    QString labelColour = QStringLiteral("&HFFFFFF");       // FLBFONTCOL

    // What the screens paint with where a column is null: the settings rows of the
    // installed base leave some columns null and have always looked like this.
    static AppearanceSettings whenNull();

    bool operator==(const AppearanceSettings &) const = default;
};

// The only reader and writer of the one settings row (table control).
class ControlStore
{
public:
    explicit ControlStore(Database &db);
    // The settings row as the institution screen browses it.
    static BoundSql browseStatement(const Database &db);
    // The logged-in user, whom the audit trail names for every change.
    void setActor(const QString &user) { m_actor = user; }

    // The program version the database was last set up or upgraded by; empty when the
    // row is missing. Throws DbError (MissingTable) where the table is missing, which
    // is how a connection is told to hold no database of this program.
    QString version() const;
    // Writes the first settings row (fcompany the maker's name) when there is none; true when
    // it did. A null code or version is left null.
    bool ensureRow(const QVariant &unitCode = {}, const QVariant &version = {});
    // Holds the row until the caller's transaction ends (an update, which every
    // backend holds until commit or rollback): what two workstations must not do at
    // once, each does after this. False when there is no row, so nothing is held.
    bool lockRow();
    // The installer's institution code, written to the existing row.
    void setUnitCode(const QString &unitCode);

    InstitutionDetails institution() const;
    // "Information should be entered" for a missing name or first address line;
    // inserts the row when the table is empty, else updates every row.
    bool saveInstitution(const InstitutionDetails &details, Prompter &prompter);

    // A null column reads as the same member of `whenNull` (the dialog shows its own
    // defaults; the screens are painted with AppearanceSettings::whenNull()).
    AppearanceSettings appearance(const AppearanceSettings &whenNull = AppearanceSettings{}) const;
    // Refuses a colour that is not "&H" notation and a size that is not a number.
    bool saveAppearance(const AppearanceSettings &settings, Prompter &prompter);
    // Writes the defaults at once, as the dialog's "Default" button does.
    void restoreDefaultAppearance();

private:
    Database &m_db;
    QString m_actor;
};

} // namespace sw
