// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "masters/recordmasters/recordmasterkind.h"
#include "shell/forms/recordform.h"

namespace sw {

struct MasterRecord;

// The record screen of a master with Kannada texts: degrees, classes of result,
// convocations. One row at a time; the key box looks the row up when it is left in
// edit or delete; Kannada boxes show the legacy font and keep what is typed exactly
// (no upper-casing, no apostrophe change). A delete is confirmed, and refused while
// candidates still use the code.
class RecordMasterForm : public RecordForm
{
    Q_OBJECT
public:
    RecordMasterForm(const FormContext &context, const RecordMasterKind &kind);

    void CmdSave_Click() override;
    void display_record(RecordSet &rows, const QString &tagname) override;
    // The appearance sets every box's font; the Kannada boxes take theirs back after it.
    void activated() override;

    // The font the Kannada boxes request.
    static QString kannadaFont() { return QStringLiteral("BRH Kannada"); }

protected:
    std::optional<BoundSql> recordsetStatement() const override;
    bool fieldKey(QWidget *field, QKeyEvent *event) override;
    void confirmDelete() override;

private:
    void show(const MasterRecord &record);
    MasterRecord typed() const;
    // Reads the row of the typed code in edit and delete; false (and the focus kept)
    // when there is none.
    bool lookUpTypedCode();
    // The check of leaving the key box: in edit and delete it brings the code's row.
    bool leaveKey();
    LookupRequest keyLookup() const;

    const RecordMasterKind &m_kind;
    QList<QLineEdit *> m_boxes;  // text_i: the kind's fields in order
    QLineEdit *m_key = nullptr;  // text_0, the code
    QCheckBox *m_flag = nullptr; // chk_0, when the kind has a flag
};

} // namespace sw
