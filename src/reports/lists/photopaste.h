// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/database.h"
#include "shell/document/document.h"

#include <QString>

#include <optional>

namespace sw {

class Prompter;
class Session;

// What the photo paste screen selects: degree, college and register-number ranges.
struct PhotoPasteSelection
{
    QString fromDegree;
    QString toDegree;
    QString fromCollege;
    QString toCollege;
    QString fromRegno;
    QString toRegno;
    bool freshOnly = false;  // "&Fresh only": candidates not yet marked as pasted
    bool update = false;     // "&Update": mark the candidates of the sheet as pasted
    bool activeOnly = false; // "&Active only"

    // Blank first fields mean the whole range.
    void normaliseRanges();
};

// The sheet of boxes on which the candidates' photographs are pasted: four boxes
// across, each with the register number, print serial number and name beneath it.
class PhotoPasteSheet
{
public:
    PhotoPasteSheet(Session &session, Prompter &prompter);

    // The sheet; nullopt when no candidate is in the ranges ("No records found").
    std::optional<Document> compose(const PhotoPasteSelection &selection);
    // Marks the candidates of the ranges as pasted; returns how many were marked.
    int markPasted(const PhotoPasteSelection &selection);

    // The whole run: the sheet written as an OpenDocument text under Output/ (and as
    // a PDF too when `pdfPath` is given), then the marking when asked for. Returns the
    // .odt's path, or an empty text when there was nothing to put on it. (Gen_Report_Data)
    QString photoSheet(const PhotoPasteSelection &selection, const QString &pdfPath = {});

    // Institution 027's sheet, a workbook under Output/: boxes and names in columns A
    // to G, the college in the page header. Returns its path, or an empty text when
    // there was nothing to put on it; marks the candidates when asked, as above.
    // (Gen_Report_Data_Excel)
    QString photoWorkbook(const PhotoPasteSelection &selection);

    // The sheet this institution uses: the workbook for 027, the document for the rest.
    QString run(const PhotoPasteSelection &selection, const QString &pdfPath = {});

private:
    QString restrictions(const PhotoPasteSelection &selection, QVariantList &params) const;
    std::optional<Rows> candidates(const PhotoPasteSelection &selection);

    Session &m_session;
    Prompter &m_prompter;
};

} // namespace sw
