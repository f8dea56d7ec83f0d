// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

class Session;

// Keeps the folders of sheets and PDF copies down to what is valid. When a sheet is
// registered spoiled or cancelled, its files leave the folder where the valid ones
// stay for the subfolder Spoiled/ or Cancelled/ of that folder:
//  - the sheet written instead of printed (CERTNO_REGNO.pdf in the sheets folder), and
//  - the PDF copy of the certificate taken back (CSV/DCPDF/DC_..._<regno>_...pdf and
//    its signed copy), renamed with the number it carried, since the candidate's next
//    copy takes the same name.
// A clerk who opens either folder sees only sheets and copies that are valid.
//
// Use: note() each number while its holder still holds it (before the register
// changes), then moveAside() once the change is committed. Nothing is moved for a
// change that was not committed.
class InvalidSheetFiles
{
public:
    enum class Why { Spoiled, Cancelled };

    // `sheetsFolder`: where this workstation writes sheets instead of printing them;
    // empty for the folder remembered by the printing screen.
    InvalidSheetFiles(const Session &session, Why why, QString sheetsFolder = {});

    static QString subfolderName(Why why);

    // The sheet with this number, and the PDF copy of the candidate who holds it now.
    void note(const QString &certNo);
    // The sheet with this number only (its holder, if any, keeps no copy of it).
    void noteSheet(const QString &certNo);

    // Moves the noted files; one line for each file moved, or that could not be moved
    // (the register stands either way: a file left behind is named, never lost).
    struct Moved
    {
        QStringList moved;
        QStringList failed;
        QStringList lines() const { return moved + failed; }
    };
    Moved moveAside();

    // Moves one file into the subfolder of its own folder, as `newName` when given,
    // and adds the line that says so to `into`; nothing when there is no such file.
    static void moveIntoSubfolder(const QString &path, Why why, Moved &into, const QString &newName = {});

private:
    struct Noted
    {
        QString certNo;
        QString copyPath; // empty: no copy to move
    };
    const Session &m_session;
    Why m_why;
    QString m_sheetsFolder;
    std::vector<Noted> m_noted;
};

} // namespace sw
