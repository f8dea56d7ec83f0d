// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/entry/candidaterecord.h"
#include "candidates/entry/candidatestore.h"
#include "masters/mastercodes.h"
#include "shell/forms/recordform.h"

#include <QPixmap>

class QLabel;

namespace sw {

// The candidate screen (STUDENT): one candidate of the session's convocation at a
// time, with its photograph beside the record. Adding creates a candidate typed in
// by hand; editing corrects one, and an edit that sets Active to "T" gives the
// candidate its print serial number; delete withdraws it (deactivated, serial number
// taken back). A printed candidate is frozen: the store leaves its row alone, only
// the administrator may rewrite its certificate number. The rules themselves live in
// CandidateStore; the screen shows, asks and hands over.
class StudentForm final : public RecordForm
{
    Q_OBJECT
public:
    explicit StudentForm(const FormContext &context);

    void AEDproc(EditMode mode) override;
    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;
    void activated() override;

    // Shows candidate `regno` as browsing to it would (the search screen's hand-over).
    // False, and nothing changed, while a change is in progress or when the
    // convocation has no such candidate. A screen not yet activated shows it once it is.
    bool showCandidate(const QString &regno);

    // The picture beside the record; null when none is shown.
    QPixmap photo() const;
    // A double click on the picture: while adding or editing, asks for a photograph
    // that the save moves into the photograph folder.
    void choosePhoto();

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    void resetForm() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool fieldKey(QWidget *field, QKeyEvent *event) override;

private:
    void placeKannadaBoxes();
    CandidateRecord recordOnScreen() const;
    void showRecord(const CandidateRecord &record);
    void showPhoto(const QString &path);
    void clearPhoto();
    void fillDescriptions();
    void fillKannadaFromLibrary();
    // The check made when the clerk leaves `box`; false (message shown) when refused.
    bool acceptBox(int box);
    bool chooseCandidate();
    bool showFromRows(const QString &regno);
    void applyKannadaFonts();
    void withdraw();
    void enableForChange();
    // A correction the store would not write: a printed candidate (only ADMIN may change
    // its certificate number). Says so and returns false; the typing stays on the screen.
    bool printedCandidateWritable();

    CandidateStore m_store;
    MasterCodes m_codes;
    // The boxes the screen itself works on (the others are reached through the
    // candidate's field table, by column).
    QLineEdit *m_regno = nullptr;       // text_0
    QLineEdit *m_year = nullptr;        // text_7
    QLineEdit *m_certNo = nullptr;      // text_9
    QLineEdit *m_serialNo = nullptr;    // text_16
    QLineEdit *m_convocation = nullptr; // text_17
    QLabel *m_img;
    QString m_chosenPhoto;
    CandidateRecord m_recordAsRead; // the record as it was shown, for the save to write only what changed
    QString m_pendingCandidate;
};

} // namespace sw
