// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/layouts/certificaterow.h"
#include "certificates/printing/printselection.h"
#include "shell/core/appfolder.h"
#include "shell/core/institutionconfig.h"
#include "shell/document/document.h"

#include <QHash>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

namespace sw {

class Session;

// The layout procedures; which one prints is decided by institution code and
// certificate type (chooseLayout).
enum class LayoutProcedure { None, GenDataReport, Tcs, Phd, Inst008, Inst008Speciality, Datareport, Rank, Gold, Cash };

LayoutProcedure chooseLayout(const QString &instCode, const PrintSelection &selection);
QString layoutName(LayoutProcedure layout);
// The TCS and institution 008 layouts store the number as soon as the sheet is printed.
bool confirmsWithoutAsking(LayoutProcedure layout);
// The TCS layout also keeps a PDF copy of every certificate it prints.
bool keepsPdfCopy(LayoutProcedure layout);

// A picture of the application folder (or an absolute path) floated at a place on
// the page, in inches from the top-left corner. A file that is not there is left
// out, as the certificate is still valid without it. Without a size the picture
// keeps its own (96 pixels to the inch when it names none), made smaller when it
// would run off the page.
using PictureSizes = QHash<QString, QSizeF>;
void placePicture(DocumentBuilder &b, const AppFolder &folder, const QString &relative, double leftInches,
                  double topInches, double widthPt = 0, double heightPt = 0, PictureSizes *sizes = nullptr);

// What a layout prints besides the candidate's own texts: the institution file's
// settings ("LAYOUT/Campus") and the pictures of the application folder it places,
// and whether it prints the candidate's photograph.
struct LayoutNeeds
{
    QStringList settings;
    QStringList pictures;
    bool photograph = false;
};

// Composes the degree certificates of institutions 003 and 008 on pre-printed
// stationery: candidate texts in Kannada and English, photograph, seal and
// signature at the sheet's fixed places. The university's own texts (its name,
// the Kannada preamble, the campus address) are institution data and come from
// the [LAYOUT] section of the institution file. Kannada is legacy 8-bit text
// (see legacytext.h) printed in the fonts it was typed for, unconverted.
class DegreeLayouts
{
public:
    DegreeLayouts(const Session &session, const PrintSelection &selection);

    // The certificate of `row`. A text that would leave a sentence broken (the Kannada
    // class or degree, the exam date, a Kannada exam date missing from the name
    // library, 008's Kannada name, ...) throws StopError with the layout's message.
    Document compose(LayoutProcedure layout, const CertificateRow &row) const;
    // Every text of `row` that `layout` would print empty or cannot find, in the words
    // of the messages ("Error kannada class for First Class"): those that stop the
    // certificate, and 003's empty Kannada name, whose line is left out.
    QStringList gaps(LayoutProcedure layout, const CertificateRow &row) const;
    LayoutNeeds needs(LayoutProcedure layout) const;

    // Candidate photograph: Photos/REGNO.jpg, .jpeg or .bmp in any letter case; empty when none.
    QString photograph(const QString &regno) const;

private:
    // Where a sheet's pictures go: the seal (none on some sheets) and the signature at
    // their top-left corners in inches, the signature's size and the photograph's box
    // in points. The text is kept clear of the signature and the photograph.
    struct SheetPictures
    {
        std::optional<QPointF> sealInches;
        QPointF signatureInches;
        QSizeF signatureSize;
        QRectF photo;
    };
    // An A4 sheet whose pre-printed border leaves `topInches` above the text, lines
    // centred.
    void startSheet(DocumentBuilder &b, double topInches) const;
    void placePictures(Document &doc, DocumentBuilder &b, const CertificateRow &row, const SheetPictures &at) const;

    Document genDataReport(const CertificateRow &row) const;
    void typeDataReportKannada(DocumentBuilder &b, const CertificateRow &row, bool typeOne) const;
    void typeDataReportEnglish(DocumentBuilder &b, const CertificateRow &row, bool typeOne) const;
    void typeDataReportAddress(DocumentBuilder &b, const CertificateRow &row) const;
    Document tcs(const CertificateRow &row, bool doctorate) const;
    // The lines from the preamble to the convocation, then the captioned details, the
    // seal line, the address and the date of issue.
    void typeTcsBody(DocumentBuilder &b, const CertificateRow &row, bool doctorate) const;
    void typeTcsDetails(DocumentBuilder &b, const CertificateRow &row, bool doctorate) const;
    void typeTcsAddress(DocumentBuilder &b, const CertificateRow &row) const;
    using AddressWriter = void (DegreeLayouts::*)(DocumentBuilder &, const CertificateRow &) const;
    void placeAddressAndPictures(Document &doc, DocumentBuilder &b, const CertificateRow &row, const SheetPictures &at,
                                 AddressWriter address) const;
    // Whether the text fits its one sheet, above the seal where there is one.
    static bool keepTextAboveSeal(Document &doc);
    Document inst008(const CertificateRow &row, bool speciality) const;

    void kannadaGaps(const CertificateRow &row, bool convocationName, QStringList &gaps) const;
    // The gaps that stop the certificate (gaps() adds those the check only names).
    QStringList stoppingGaps(LayoutProcedure layout, const CertificateRow &row) const;
    std::optional<QString> kannadaExamDate(const CertificateRow &row) const;
    std::optional<QString> universityName(const CertificateRow &row) const;
    void placePhotograph(DocumentBuilder &b, const CertificateRow &row, const QRectF &box) const;
    QString config(const QString &key) const { return m_config.value(QStringLiteral("LAYOUT"), key); }
    void picture(DocumentBuilder &b, const QString &relative, double leftInches, double topInches, double widthPt = 0,
                 double heightPt = 0) const;
    QString signatureFile() const;
    // The date of issue a sheet prints, dd/mm/yyyy: the run's, or in Pdf mode the one stored
    // when the certificate was printed.
    QString issueDate(const CertificateRow &row) const;

    const Session &m_session;
    const PrintSelection &m_selection;
    AppFolder m_folder;
    InstitutionConfig m_config;
    bool m_distance = false;
    bool m_degreeInKannada = false;
    // Read once per run: the photographs there are and the size of each picture.
    mutable std::optional<QHash<QString, QString>> m_photos;
    mutable PictureSizes m_pictureSizes;
};

} // namespace sw
