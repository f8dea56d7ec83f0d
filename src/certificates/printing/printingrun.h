// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/layouts/awardlayouts.h"
#include "certificates/layouts/certificaterow.h"
#include "certificates/layouts/degreelayouts.h"
#include "certificates/layouts/designerlayout.h"
#include "certificates/layouts/verificationcode.h"
#include "certificates/printing/printselection.h"
#include "certificates/printing/stationeryledger.h"
#include "shell/core/progress.h"

#include <QDate>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace sw {

class DbError;

class Prompter;
class Session;
class SheetOutput;

// How far a run got.
struct PrintingResult
{
    int printed = 0; // sheets confirmed and stored
    int spoiled = 0; // sheets used up without a certificate, whatever the cause
    int skipped = 0; // candidates passed over without a sheet
    int previewed = 0;
    int copies = 0;           // PDF copies written
    int signedCopies = 0;     // of them, signed
    long long firstUsed = -1; // the first and last numbers the run used (-1: none)
    long long lastUsed = -1;
    long long nextNumber = 0; // the next free number of the prefix
    bool completed = false;   // every selected candidate was handled
    QStringList setAside;     // what became of the spoiled sheets' files (moved to Spoiled/)
};

// The certificate printing run: checks the selection as the printing screen does,
// refuses a number range that holds a used number, then for each candidate (or
// award) composes the certificate and has the stationery ledger account for its
// sheet: the number is reserved before the sheet goes to the printer, stored on the
// candidate when the sheet came out well, registered as spoiled when it did not.
//
// What it guarantees after any stop, a crash or a kill included: every sheet that
// could have reached the printer is in the register (printed, spoiled, or pending
// until a clerk settles it), no number is used twice, and a candidate withdrawn,
// deactivated or printed elsewhere meanwhile gets no number.
class PrintingRun
{
public:
    PrintingRun(Session &session, Prompter &prompter, Progress progress = {});
    ~PrintingRun();

    // How the register names this machine; the host name unless set.
    void setWorkstation(const QString &name) { m_workstation = name; }
    // Placements typed in the "Top / Left" frame for the designer layout of 001.
    void setPlacement(DesignerLayout::Label label, const LabelPlacement &placement) { m_placements[label] = placement; }
    // Asks the run to stop before the next sheet (from the progress callback or a button).
    void requestStop() { m_stopRequested = true; }

    // The checks made when the clerk leaves the boxes and starts the run; false
    // after the screen's message. Fills "0" ranges and the college of a single
    // register number into `selection` as the screen does.
    bool check(PrintSelection &selection);
    // The same checks of the selection alone, before any stationery is named (print --check):
    // the date of issue, the prefix and the number range are not asked for.
    bool checkSelection(PrintSelection &selection);

    // Checks, then prints. Messages and questions go through the prompter; a run
    // that stops says why and keeps what it stored.
    PrintingResult run(PrintSelection selection, SheetOutput &output);

    // How far the last run got, for a run that stopped before its end (a Stop, an
    // unanswered question): "Printing stopped after 2 of 4 sheets (...); last number
    // A000018. The next sheet is A000019." A sheet that went to the printer without
    // its answer is named: it waits in the register for a clerk to settle it.
    QString howFar() const;
    const PrintingResult &result() const { return m_result; }

    // The date of issue when none is given: the day (the screen opens with the one its
    // workstation printed last, when there is one).
    static QString defaultIssueDate(const QDate &today = QDate::currentDate());

private:
    // One candidate or award to print, as the cycle needs it.
    struct Job
    {
        SheetHolder holder;
        std::function<Document(const QString &certNo)> compose;
        CertificateRow row;       // degree certificates: for the PDF copy
        CertificateClaims claims; // what the verification code says (number and date of issue added at print)
    };
    // How the layouts of a run differ in the cycle.
    struct Cycle
    {
        bool asksForPhotograph = true;
        bool previewAsksToContinue = true;
        bool confirmsWithoutAsking = false;
        bool keepsPdfCopy = false;
        QString regnoCaption = QStringLiteral(" for Reg. No. - ");
        QString doneMessage = QStringLiteral("Printed Successfully");
        IssueDetails issue;
    };

    bool checkBoxes(PrintSelection &s);
    bool checkNumbering(const PrintSelection &s);
    bool checkAwardBoxes(PrintSelection &s);
    bool checkRegister(PrintSelection &s);
    bool checkConvocation();
    bool checkCollisions(const PrintSelection &s, int candidates);
    bool m_selectionOnly = false; // checkSelection: no stationery to check
    int countCandidates(const PrintSelection &s) const;

    std::vector<Job> degreeJobs(const PrintSelection &s, LayoutProcedure layout, Cycle &cycle);
    std::vector<Job> designerJobs(const PrintSelection &s, Cycle &cycle);
    // Rank, gold-medal and cash-prize certificates, numbered in the rank register (awardprinting.cpp).
    std::vector<Job> awardJobs(const PrintSelection &s, LayoutProcedure layout);

    void printSheets(const PrintSelection &s, const std::vector<Job> &jobs, const Cycle &cycle, SheetOutput &output);
    void writeCopies(const PrintSelection &s, const std::vector<Job> &jobs, const Cycle &cycle);
    bool goOn(const PrintSelection &s, int candidates);
    QString doneText(const QString &done, const PrintSelection &s, const SheetOutput &output) const;
    bool stopBeforeSheet(const PrintSelection &s, long long running, int remaining);
    // After a sheet went to the printer: asks how it came out (unless the layout
    // stores without asking, or the clerk named it spoiled beforehand), then has the
    // ledger store or spoil it. True when printed.
    bool settleSheet(const PrintSelection &s, const StationeryLedger::Reservation &sheet, const Cycle &cycle,
                     SheetOutput &output);
    // A sheet registered spoiled: its file (when the output keeps one) leaves the valid ones.
    void setAsideSpoiled(SheetOutput &output, const StationeryLedger::Reservation &sheet);
    // What the clerk reads when the server goes in the middle of a run.
    QString connectionLost(const PrintSelection &s, const DbError &e) const;
    void usedNumber(long long number);
    // The text of the verification code of the certificate `certNo` (its place on the status lists given).
    QString codeText(const Job &job, const QString &certNo, const QDate &issued, int list, long long index) const;
    void sayUnreachedSpoiled(const PrintSelection &s);
    long long nextFreeNumber(const PrintSelection &s);
    StationeryLedger &ledger();

    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
    QString m_workstation;
    QString m_convoDate;
    std::array<std::optional<LabelPlacement>, DesignerLayout::LabelCount> m_placements;
    std::optional<VerificationCode> m_code; // when the institution file configures one
    std::unique_ptr<StationeryLedger> m_ledger;
    bool m_stopRequested = false;
    PrintingResult m_result;
    PrintSelection m_selection;
    int m_selected = 0;    // candidates the run selected
    QString m_unconfirmed; // the sheet printed and waiting for its answer
};

} // namespace sw
