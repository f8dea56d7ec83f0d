// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/sqldialect.h"
#include "shell/forms/childform.h"
#include "shell/forms/editmode.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/lookupdialog.h"
#include "shell/forms/recordset.h"

#include <QString>

#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace sw {

// A data-entry screen: one row of a table at a time (or a grid of rows), driven by the
// main window's commands through the dispatcher. This is how every record screen is made.
//
// To build one, subclass RecordForm and:
//  1. In the constructor, create the fields with addText / addDate / addCheck (the
//     control arrays text_i, mskdt_i, chk_i inside the frame `Frame`, see FieldFrame
//     for the rules every box follows), set setMandatoryFields("T0,T1") and
//     setFieldOrder("T0,T1,M0"), give code boxes their master with fields().setCode()
//     and other checks with fields().setCheck(). Fields typed in mixed case (names
//     where the screen says so) are passed to keepCase().
//  2. Implement CmdSave_Click() and display_record(); a screen keyed by its first box
//     takes the add/edit/delete switch as it is (AEDproc(), with clearForAdd() and
//     confirmDelete()), others override AEDproc(); give
//     recordsetStatement() when the screen browses rows of a table (first, previous,
//     next, last), override cmdsearch_Click() when it has a search and resetForm()
//     when its reset differs. Every save, refusal and cancellation says what it did
//     with showOutcome() (the status bar's message panel) or a message.
//  3. Register a factory for its menu code in the ScreenRegistry (see screenregistry.h).
//
// What the framework does: on activation it opens `rsdisp`, runs the reset routine the
// first time and restores the screen's toolbar afterwards; the field rules of
// FieldFrame, checked while a change is in progress; Esc cancels a change; the arrow
// keys move through the rows while browsing; the main window's mode panel follows the
// screen's mode. Closing the screen (or the program) during a change asks whether to
// save it: Yes saves (and closes only when the save went through), No drops it,
// Cancel keeps it open.
class RecordForm : public ChildForm
{
    Q_OBJECT
public:
    RecordForm(const FormContext &context, const QString &formName, const QString &caption, QWidget *parent = nullptr);

    // The contract the dispatcher drives (the names the installations know).
    // Add, edit or delete begins. The switch of a screen keyed by text_0: Add clears
    // the screen (clearForAdd()) and takes the key; Edit and Delete of a row on the screen
    // fix its key and go to the next box, or confirm the delete (confirmDelete()); with no
    // row on the screen the key is typed first (its check brings the row).
    virtual void AEDproc(EditMode mode);
    virtual void CmdSave_Click() = 0;
    virtual void cmdCancel_Click() { resetForm(); }
    virtual void cmdsearch_Click() { }
    virtual void display_record(RecordSet &rows, const QString &tagname) = 0;
    virtual void cmdExit_Click() { unload(); }

    RecordSet &rsdisp() { return m_rsdisp; }
    EditMode editMode() const { return m_editMode; }
    bool browsing() const { return m_editMode == EditMode::Browse; }

    void activated() override;
    void deactivated() override { }
    bool hasUnsavedWork() const override { return !browsing(); }
    bool settleWork() override;

    FieldFrame &fields() const { return *m_fields; }
    // The field of a key of the field order: "T0" is text_0, "M0" mskdt_0, "C0" chk_0.
    // The control arrays by index are how tests and tools find the boxes; a screen keeps
    // the boxes it works on in named members.
    QWidget *field(const QString &key) const { return m_fields->field(key); }
    QLineEdit *text(int index) const { return m_fields->text(index); }
    QLineEdit *mskdt(int index) const { return m_fields->mskdt(index); }
    QCheckBox *chk(int index) const { return m_fields->chk(index); }

    // True when `control` is one of the mandatory fields and is empty (a date box
    // showing "__/__/____" or a time box "__:__" counts as empty).
    bool FieldMissing(QWidget *control) const { return m_fields->FieldMissing(control); }

    static QString browseLegend() { return QStringLiteral(" F4-Add, F5-Edit, F7-Delete, Ctl+T-Close "); }
    static QString editLegend() { return QStringLiteral(" F6-Save, F11-Cancel "); }
    static QString resetLegend() { return QStringLiteral(" F4-Add, F5-Edit, F6-Save, F7-Delete, F11-Cancel"); }
    static QString emptyDate() { return FieldFrame::emptyDate(); }
    static QString emptyTime() { return FieldFrame::emptyTime(); }

signals:
    // The screen went into another mode (the main window's mode panel follows it).
    void editModeChanged(sw::EditMode mode);

protected:
    // The rows `rsdisp` browses, opened on every activation; none (the default) for a
    // screen that browses no table of its own.
    virtual std::optional<BoundSql> recordsetStatement() const { return std::nullopt; }

    // What Add empties before the key is typed.
    virtual void clearForAdd() { ClearControls(); }
    // A delete of the row on the screen, asked and done; nothing by default.
    virtual void confirmDelete() { }

    // The reset routine: browsing, fields cleared, disabled and painted, frame
    // disabled, the reset legend, toolbar "N".
    virtual void resetForm();

    void setEditMode(EditMode mode);
    void setMandatoryFields(const QString &keys) { m_fields->setMandatoryFields(keys); }
    void setFieldOrder(const QString &keys) { m_fields->setFieldOrder(keys); }
    QString mandatoryFields() const { return m_fields->mandatoryFields(); }
    QString fieldOrder() const { return m_fields->fieldOrder(); }

    QGroupBox *frame() const { return m_fields->box(); }
    using MaskKind = FieldFrame::MaskKind;
    QLineEdit *addText(int index, const QString &label, const QString &toolTip, int maxLength);
    QLineEdit *addDate(int index, const QString &label, const QString &toolTip, MaskKind kind = MaskKind::Date);
    QCheckBox *addCheck(int index, const QString &caption);
    // A field of another kind (a combo box, a grid) under its own key of the field order.
    void registerField(const QString &key, QWidget *widget) { m_fields->registerField(key, widget); }
    void keepCase(QLineEdit *edit) { m_fields->keepCase(edit); }

    // F1 in `field` opens the lookup window; the chosen code goes into the field.
    void setLookup(QLineEdit *field, std::function<LookupRequest()> request);

    // Empties every control of the screen: text boxes, check boxes, combo and list
    // boxes, date and time boxes (to their masks), trees and grids.
    void ClearControls();
    // "A" every text and date box in the edit colour, bold; "D" text_0 so and the
    // others in the field colour; "H" text_0 in the field colour, the others in the edit colour.
    void SetFieldColours(QChar mode);
    // Enables or disables every registered field.
    void enableFields(bool enabled) { m_fields->enableFields(enabled); }
    // Moves the focus to the next (or previous) enabled field of the field order.
    void moveFocus(QWidget *from, bool forward) { m_fields->moveFocus(from, forward); }
    // Puts the focus back into a field a check refused, without the field the clerk
    // had moved on to being checked as it is left.
    void returnFocusTo(QWidget *field) { m_fields->returnFocusTo(field); }

    // A screen's keys before the frame's (Esc, the browsing arrows); true when taken.
    virtual bool fieldKey(QWidget *field, QKeyEvent *event);
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool browsingKey(int key);

    FieldFrame *m_fields;
    RecordSet m_rsdisp;
    EditMode m_editMode = EditMode::Browse;
};

} // namespace sw
