// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/lookupdialog.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace sw {

class Prompter;
class Session;

// The two gates a candidate passes before printing: the fee is verified
// (`ffeepaid`), then the candidate is activated (`factive`).
enum class Gate { Verification, Activation };

// The header of a gate screen: a degree and a college range (verification takes
// one college: from and to are the same).
struct GateSelection
{
    QString degree;
    QString collegeFrom;
    QString collegeTo;
};

// One grid row: register number, name, the check box, and whether the row was
// added on screen rather than loaded.
struct GateRow
{
    QString regno;
    QString name;
    bool ticked = false;
    bool added = false;
    // The flag's text as the grid was loaded; empty for a row added on screen. A loaded
    // row is written only while the stored flag is still that, so what another
    // workstation saved meanwhile stays.
    std::optional<QString> flagAsRead;
};

// The rules behind the verification and activation grids. Both handle only
// candidates without a certificate number, so a printed candidate can be neither
// un-verified nor deactivated; verification also leaves active candidates alone, and
// activation sees only fee-verified ones. Saves run in one transaction.
class GateStore
{
public:
    GateStore(Session &session, Prompter &prompter, Gate gate);

    Gate gate() const { return m_gate; }

    // The header's checks ("Information should be entered", "Invalid Degree Code",
    // "Invalid College Code"), shown through the prompter. False when refused.
    bool checkHeader(const GateSelection &selection) const;

    // Whether the selection has candidates this gate handles (the grid opens for editing).
    bool hasCandidates(const GateSelection &selection) const;
    // The grid of the selection in register-number order ("No records found" when empty).
    std::vector<GateRow> load(const GateSelection &selection) const;

    // The name for a register number typed into a new grid row; nullopt (message
    // shown) for an empty, repeated or unknown register number, and for a candidate
    // the save would not reach: of another degree (or, in verification, another
    // college), printed, active already (verification) or without a verified fee
    // (activation). The row is refused as it is typed, not at Save.
    std::optional<QString> nameForNewRow(const GateSelection &selection, const QString &regno,
                                         const std::vector<GateRow> &grid) const;

    // The F1 look-ups of the header boxes and of a new grid row's register number.
    LookupRequest degreeLookup() const;
    LookupRequest collegeLookup(const QString &degree) const;
    LookupRequest regnoLookup(const QString &degree, const QString &college) const;

    // The F1 look-up lists: (code, description) pairs.
    std::vector<std::pair<QString, QString>> degreeChoices() const;
    std::vector<std::pair<QString, QString>> collegeChoices(const QString &degree) const;
    std::vector<std::pair<QString, QString>> regnoChoices(const QString &degree, const QString &college) const;

    // What a save did: the rows written, and each row refused with its reason
    // ("printed", "active", "fee not verified", "changed on another workstation",
    // "not in this convocation").
    struct SaveReport
    {
        int rows = 0; // rows with a register number
        int written = 0;
        int ticked = 0;                                   // written rows whose flag is now "T"
        std::vector<std::pair<QString, QString>> refused; // register number, reason
        // "Saved 3 of 5 rows (3 fee paid); 2 refused: 1 printed, 1 active"
        QString summary(Gate gate) const;
    };

    // Writes every row's flag ("No student Details found" for an empty grid). Returns
    // the rows written (a row that already held its flag counts as written).
    int save(const GateSelection &selection, const std::vector<GateRow> &grid);
    // The same save, saying of every row whether it was written and why not.
    SaveReport saveReporting(const GateSelection &selection, const std::vector<GateRow> &grid);

    // Delete: after "Confirm Deletion", deactivates every candidate of the selection
    // this gate handles. Returns the rows changed.
    int deactivateAll(const GateSelection &selection);

private:
    std::vector<std::pair<QString, QString>> choices(const LookupRequest &request) const;
    QString unprinted(const QString &column = QStringLiteral("fcertno")) const;
    QString gateCondition(const QString &prefix = {}) const;
    // Why a row's statement reached no row; nullopt when the row already holds the flag.
    std::optional<QString> whyRefused(const QString &regno, const GateRow &row) const;

    Session &m_session;
    Prompter &m_prompter;
    Gate m_gate;
};

} // namespace sw
