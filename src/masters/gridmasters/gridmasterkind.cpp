// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/gridmasters/gridmasterkind.h"

using namespace Qt::StringLiterals;

namespace sw {

const std::vector<GridMasterKind> &GridMasterKind::all()
{
    static const std::vector<GridMasterKind> kinds = {
        {u"MASUNIV"_s, u"University / Autonomous Colleges . . ."_s, u"MASUNIV"_s, u"FUNIVCODE"_s, u"FUNIVNAME"_s,
         u"Univ Code"_s, u"Univ. Name"_s, u"University"_s, 4, 100, false, u"FUNIVCODE"_s},
        {u"COLLEGE"_s, u"Colleges . . ."_s, u"COLLEGE"_s, u"FCOLLCODE"_s, u"FCOLLNAME"_s, u"College Code"_s,
         u"College Name"_s, u"College"_s, 4, 100, false, u"FCOLLCODE"_s},
        {u"CLASS"_s, u"Classes . . ."_s, u"CLASS"_s, u"FCLASSCODE"_s, u"FCLASSDESC"_s, u"Class Code"_s,
         u"Class Description"_s, u"Class"_s, 4, 100, false, u"FCLASSCODE"_s},
        {u"MASCONVO"_s, u"Convocation . . ."_s, u"MASCONVO"_s, u"FCONVOCODE"_s, u"FCONVONAME"_s, u"Convo No."_s,
         u"Description"_s, u"Convocation"_s, 4, 100, true, u"FCONVOCODE"_s},
    };
    return kinds;
}

const GridMasterKind *GridMasterKind::find(const QString &menuCodeOrTable)
{
    for (const GridMasterKind &kind : all()) {
        if (kind.menuCode.compare(menuCodeOrTable, Qt::CaseInsensitive) == 0
            || kind.table.compare(menuCodeOrTable, Qt::CaseInsensitive) == 0)
            return &kind;
    }
    return nullptr;
}

} // namespace sw
