// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/printing/invalidsheetfiles.h"
#include "shell/forms/lookupdialog.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace sw {

class Prompter;
class Session;

// A line of the cancellation register grid: the candidate, the number cancelled and
// why. `state` is "A" for a line added on screen (a cancellation to make), empty for
// a line loaded from the register, "E" for a loaded line whose reason was changed.
struct CancelRow
{
    QString regno;
    QString name;
    QString certNo;
    QString reason;
    QString state;
};

// A printed candidate of the range grid; `ticked` asks for its cancellation.
struct PrintedRow
{
    QString regno;
    QString name;
    QString certNo;
    QDate issued;
    bool ticked = false;
};

// Withdrawing printed certificates, the one way a printed candidate becomes
// printable again. Cancelling clears the candidate's certificate number and date
// of issue and nothing else (active flag, printer, print date and time stay), so
// the next printing run selects the candidate and gives a new number. One by one,
// each cancellation is written to the register CERTCAN with its reason; a range
// cancellation of ticked candidates writes no register row. Both record every
// cancelled number in the stationery register with the user and the reason.
//
// Each save runs in one transaction and changes nothing when any line is refused
// or when a number no longer belongs to its candidate (another workstation
// cancelled or changed it meanwhile).
class CancellationStore
{
public:
    CancellationStore(Session &session, Prompter &prompter);

    // How the stationery register names this machine; the host name unless set.
    void setWorkstation(const QString &name) { m_workstation = name; }
    // Where the sheets were written instead of printed; the printing screen's folder unless set.
    void setSheetsFolder(const QString &folder) { m_sheetsFolder = folder; }

    // The header: "Information should be entered", "Invalid Degree Code", "Invalid College Code".
    bool checkHeader(const QString &degree, const QString &college) const;

    // Whether the register holds cancellations of the degree and college (the grid opens for editing).
    bool hasRegister(const QString &degree, const QString &college) const;
    std::vector<CancelRow> loadRegister(const QString &degree, const QString &college) const;
    // Whether the degree and college have printed candidates in the convocation.
    bool hasPrinted(const QString &degree, const QString &college) const;
    // The printed candidates in order of issue, none ticked ("No records found" when there are none).
    std::vector<PrintedRow> loadPrinted(const QString &degree, const QString &college) const;

    // A new register line for a register number typed on the grid: name and number
    // filled in; nullopt (message shown) for an empty, unknown or repeated register
    // number, or a candidate without a certificate number.
    std::optional<CancelRow> newRow(const QString &degree, const QString &college, const QString &regno,
                                    const std::vector<CancelRow> &grid) const;

    // Saves the register grid: cancels each added line, changes the reason of each
    // edited one ("No student Details found", "Reason should be entered"). Returns
    // the certificates cancelled, or -1 when nothing was saved.
    int saveRegister(const QString &degree, const QString &college, const std::vector<CancelRow> &grid);
    // Cancels the ticked candidates of the range grid. `reason` goes to the
    // stationery register. Returns the certificates cancelled, or -1 when nothing was saved.
    int cancelTicked(const QString &degree, const QString &college, const std::vector<PrintedRow> &grid,
                     const QString &reason);

    // Cancels one candidate's certificate by register number (command line), as a
    // register line; `degree` is needed only when the candidate holds two printed
    // degrees. Returns the number cancelled; nullopt (message shown) when refused.
    std::optional<QString> cancelOne(const QString &regno, const QString &reason, const QString &degree = {});

    // What the last save did with the cancelled sheets' files: each sheet written to the
    // sheets folder, and each PDF copy, moved to the subfolder Cancelled/ of its folder.
    const InvalidSheetFiles::Moved &filesSetAside() const { return m_setAside; }

    LookupRequest degreeLookup() const;
    LookupRequest collegeLookup(const QString &degree = {}) const;
    LookupRequest regnoLookup(const QString &degree, const QString &college) const;

private:
    void exclaim(const QString &text) const;

    Session &m_session;
    Prompter &m_prompter;
    QString m_workstation;
    QString m_sheetsFolder;
    InvalidSheetFiles::Moved m_setAside;
};

} // namespace sw
