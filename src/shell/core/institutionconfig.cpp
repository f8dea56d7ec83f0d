// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/institutionconfig.h"

using namespace Qt::StringLiterals;

namespace sw {

InstitutionConfig InstitutionConfig::load(const AppFolder &folder)
{
    InstitutionConfig config;
    const QString path = folder.findFileAnyCase(QString::fromLatin1(kFileName));
    if (path.isEmpty())
        return config;
    auto file = std::make_shared<IniFile>(path, IniFile::Encoding::Utf8);
    if (file->load())
        config.m_file = std::move(file);
    return config;
}

const std::vector<InstitutionConfig::Setting> &InstitutionConfig::layoutSettings()
{
    static const std::vector<Setting> settings = {
        {u"LAYOUT"_s, u"UniversityName"_s,
         u"the university's English name in the preamble of the plain layout (\"... Syndicate of NAME, certify "
         "that\")"_s},
        {u"LAYOUT"_s, u"PreambleKan"_s,
         u"the Kannada preamble at the head of the degree certificates (the Chancellor, the Vice-Chancellor, the "
         "Academic Council and the Syndicate)"_s,
         true},
        {u"LAYOUT"_s, u"Campus"_s, u"the campus line of the address block (plain and current layouts)"_s},
        {u"LAYOUT"_s, u"CampusKan"_s, u"the campus line in Kannada, above it (plain layout)"_s, true},
        {u"LAYOUT"_s, u"PinLine"_s, u"the town and PIN code line of the address block"_s},
        {u"LAYOUT"_s, u"State"_s, u"the state line of the address block"_s},
        {u"LAYOUT"_s, u"StateKan"_s, u"the state in Kannada, before \" / \" and the state (plain layout)"_s, true},
        {u"LAYOUT"_s, u"Country"_s, u"the country line of the address block"_s},
        {u"LAYOUT"_s, u"CountryKan"_s, u"the country in Kannada, before \" / \" and the country (plain layout)"_s,
         true},
        {u"LAYOUT"_s, u"RegNoKan"_s, u"the Kannada caption before \"Reg. No. : \" (current layout)"_s, true},
        {u"LAYOUT"_s, u"ClassKan"_s, u"the Kannada caption before \"Class / Grade : \" (current layout)"_s, true},
        {u"LAYOUT"_s, u"ExamYearKan"_s, u"the Kannada caption before \"Year of Examination : \" (current layout)"_s,
         true},
        {u"LAYOUT"_s, u"ConvoDateKan"_s,
         u"the Kannada caption before \"Date of Convocation : \" (current and doctoral layouts)"_s, true},
        {u"LAYOUT"_s, u"NotificationKan"_s,
         u"the Kannada caption before \"Date of Notification : \" (doctoral layout)"_s, true},
        {u"LAYOUT"_s, u"ConferredKan"_s,
         u"the Kannada phrase after the degree saying it is conferred at the campus town (institution 008)"_s, true},
        {u"LAYOUT"_s, u"PlaceLines"_s,
         u"the place lines under the date of rank, gold-medal and cash-prize certificates, separated by | "
         "(\"Place : \" and [LETTERHEAD] CampusTown when empty)"_s},
        {u"LETTERHEAD"_s, u"CampusTown"_s,
         u"the campus town: \"has been conferred on him (her) at TOWN\" (institution 008) and the place line of the "
         "award certificates"_s},
    };
    return settings;
}

QString InstitutionConfig::templateText(const QString &institutionCode)
{
    QString text = u"; The institution's own texts: titles by institution code, letter heads, signing offices,\r\n"
                   "; and the texts the certificate layouts print. Kannada values are typed in the codes of the\r\n"
                   "; legacy Kannada font (\"Nudi 01 e\"), as the masters keep them.\r\n"
                   "[TITLES]\r\n; "_s
                   + institutionCode + u"=Full name and town of the institution\r\n"_s;
    QString section;
    for (const Setting &s : layoutSettings()) {
        if (s.section != section) {
            section = s.section;
            text += u"\r\n["_s + section + u"]\r\n"_s;
        }
        text += u"; "_s + s.key + u": "_s + s.prints + (s.kannada ? u" (Kannada)"_s : QString()) + u"\r\n; "_s + s.key
                + u"=\r\n"_s;
    }
    // Signing the PDF copies and the DigiLocker upload (the README says how to set them up).
    text += u"\r\n[SIGNING]\r\n"
            "; Database: the NSS certificate database folder (relative: under the application folder)\r\n"
            "; Database=NSS\r\n"
            "; Nickname: the certificate's nickname (Token name:nickname for a USB token)\r\n"
            "; Nickname=\r\n"
            "; SignedSuffix: added to the copy's name for the signed copy (DC_..._signed.pdf)\r\n"
            "; SignedSuffix=_signed\r\n"
            "; Reason, Location: printed in the signature box and kept in the signature\r\n"
            "; Reason=Degree certificate issued by the university\r\n"
            "; Location=\r\n"
            "; Page, BoxLeft, BoxTop, BoxWidth, BoxHeight: the signature box, in inches from the top left\r\n"
            "; Page=1\r\n; BoxLeft=0.5\r\n; BoxTop=10.85\r\n; BoxWidth=2.7\r\n; BoxHeight=0.55\r\n"
            "\r\n[DIGILOCKER]\r\n"
            "; OrgName: ORG_NAME of the upload (the institution's title when empty)\r\n"
            "; OrgName=\r\n"
            "; OrgNameKan: ORG_NAME_L of the upload, the name in Kannada (Kannada)\r\n"
            "; OrgNameKan=\r\n"_s;
    return text;
}

QString InstitutionConfig::title(const QString &institutionCode) const
{
    return value(u"TITLES"_s, institutionCode.trimmed());
}

QString InstitutionConfig::value(const QString &section, const QString &key) const
{
    return m_file ? m_file->value(section, key) : QString();
}

} // namespace sw
