// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/entry/candidaterecord.h"
#include "shell/core/prompter.h"
#include "shell/db/sqldialect.h"
#include "shell/forms/lookupdialog.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace sw {

class Session;

enum class EntryMode { Add, Edit };

// A box whose value the form refuses: the message (exactly as the form words it)
// and the box the focus goes back to.
struct FieldProblem
{
    int box;
    QString message;
    PromptIcon icon;
};

// The descriptions shown beside the code boxes.
struct CandidateDescriptions
{
    QString degree;     // degree.fdescpn
    QString college;    // college.fcollname
    QString className;  // class.fclassdesc
    QString university; // masuniv.funivname
};

// What one save did.
struct CandidateSaveOutcome
{
    bool saved = false; // false: refused, `problem` says why (already shown)
    std::optional<FieldProblem> problem;
    QString serialNumber;      // the print serial number this save gave; empty when none
    QStringList serialIgnored; // stored serial numbers that are not numbers, named
    QStringList learnedWords;  // English words the name library learned
    QString photo;             // where the chosen photograph now is; empty when none was moved
};

// The candidate form's rules without its widgets: look-up of a candidate of the
// session's convocation, every box check, the save (insert or update, the
// administrator's certificate number, the print serial number, the name library's
// learning, the photograph), and withdrawal. A candidate with a certificate number
// is frozen: only the administrator's certificate-number update reaches its row.
// Messages and questions go through the prompter with the form's own texts.
class CandidateStore
{
public:
    CandidateStore(Session &session, Prompter &prompter);

    // The candidates of convocation `convoCode` the entry screen browses, by degree,
    // college and register number.
    static BoundSql browseStatement(const QString &convoCode);
    // The F1 lookup of register numbers, within convocation `convoCode`.
    static LookupRequest regnoLookup(const QString &convoCode);

    // The candidate with register number `regno` in the session's convocation.
    std::optional<CandidateRecord> find(const QString &regno) const;
    CandidateDescriptions describe(const CandidateRecord &record) const;
    // The convocation's register numbers in the order first/previous/next/last walk
    // them: by degree, college, register number.
    QStringList browseOrder() const;

    // The leave-field check of one box; nullopt when the value is accepted.
    std::optional<FieldProblem> checkField(int box, const CandidateRecord &record, EntryMode mode) const;
    // The checks a save makes, in the order Enter walks the boxes; the first problem found.
    // A new candidate has every box checked. A correction has its register number
    // checked and every box whose value differs from the stored row: boxes the clerk
    // did not touch are not held against the candidate (an imported row may carry
    // values the form would not accept as typed).
    std::optional<FieldProblem> checkAll(const CandidateRecord &record, EntryMode mode) const;

    // Kannada names composed from the name library for the pairs whose Kannada name
    // has fewer words than the English one; other pairs are left as they are.
    CandidateRecord withLibraryNames(const CandidateRecord &record) const;

    // Checks and saves in one transaction. `record` holds the values as typed
    // (see CandidateRecord::typed); `chosenPhoto` is a picture chosen for the candidate:
    // one that is not a readable picture refuses the save; when the candidate has a
    // photograph already (any of its extensions), "Replace it?" is asked first, and Yes
    // puts the new one in its place (the old files go), No keeps the old one.
    // `asRead` is the candidate as the editor read it (the screen and the command always
    // give it): a correction writes only the values that differ from it, and the
    // administrator's rewrite of the certificate number applies only while the stored
    // number is still the one read, so what another workstation stored meanwhile (an
    // activation, a printed number) is never put back as it was.
    CandidateSaveOutcome save(const CandidateRecord &record, EntryMode mode, const QString &chosenPhoto = {},
                              const std::optional<CandidateRecord> &asRead = std::nullopt);

    // Withdrawal: after "Confirm deletion" the candidate is deactivated and loses its
    // serial number, unless it has a certificate number. Returns the rows changed.
    int withdraw(const QString &regno);

    // The candidate's photograph: Photos/REGNO with .bmp, .jpg or .jpeg in any letter case; empty when none.
    QString photoPath(const QString &regno) const;
    // Every photograph file of the candidate, whatever its extension's letter case.
    QStringList photoFiles(const QString &regno) const;

    void show(const FieldProblem &problem) const;

    // The stored width of a `convo` column (VARCHAR(n)); 0 when it has none.
    static int columnWidth(const QString &column);

private:
    bool exists(const QString &table, const QString &column, const QString &code) const;
    void insert(const CandidateRecord &r);
    void update(const CandidateRecord &r, const std::optional<CandidateRecord> &asRead);
    QString giveSerialNumber(const CandidateRecord &r, QStringList *ignored);
    QString movePhoto(const QString &regno, const QString &chosen, bool replace);

    Session &m_session;
    Prompter &m_prompter;
};

} // namespace sw
