// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/layouts/certificaterow.h"
#include "certificates/printing/printselection.h"
#include "shell/core/appfolder.h"
#include "shell/document/document.h"

#include <QString>
#include <vector>

namespace sw {

class Session;

// Positions typed in the "Top / Left" frame of the printing screen for one label
// of the designer layout (inches and points); an empty value keeps the file's.
struct LabelPlacement
{
    QString top;
    QString left;
    QString size;
};

// The certificates of institution 001 are designed, not programmed: each
// certificate type has a layout file Layouts/CONVO<type>.json in the application
// folder (the document JSON form, see documentjson.h) whose texts carry the
// fields {fregno}, {fname}, {fcollname}, {fdescpn}, {fyear}, {fclassdesc},
// {fspecial}, {fexamdate}, {fdate} and {fcertno}. The institution moves a text by
// editing the file; no new program is needed.
class DesignerLayout
{
public:
    enum Label { Name, RegNo, Class, Date, Speciality, LabelCount };

    // Reads the layout of certificate type `type` ("1".."4"); a missing or broken
    // file throws StopError naming it.
    DesignerLayout(const AppFolder &folder, const QString &type);

    static QString relativePath(const QString &type);
    // Writes starting layouts CONVO1..CONVO4 where none exist yet (new folders, the
    // demonstration folder); returns the files written. An institution then moves
    // the texts to fit its stationery.
    static QStringList writeStarterLayouts(const AppFolder &folder);

    // The text box that holds a label's field is moved and resized as placed.
    void place(Label label, const LabelPlacement &placement);
    // Where the layout file puts a label: top and left in inches, the font size in
    // points, as the "Top / Left" boxes show them; empty texts when no box holds it.
    LabelPlacement placement(Label label) const;
    // The fields the layout prints ("{fclassdesc}"), for the check before a run.
    QStringList fields() const;

    // The certificate of `row`. A box's text too long for its box is made smaller, to 8
    // points at the least, and wraps below that (see fitTextBox).
    Document compose(const CertificateRow &row, const QString &certNo) const;
    // The fields whose boxes the texts of `row` do not fit even at 8 points, for the check
    // before a run.
    QStringList overflows(const CertificateRow &row) const;

private:
    Document compose(const CertificateRow &row, const QString &certNo, QStringList *overflowing) const;
    void checkLaysOut(const QString &moved) const;

    Document m_template;
    QString m_path;
};

} // namespace sw
