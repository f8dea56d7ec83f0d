// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/layouts/awardlayouts.h"
#include "certificates/layouts/certificaterow.h"
#include "certificates/layouts/degreelayouts.h"
#include "certificates/layouts/designerlayout.h"
#include "certificates/layouts/verificationcode.h"
#include "certificates/printing/printselection.h"
#include "certificates/printing/stationeryregister.h"
#include "shell/core/progress.h"

#include <QDate>
#include <array>
#include <functional>
#include <optional>

namespace sw {

class Prompter;
class Session;
class SheetOutput;

// How far a run got.
struct PrintingResult
{
    int printed = 0;  // sheets confirmed and stored
    int spoiled = 0;  // sheets that came out badly (their numbers are used up)
    int skipped = 0;  // candidates passed over without a sheet
    int previewed = 0;
    int copies = 0;   // PDF copies written
    long long nextNumber = 0; // the number the next sheet of the stationery carries
    bool completed = false;   // every selected candidate was handled
};

// The degree certificate printing run: checks the selection as the printing
// screen does, refuses a number range that collides with stored numbers, then
// for each candidate composes the certificate, prints it (or writes its PDF
// copy), asks whether the sheet came out well and stores the number.
//
// What it guarantees after any stop: every confirmed sheet's number is stored on
// its candidate, a number is stored at most once in the convocation, a candidate
// that already has a number is never given another (the update only touches a
// row whose number is empty) and every sheet is in the stationery register.
// Confirmations are serialised between workstations by the settings-row lock.
class PrintingRun
{
public:
    PrintingRun(Session &session, Prompter &prompter, Progress progress = {});

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

    // Checks, then prints. Messages and questions go through the prompter; a run
    // that stops says why and keeps what it stored.
    PrintingResult run(PrintSelection selection, SheetOutput &output);

    // How far the last run got, for a run that stopped before its end (a Stop, an
    // unanswered question): "Printing stopped after 2 of 4 sheets (...); last number
    // A000018. The next sheet is A000019." A sheet that went to the printer without
    // its answer is named, since nothing is stored for it.
    QString howFar() const;
    const PrintingResult &result() const { return m_result; }

    // The date of issue the screen opens with: 12/03/2013 from that day on, today before it.
    static QString defaultIssueDate(const QDate &today = QDate::currentDate());

private:
    bool checkBoxes(PrintSelection &s);
    bool checkNumbering(const PrintSelection &s);
    bool checkAwardBoxes(PrintSelection &s);
    bool checkRegister(PrintSelection &s);
    bool checkConvocation();
    bool checkCollisions(const PrintSelection &s, int candidates);
    int countCandidates(const PrintSelection &s) const;
    bool sameConvocation(const QString &convoCode) const;

    void printDegreeCertificates(const PrintSelection &s, LayoutProcedure layout, SheetOutput &output,
                                 PrintingResult &result);
    void printDesignerCertificates(const PrintSelection &s, SheetOutput &output, PrintingResult &result);
    // Rank, gold-medal and cash-prize certificates, numbered in the rank register (awardprinting.cpp).
    void printAwardCertificates(const PrintSelection &s, LayoutProcedure layout, SheetOutput &output,
                                PrintingResult &result);
    void confirmAward(const PrintSelection &s, LayoutProcedure layout, const AwardRow &row, long long running);
    bool stopBeforeSheet(const PrintSelection &s, long long running, int remaining);
    void confirm(const PrintSelection &s, const CertificateRow &row, long long running, bool designer);
    // After a sheet went to the printer: asks how it came out (unless `withoutAsking`), then
    // stores its number through `storeNumber` or registers the sheet as spoiled. True when printed.
    bool settleSheet(const PrintSelection &s, const CertificateRow &sheetOf, long long running, const QString &certNo,
                     bool withoutAsking, PrintingResult &result, const std::function<void()> &storeNumber);
    void recordSheet(const PrintSelection &s, const CertificateRow &row, long long running,
                     StationeryRegister::Outcome outcome, const QString &remarks = {});

    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
    QString m_workstation;
    QString m_convoDate;
    std::array<std::optional<LabelPlacement>, DesignerLayout::LabelCount> m_placements;
    std::optional<VerificationCode> m_code; // when the institution file configures one
    bool m_stopRequested = false;
    PrintingResult m_result;
    PrintSelection m_selection;
    int m_selected = 0;       // candidates the run selected
    QString m_unconfirmed;    // the sheet printed and waiting for its answer
};

} // namespace sw
