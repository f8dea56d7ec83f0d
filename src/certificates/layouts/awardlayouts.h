// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/layouts/degreelayouts.h"
#include "certificates/printing/printselection.h"
#include "shell/core/appfolder.h"
#include "shell/core/institutionconfig.h"
#include "shell/document/document.h"

#include <QString>

#include <vector>

namespace sw {

class Session;

// One award of the rank register as its certificate prints it: the award joined
// with the candidate, the degree and the convocation.
struct AwardRow
{
    QString regno, name, collCode, degree, descpn, year, classCode, special, univCode, examDate, convoDate, convoCode,
        convoName, rank, donor, subject, amount;

    bool hasSpeciality() const { return !special.trimmed().isEmpty(); }
};

// The rank-register type ("RC", "GC", "CC") an award layout prints; empty for any other layout.
QString awardCertType(LayoutProcedure layout);
bool isAwardLayout(LayoutProcedure layout);
// The printing screen's award types "R", "G" and "C".
bool isAwardType(const QString &certType);

// The unprinted awards of the selection's kind, in the order the stationery is
// fed: ranks by degree, then registration order; medals and prizes by degree,
// college and register number. Degree "99" means every degree, except for cash
// prizes, which are always printed one degree at a time.
std::vector<AwardRow> selectAwardRows(const Session &session, const PrintSelection &selection);
// How many awards selectAwardRows would give.
int countAwardRows(const Session &session, const PrintSelection &selection);

// Composes the rank, gold-medal and cash-prize certificates: a title, then one
// justified paragraph in which the fixed phrases are set in a script face and the
// candidate's values in a display face, the date and the place lines of the
// institution, the registrar's office, the seal and the registrar's signature.
// The place lines are institution data ([LAYOUT] PlaceLines, lines separated by
// "|"; "Place : " and [LETTERHEAD] CampusTown when not given).
class AwardLayouts
{
public:
    AwardLayouts(const Session &session, const PrintSelection &selection);

    // Throws StopError with the layout's message for a rank it cannot word
    // ("error in rank"), a missing university or an amount that is not a number.
    Document compose(LayoutProcedure layout, const AwardRow &row) const;
    // What the award's certificate would print empty or cannot word, one line each.
    QStringList gaps(LayoutProcedure layout, const AwardRow &row) const;
    LayoutNeeds needs() const;
    static QString degreeWithSpeciality(const AwardRow &row);
    // Where the seal stands, in inches from the top; the text keeps above it.
    double sealTop() const { return m_distance ? 6.55 : 6.6; }

private:
    void heading(DocumentBuilder &b, const AwardRow &row, const QString &title) const;
    void closing(DocumentBuilder &b) const;

    const Session &m_session;
    const PrintSelection &m_selection;
    AppFolder m_folder;
    InstitutionConfig m_config;
    bool m_distance = false;
};

} // namespace sw
