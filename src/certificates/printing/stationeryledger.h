// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/printing/statusregister.h"

#include <QDate>
#include <QHash>
#include <QVariant>
#include <QString>
#include <QStringList>

#include "shell/db/presence.h"

#include <memory>
#include <optional>
#include <vector>

namespace sw {

class Database;
class Rows;
class Session;
class Statement;

// Who a sheet is printed for: a candidate's degree certificate, or an award of the
// rank register (a rank, a gold medal, a cash prize).
struct SheetHolder
{
    enum class Kind { Degree, Award };
    Kind kind = Kind::Degree;
    QString regno;
    QString degree;
    QString college;
    QString awardType; // "RC", "GC" or "CC" for an award
    QString awardKey;  // a rank certificate's rank, a medal's or prize's subject
};

// How a confirmed sheet is stored on its holder.
struct IssueDetails
{
    QDate issueDate;
    // The designed layouts of institution 001 store the convocation date and list the
    // sheet among the recent certificates; the others store the time of printing.
    bool designed = false;
    QDate convocationDate;
};

// The one authority over the pre-numbered stationery. A number printed on a sheet
// belongs to that sheet for ever: the ledger gives each number of a prefix once,
// across every convocation and workstation, and is the only writer of the register
// and of the certificate numbers of candidates and awards.
//
// The register has two tables. CERTSHEET holds one row per used number with the
// sheet's state; its unique key on prefix and number is what guarantees, in the
// database itself, that two workstations never use one number. STATIONERY is the
// journal an auditor reads: one line per event (printed, spoiled, passed over,
// cancelled, void), with user, workstation and reason.
//
// A sheet's life: reserve() writes it PENDING in a transaction of its own before
// the sheet goes to the printer; confirm() makes it PRINTED and stores the number on
// its holder, spoil() makes it SPOILED. A run that dies leaves it PENDING until a
// clerk settles it. Cancellation, taking back and the administrator's rewrite make a
// printed number VOID: it is never given again.
//
// Statements: every change holds its rows in the order holder first (convo or
// rankreg), register second, so two workstations never wait on each other in a circle.
class StationeryLedger
{
public:
    enum class State { Pending, Printed, Spoiled, Void };
    // Journal lines.
    enum class Outcome { Printed, Spoiled, Skipped, Cancelled, Void };

    StationeryLedger(Database &db, QString convoCode, QString user, QString workstation);
    ~StationeryLedger();

    static QString stateText(State state);
    static QString outcomeText(Outcome outcome);

    // --- before a run ---------------------------------------------------------------

    // Every number of `prefix` from..to that is used already, in any convocation and
    // by any use, one line each in number order: "2KD0121121 - DC000205" for a holder
    // of this convocation, "... (convocation C024)" for another's, "DC000213 - spoiled
    // sheet", "- cancelled", "- sent to the printer, never confirmed".
    QStringList usedNumbers(const QString &prefix, long long from, long long to) const;

    // The sheets of `prefix` sent to the printer and never confirmed, one line each.
    QStringList pendingSheets(const QString &prefix) const;

    // The first number from `from` on that no sheet has used.
    long long nextUnused(const QString &prefix, long long from) const;

    // The recent certificates are those of the last designed run: a new one starts the list afresh.
    void clearRecentCertificates();

    // --- a run's sheets ---------------------------------------------------------------

    struct Reservation
    {
        QString prefix;
        long long number = 0;
        QString certNo;
        QString certType;
        SheetHolder holder;
        QString runId;
        // The sheet's place on the status lists, signed into its verification code.
        int statusList = 0;
        long long statusIndex = -1;
    };
    struct ReserveResult
    {
        std::optional<Reservation> sheet;
        QString passedOver; // why the holder gets no sheet (withdrawn, deactivated, printed meanwhile)
    };

    // Reserves `number` for `holder`, in a committed transaction of its own (never call
    // it inside another). A holder no longer to be printed gets nothing and no number
    // is used (`passedOver` says why). A number used already stops the run: throws
    // StopError naming its use. A database replaced since the run's last sheet (a
    // restore) stops it too.
    ReserveResult reserve(const QString &prefix, long long number, const QString &certType, const SheetHolder &holder,
                          const IssueDetails &issue);

    // The sheet came out well: stores the number on its holder (only where none is
    // stored, for a candidate still active) and makes the sheet PRINTED, in one
    // transaction. Returns "" when stored; otherwise why the sheet was made SPOILED
    // instead (the holder was withdrawn, deactivated or printed meanwhile, or another
    // workstation settled the sheet).
    QString confirm(const Reservation &sheet, const IssueDetails &issue);
    // The sheet came out badly or could not be printed.
    void spoil(const Reservation &sheet, const QString &reason);

