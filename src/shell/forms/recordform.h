// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/sqldialect.h"
#include "shell/forms/childform.h"
#include "shell/forms/frmhlpitem.h"
#include "shell/forms/recordset.h"

#include <QHash>
#include <QString>

#include <functional>
#include <map>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;

namespace sw {

// A data-entry screen: one row of a table at a time, driven by the main window's
// commands through the dispatcher. This is how every record screen is made.
//
// To build one, subclass RecordForm and:
//  1. In the constructor, create the fields with addText / addDate / addCheck (the
//     control arrays text_i, mskdt_i, chk_i inside the frame `Frame`), and set
//     setMandatoryFields("T0,T1") and setFieldOrder("T0,T1,M0"). Register F1
//     lookups on code fields with setLookup(). Fields typed in mixed case (names
//     where the screen says so) are passed to keepCase().
//  2. Implement recordsetStatement() (the rows to browse, ordered by the key),
//     AEDproc(), CmdSave_Click() and display_record(); override cmdsearch_Click()
//     when the screen has a search and resetForm() when its reset differs.
//  3. Register a factory for its menu code in the ScreenRegistry (see screenregistry.h).
//
// What the framework does: on activation it opens `rsdisp`, runs the reset routine
// the first time and restores the screen's toolbar afterwards; typing is upper-cased;
// Enter and Down go to the next field of the field order, Up to the previous one;
// Esc cancels while a change is in progress; the arrow keys move through the rows
// while browsing; F1 opens the lookup; leaving a mandatory field empty while adding
// or editing is refused with "Information should be entered". A screen with a change
// in progress cannot be closed: it must be saved or cancelled first.
class RecordForm : public ChildForm
{
    Q_OBJECT
public:
    RecordForm(const FormContext &context, const QString &formName, const QString &caption,
               QWidget *parent = nullptr);

    // The contract the dispatcher drives (the names the installations know).
    virtual void AEDproc(const QString &operation) = 0;
    virtual void CmdSave_Click() = 0;
    virtual void cmdCancel_Click() { resetForm(); }
    virtual void cmdsearch_Click() {}
    virtual void display_record(RecordSet &rows, const QString &tagname) = 0;
    virtual void cmdExit_Click() { unload(); }

    RecordSet &rsdisp() { return m_rsdisp; }
    // "Z" browsing, "A" adding, "E" editing, "D" deleting.
    QString editMode() const { return m_editMode; }

    void activated() override;
    void deactivated() override {}

    // The field of a key of the field order: "T0" is text_0, "M0" mskdt_0, "C0" chk_0.
    QWidget *field(const QString &key) const;
    QLineEdit *text(int index) const;
    QLineEdit *mskdt(int index) const;
    QCheckBox *chk(int index) const;

    // True when `control` is one of the mandatory fields and is empty (a date box
    // showing "__/__/____" or a time box "__:__" counts as empty).
    bool FieldMissing(QWidget *control) const;

    static QString browseLegend() { return QStringLiteral(" F4-Add, F5-Edit, F7-Delete, Ctl+T-Close "); }
    static QString editLegend() { return QStringLiteral(" F6-Save, F11-Cancel "); }
    static QString resetLegend() { return QStringLiteral(" F4-Add, F5-Edit, F6-Save, F7-Delete, F11-Cancel"); }
    static QString emptyDate() { return QStringLiteral("__/__/____"); }
    static QString emptyTime() { return QStringLiteral("__:__"); }

protected:
    // The statement `rsdisp` is opened with on every activation.
    virtual BoundSql recordsetStatement() const = 0;

    // The reset routine: browsing, fields cleared, disabled and painted, frame
    // disabled, the reset legend, toolbar "N".
    virtual void resetForm();

    void setEditMode(const QString &mode) { m_editMode = mode; }
    void setMandatoryFields(const QString &keys) { m_mandatoryFields = keys; }
    void setFieldOrder(const QString &keys) { m_fieldOrder = keys; }
    QString mandatoryFields() const { return m_mandatoryFields; }
    QString fieldOrder() const { return m_fieldOrder; }

    QGroupBox *frame() const { return m_frame; }
    QLineEdit *addText(int index, const QString &label, const QString &toolTip, int maxLength);
    enum class MaskKind { Date, Time };
    QLineEdit *addDate(int index, const QString &label, const QString &toolTip, MaskKind kind = MaskKind::Date);
    QCheckBox *addCheck(int index, const QString &caption);
    // A field of another kind (a combo box, a grid) under its own key of the field order.
    void registerField(const QString &key, QWidget *widget);
    void keepCase(QLineEdit *edit);

    // F1 in `field` opens the lookup window; the chosen code goes into the field.
    void setLookup(QLineEdit *field, std::function<LookupRequest()> request);

    // Empties every control of the screen: text boxes, check boxes, combo and list
    // boxes, date and time boxes (to their masks), trees and grids.
    void ClearControls();
    // "A" every text and date box in the edit colour, bold; "D" text_0 so and the
    // others in the field colour; "H" text_0 in the field colour, the others in the edit colour.
    void SetFieldColours(QChar mode);
    // Enables or disables every registered field.
    void enableFields(bool enabled);
    // Whether `value` may be used as a key: in mode "A" a row with it is refused
    // ("Code already exists."), in mode "E" a missing one ("Enter valid code.").
    // The table and column names are the screen's own; the values are bound.
    struct CodeCheck
    {
        QString table;
        QString field;
        QString value;
        QString secondField;
        QString secondValue;
        QString order;
        QString message;
    };
    bool CheckCode(const CodeCheck &check, QChar mode);

    // Moves the focus to the next (or previous) enabled field of the field order.
    void moveFocus(QWidget *from, bool forward);
    // Puts the focus back into a field a check refused, without the field the clerk
    // had moved on to being checked as it is left.
    void returnFocusTo(QWidget *field);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *addLabelled(const QString &key, const QString &label, QWidget *widget);
    QString keyOf(const QWidget *widget) const;
    QStringList orderKeys() const;
    void fieldFocused(QWidget *widget);
    void fieldLeft(QWidget *widget);
    void openLookup(QLineEdit *field);
    bool browsingKey(int key);

    RecordSet m_rsdisp;
    QString m_editMode = QStringLiteral("Z");
    QString m_mandatoryFields;
    QString m_fieldOrder;
    QGroupBox *m_frame;
    QGridLayout *m_grid;
    std::map<QString, QWidget *> m_fields;
    QHash<QLineEdit *, std::function<LookupRequest()>> m_lookups;
    int m_nextRow = 0;
    bool m_checkingField = false;
};

} // namespace sw
