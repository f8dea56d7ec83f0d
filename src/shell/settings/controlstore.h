// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

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
    QDate convocationDate;   // null: none
    bool degreeInKannada = false;
};

// The screen appearance of the settings row, as "&H" colours, font and size.
struct AppearanceSettings
{
    QString fieldColour = QStringLiteral("&HFFFFFF");       // FTDCOL
    QString onlineFieldColour = QStringLiteral("&HC0FFFF"); // FTOCOL
    QString screenColour = QStringLiteral("&H808000");      // FSCOL
    QString font = QStringLiteral("Tahoma");                // FFONT
    QString fontSize = QStringLiteral("8");                 // FFONTSIZE
    QString fontColour = QStringLiteral("&H80000008");      // FFONTCOL
    QString labelColour = QStringLiteral("&HFFFFFF");       // FLBFONTCOL

    bool operator==(const AppearanceSettings &) const = default;
};

// Reads and writes the settings row. The institution code and the version stamp
// are never touched here.
class ControlStore
{
public:
    explicit ControlStore(Database &db);
    // The logged-in user, whom the audit trail names for every change.
    void setActor(const QString &user) { m_actor = user; }

    InstitutionDetails institution() const;
    // "Information should be entered" for a missing name or first address line;
    // inserts the row when the table is empty, else updates every row.
    bool saveInstitution(const InstitutionDetails &details, Prompter &prompter);

    // Nulls read as the dialog's defaults.
    AppearanceSettings appearance() const;
    // Refuses a colour that is not "&H" notation and a size that is not a number.
    bool saveAppearance(const AppearanceSettings &settings, Prompter &prompter);
    // Writes the defaults at once, as the dialog's "Default" button does.
    void restoreDefaultAppearance();

private:
    Database &m_db;
    QString m_actor;
};

} // namespace sw