    // Records a sheet used before the ledger kept the stationery (the demonstration
    // folder's history): printed, spoiled or void (cancelled), with its journal line, in
    // the caller's transaction.
    void recordEarlierSheet(const QString &prefix, long long number, State state, const QString &certType,
                            const SheetHolder &holder, const QString &remarks);

    // A candidate passed over before any sheet was used (no photograph).
    void recordPassedOver(const SheetHolder &holder, const QString &certType, const QString &reason);

    // --- after a run ------------------------------------------------------------------

    // What registering `numbers` as spoiled would do, one line per sheet; throws
    // StopError naming the first that cannot be (already spoiled, cancelled, pending
    // in a run that is going on). Writes nothing.
    QStringList planSpoiled(const QString &prefix, const std::vector<long long> &numbers) const;
    // Checks as planSpoiled(), then registers every sheet in one transaction: a holder
    // gives its number back (and prints again on a new sheet); a pending sheet is
    // settled; an unused number is used up.
    QStringList registerSpoiled(const QString &prefix, const std::vector<long long> &numbers, const QString &reason);

    // Settles sheets left PENDING by a run that died: printed (the number is stored on
    // its holder, if that holder still has none and is still active) or spoiled. Every
    // number is checked first; one that is not pending, or cannot be stored, is named
    // (StopError) and nothing is settled.
    QStringList settle(const QString &prefix, const std::vector<long long> &numbers, bool printed,
                       const QString &reason);

    // --- taking numbers back (within the caller's transaction) --------------------------

    // Cancels a printed certificate: the candidate's number and date of issue are
    // cleared (only while it still holds the number; false otherwise) and the sheet
    // becomes VOID with the reason.
    bool cancel(const QString &certNo, const QString &regno, const QString &degree, const QString &reason);
    // Takes back a certificate of the last designed run (recent certificates).
    bool takeBack(const QString &certNo, const QString &regno);
    // The administrator's correction of a candidate's number; see CertificateNumberAuthority.
    bool rewrite(const QString &regno, const QString &degree, const QString &college, const QString &numberRead,
                 const QString &newNumber);

private:
    struct Use;
    struct Sheet;
    std::vector<Use> usesOf(const QString &prefix, long long from, long long to) const;
    std::optional<Sheet> sheetRow(const QString &prefix, long long number) const;
    QString holderState(const SheetHolder &holder) const;
    QString waitingSheet(const SheetHolder &holder) const;
    int storeOnHolder(const SheetHolder &holder, const QString &certNo, const IssueDetails &issue,
                      const QDateTime &printed);
    void setState(const QString &prefix, long long number, State state, const QString &remarks);
    void insertSheet(const QString &prefix, long long number, State state, const QString &certType,
                     const SheetHolder &holder, const QString &runId, const IssueDetails &issue,
                     const QString &remarks);
    void voidNumber(const QString &certNo, const SheetHolder &holder, Outcome outcome, const QString &remarks);
    void journal(const QString &prefix, long long number, const QString &certType, const SheetHolder &holder,
                 Outcome outcome, const QString &remarks);
    void checkStillOurs(const Reservation &sheet) const;
    // "is at the printer on WORKSTATION (...)" while the run that sent the sheet lives; "" otherwise.
    QString atPrinter(const Sheet &sheet) const;
    [[noreturn]] void refuseReplaced(const Reservation &sheet) const;
    [[noreturn]] void refuseUsed(const QString &certNo, const QStringList &uses) const;
    void beginWrite();
    void releaseReads() const;
    Statement &statement(const QString &sql) const;
    Rows query(const QString &sql, const QVariantList &params = {}) const;
    int exec(const QString &sql, const QVariantList &params = {});
    QVariant scalar(const QString &sql, const QVariantList &params = {}) const;

    Database &m_db;
    QString m_convoCode;
    QString m_user;
    QString m_workstation;
    StatusRegister m_places;
    // Prepared on first use: a range cancellation journals thousands of lines.
    std::shared_ptr<Statement> m_journal;
    mutable QHash<QString, std::shared_ptr<Statement>> m_statements;
    // The last sheet this ledger reserved: it must still be there at the next sheet,
    // or the database was replaced under the run.
    std::optional<Reservation> m_lastReserved;
    // The run's lease on its sheets at the printer, taken at its first sheet.
    std::unique_ptr<Presence::Lease> m_runLease;
};

// Installs the ledger as the session's certificate-number authority (after the login).
void installNumberAuthority(Session &session);

} // namespace sw
