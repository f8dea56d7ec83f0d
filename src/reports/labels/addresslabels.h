// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/lists/certprintedlist.h"
#include "shell/db/database.h"
#include "shell/document/document.h"

#include <QString>

#include <optional>

namespace sw {

class Prompter;
class Session;

// What the address-label screen selects: the printed-list ranges and dates, a range
// of certificate numbers, and the two dispatch filters.
struct LabelSelection
{
    PrintedListSelection printed;
    QString fromCertNo;
    QString toCertNo;
    bool tatkalOnly = false; // "&Tatkal Only": candidates of the Tatkal scheme
    bool postOnly = false;   // "&Post Only": candidates who receive the certificate by post

    // Blank first fields mean the whole range (certificate numbers too).
    void normaliseRanges();
};

// The address labels for posting printed certificates: one label per printed
// certificate whose candidate has a fee record, two across on A4 pages.
class AddressLabels
{
public:
    AddressLabels(Session &session, Prompter &prompter);

    // The label sheet; nullopt (after "No Data found for the given for the range")
    // when no candidate qualifies. labels() is the number of labels on it.
    std::optional<Document> compose(const LabelSelection &selection);

    // Writes a sheet as OpenDocument text at `odtPath` and/or as PDF at `pdfPath`
    // (either may be empty), then "Report Generated Successfully".
    void write(const Document &sheet, const QString &odtPath, const QString &pdfPath = {});
    // compose() then write() (Gen_Report_Data_Word); the number of labels, 0 when there
    // were none and nothing was written.
    int labelSheets(const LabelSelection &selection, const QString &odtPath, const QString &pdfPath = {});

    // One candidate's label text, its lines separated by "\n". Each line once: empty lines
    // are left out, and so are the town and the state where an address line already holds
    // them, and the pincode and mobile lines when there is no number.
    static QString labelText(const Rows &row);

    int labels() const { return m_labels; }

    // Two labels across A4 between 0.8 inch margins, with a gap between them.
    static constexpr double kColumnInches = 3.21;
    static constexpr double kGapInches = 0.25;
    static constexpr double kRowInches = 1.75;
    static constexpr double kGapPoints = 9; // below each label's text, above the next one

private:
    Session &m_session;
    Prompter &m_prompter;
    int m_labels = 0;
};

} // namespace sw
