// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/candidaterecord.h"
#include "shell/core/legacytext.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

const std::vector<CandidateField> &candidateFields()
{
    static const std::vector<CandidateField> fields = {
        {0, u"fregno"_s, u"Reg. No."_s},
        {1, u"fname"_s, u"Student name"_s, false, true},
        {2, u"fdegree"_s, u"Degree"_s},
        {3, u"fcollcode"_s, u"College"_s},
        {4, u"fclasscode"_s, u"Class"_s},
        {5, u"fsex"_s, u"Sex"_s},
        {6, u"fcaste"_s, u"Caste"_s},
        {7, u"fyear"_s, u"Year"_s},
        {8, u"fexamdate"_s, u"Exam Date"_s},
        {9, u"fcertno"_s, u"Cert. No."_s},
        {10, u"factive"_s, u"Active"_s},
        {11, u"fregisterno"_s, u"Regn. No."_s},
        {15, u"fnamekan"_s, u"Student name (Kan)"_s, true},
        {16, u"fprintord"_s, u"Sl. No."_s},
        {17, u"fconvocode"_s, u"Convocation"_s},
        {18, u"funivcode"_s, u"University"_s},
        {20, u"ffatname"_s, u"Father name"_s},
        {21, u"ffatnamekan"_s, u"Father name (Kan)"_s, true},
        {22, u"fmotname"_s, u"Mother name"_s},
        {23, u"fmotnamekan"_s, u"Mother name (Kan)"_s, true},
        {24, u"fsirname"_s, u"Surname"_s},
        {25, u"fsirnamekan"_s, u"Surname (Kan)"_s, true},
        // Beyond the installed form: the depository's upload needs them for candidates typed in.
        {26, u"fdob"_s, u"Date of Birth"_s},
        {27, u"fexamtype"_s, u"Exam Type"_s},
        // The student's academic account ID (APAAR / ABC ID) the depositories file the degree under.
        {28, u"fabcid"_s, u"ABC ID"_s, false, false, u"abc-id"_s},
    };
    return fields;
}

const CandidateField *candidateField(const QString &column)
{
    for (const CandidateField &f : candidateFields()) {
        if (f.column.compare(column, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

const CandidateField *candidateFieldAt(int box)
{
    for (const CandidateField &f : candidateFields()) {
        if (f.box == box)
            return &f;
    }
    return nullptr;
}

const std::vector<int> &candidateFieldOrder()
{
    static const std::vector<int> order = {0,  1, 15, 24, 25, 20, 21, 22, 23, 2,  3,  4,
                                           18, 5, 6,  7,  8,  27, 26, 28, 9,  11, 10, 17};
    return order;
}

bool isMandatoryCandidateBox(int box)
{
    static const std::vector<int> mandatory = {0, 1, 2, 3, 4, 18, 7, 8, 17};
    return std::find(mandatory.begin(), mandatory.end(), box) != mandatory.end();
}

CandidateRecord CandidateRecord::typed() const
{
    CandidateRecord out;
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        const CandidateField *field = candidateField(it.key());
        const QString v = legacytext::graveApostrophes(it.value());
        // Upper-casing would change the legacy font's glyph codes: Kannada stays as typed.
        const bool keepCase = field && (field->keepsCase || field->kannada);
        out.set(it.key(), keepCase ? v : v.toUpper());
    }
    return out;
}

} // namespace sw
