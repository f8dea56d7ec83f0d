// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/entry/candidaterecord.h"
#include "candidates/entry/candidatestore.h"
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

    void AEDproc(const QString &operation) override;
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
    BoundSql recordsetStatement() const override;
    void resetForm() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addShownBox(int index, int besideBox);
    void placeKannadaBoxes();
    CandidateRecord recordOnScreen() const;
    void showRecord(const CandidateRecord &record);
    void showPhoto(const QString &path);
    void clearPhoto();
    void fillDescriptions();
    void fillKannadaFromLibrary();
    // The check made when Enter leaves `box`; false (message shown) when refused.
    bool acceptBox(int box);
    // The same check when Tab or the mouse takes the focus to another box of the screen.
    void checkBoxLeft(int box);
    bool chooseCandidate();
    bool showFromRows(const QString &regno);
    void applyKannadaFonts();
    void withdraw();
    void enableForChange();

    CandidateStore m_store;
    QLabel *m_img;
    bool m_checkingLeave = false; // a box's check is showing its message
    int m_acceptedByKey = -1;     // the box Enter or Down has just checked and is leaving
    QString m_chosenPhoto;
    CandidateRecord m_recordAsRead; // the record as it was shown, for the save to write only what changed
    QString m_pendingCandidate;
};

} // namespace sw
