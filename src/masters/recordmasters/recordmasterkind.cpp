// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/recordmasters/recordmasterkind.h"

using namespace Qt::StringLiterals;

namespace sw {

const std::vector<RecordMasterKind> &RecordMasterKind::all()
{
    static const std::vector<RecordMasterKind> kinds = {
        {u"DEGREE"_s,
         u"Degree . . ."_s,
         u"DEGREE"_s,
         {{u"FDEGREE"_s, u"Degree"_s, 5, true, false},
          {u"FDESCPN"_s, u"Descpn."_s, 100, true, false},
          {u"FDESCPNKAN"_s, u"Descpn. (Kannada)"_s, 100, true, true},
          {u"FSPECIAL"_s, u"Speciality"_s, 100, false, false},
          {u"FSPECIALKAN"_s, u"Speciality (Kannada)"_s, 100, false, true},
          {u"FCOURSECODE"_s, u"NAD Course Code"_s, 20, false, false},
          {u"FEVENTID"_s, u"NAD Event Id"_s, 20, false, false}},
         u"FCREDIT"_s,
         u"&Credit System"_s,
         u"Invalid Degree"_s,
         u"fdegree as fdegree, fdescpn + case when isnull(fspecial,'')<>'' then ' (' + isnull(fspecial,'') + ')' "
         "else '' end as fdesc"_s,
         u"FDEGREE"_s},
        {u"MASCLASS"_s,
         u"Class . . ."_s,
         u"CLASS"_s,
         {{u"FCLASSCODE"_s, u"Class Code"_s, 4, true, false},
          {u"FCLASSDESC"_s, u"Descpn."_s, 100, true, false},
          {u"FCLASSDESCKAN"_s, u"Descpn. (Kannada)"_s, 100, true, true}},
         {},
         {},
         u"Invalid class"_s,
         u"fclasscode, fclassdesc"_s,
         u"FCLASSCODE"_s},
        {u"MASCONVOKAN"_s,
         u"Convocation . . ."_s,
         u"MASCONVO"_s,
         {{u"FCONVOCODE"_s, u"Convo No."_s, 4, true, false},
          {u"FCONVONAME"_s, u"Descpn."_s, 100, true, false},
          {u"FCONVONAMEKAN"_s, u"Descpn. (Kannada)"_s, 100, true, true},
          {u"FDATE"_s, u"Convocation Date"_s, 50, true, false, true},
          {u"FDATEKAN"_s, u"Convocation date (Kan)"_s, 50, true, true},
          // The examination's month and year in Kannada, for candidates who have none of their own.
          {u"FEXAMDATEKAN"_s, u"Exam date (Kan)"_s, 100, false, true}},
         {},
         {},
         u"Invalid masconvo"_s,
         u"fconvocode, fconvoname"_s,
         u"FCONVOCODE"_s},
    };
    return kinds;
}

const RecordMasterKind *RecordMasterKind::find(const QString &menuCode)
{
    for (const RecordMasterKind &kind : all()) {
        if (kind.menuCode.compare(menuCode, Qt::CaseInsensitive) == 0)
            return &kind;
    }
    return nullptr;
}

} // namespace sw
