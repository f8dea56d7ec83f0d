// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

// One box of the candidate form and the `convo` column it holds.
struct CandidateField
{
    int box;                // index of the form's text-box array
    QString column;         // column of `convo`
    QString caption;        // the label beside the box
    bool kannada = false;   // 8-bit legacy-font text: stored exactly as typed
    bool keepsCase = false; // the student's name is the one Latin box not forced to upper case
    QString option;         // the command-line option, when it is not the column's name
};

// The option `candidate add` and `edit` take the field's value with ("--fname", "--abc-id").
inline QString optionName(const CandidateField &field) { return field.option.isEmpty() ? field.column : field.option; }

// The stored boxes of the candidate form, in box order.
const std::vector<CandidateField> &candidateFields();
const CandidateField *candidateField(const QString &column);
const CandidateField *candidateFieldAt(int box);

// The order Enter walks through the boxes, and the boxes a save needs filled.
const std::vector<int> &candidateFieldOrder();
bool isMandatoryCandidateBox(int box);

// One candidate (`convo` row) as the form holds it: column name to text, a missing
// column reads as empty.
class CandidateRecord
{
public:
    QString value(const QString &column) const { return m_values.value(column.toLower()); }
    void set(const QString &column, const QString &value) { m_values.insert(column.toLower(), value); }
    QString regno() const { return value(QStringLiteral("fregno")); }
    QString certno() const { return value(QStringLiteral("fcertno")); }
    bool isPrinted() const { return !certno().trimmed().isEmpty(); }

    // What typing would have made of each value: an apostrophe becomes a grave accent
    // in every box, and every Latin box but the name is upper case (Kannada boxes keep
    // their letters: their case is part of the legacy font's encoding).
    CandidateRecord typed() const;

    const QMap<QString, QString> &values() const { return m_values; }

private:
    QMap<QString, QString> m_values;
};

} // namespace sw
