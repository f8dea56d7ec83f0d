// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/printcheck.h"

#include "certificates/layouts/awardlayouts.h"
#include "certificates/layouts/degreelayouts.h"
#include "certificates/layouts/designerlayout.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/stoperror.h"
#include "shell/document/fonttable.h"
#include "shell/session.h"

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QString pictureRole(const QString &file)
{
    const QString name = file.toLower();
    if (name == u"seal.jpg"_s)
        return u"the seal"_s;
    if (name == u"regsign.jpg"_s)
        return u"the registrar's signature"_s;
    if (name.startsWith(u"img/"_s))
        return u"the watermark of the PDF copies"_s;
    return u"the signature"_s;
}

// What a field of a designed layout is, for the line that says it is empty.
QString fieldName(const QString &field)
{
    static const QHash<QString, QString> names = {{u"{fname}"_s, u"name"_s},
                                                  {u"{fregno}"_s, u"register number"_s},
                                                  {u"{fcollname}"_s, u"college name"_s},
                                                  {u"{fdescpn}"_s, u"degree"_s},
                                                  {u"{fyear}"_s, u"year"_s},
                                                  {u"{fclassdesc}"_s, u"class"_s},
                                                  {u"{fspecial}"_s, u"speciality"_s},
                                                  {u"{fexamdate}"_s, u"exam date"_s},
                                                  {u"{fdate}"_s, u"convocation date"_s}};
    return names.value(field, field);
}

QString fieldValue(const CertificateRow &row, const QString &field)
{
    const QHash<QString, QString> values = {
        {u"{fname}"_s, row.name},       {u"{fregno}"_s, row.regno},       {u"{fcollname}"_s, row.collName},
        {u"{fdescpn}"_s, row.descpn},   {u"{fyear}"_s, row.year},         {u"{fclassdesc}"_s, row.classDesc},
        {u"{fspecial}"_s, row.special}, {u"{fexamdate}"_s, row.examDate}, {u"{fdate}"_s, row.convoDate}};
    return values.value(field, u"-"_s); // {fcertno} is filled by the run
}

QString onReg(const QString &regno, const QString &gap)
{
    // The layouts' own messages that already name the candidate stand as they are, and so do
    // those about the whole convocation.
    return gap.contains(regno) || gap.startsWith(u"Convocation "_s) ? gap : u"Reg. No. "_s + regno + u": "_s + gap;
}

// Each certificate is composed for the check (about a millisecond): one too long for its sheet
// even in 8-point type is found only so, and named here rather than stopping the run. The
// first one composed gives the fonts the layout names.
void composeForCheck(const std::function<Document()> &compose, const QString &regno, QStringList &fonts,
                     QStringList &gaps)
{
    try {
        const Document doc = compose();
        if (fonts.isEmpty()) {
            for (const QString &font : doc.fontNames())
                fonts << font;
        }
    } catch (const StopError &e) {
        gaps << onReg(regno, e.text());
    }
}

} // namespace

PrintCheck::PrintCheck(const Session &session)
    : m_session(session)
{
}

// Names are typed in capitals; one box keeps the case typed, and a name typed there
// in small letters prints so ("Ganesh" beside "RAMA"): the check names it.
static void lowerCaseName(const CertificateRow &row, QStringList &gaps)
{
    const bool lower = std::any_of(row.name.begin(), row.name.end(), [](QChar c) { return c.isLower(); });
    if (lower)
        gaps << u"Reg. No. "_s + row.regno + u": the name \""_s + row.name
                    + u"\" holds small letters and prints as typed; names print in capitals"_s;
}

QStringList PrintCheck::gaps(PrintSelection s) const
{
    s.expandAllRanges();
    QStringList gaps;
    QStringList fonts;
    const LayoutProcedure layout = chooseLayout(m_session.instCode, s);
    try {
        if (isAwardLayout(layout)) {
            const AwardLayouts layouts(m_session, s);
            for (const AwardRow &row : selectAwardRows(m_session, s)) {
                const QStringList missing = layouts.gaps(layout, row);
                for (const QString &gap : missing)
                    gaps << onReg(row.regno, gap);
                if (!missing.isEmpty())
                    continue;
                composeForCheck([&] { return layouts.compose(layout, row); }, row.regno, fonts, gaps);
            }
            const LayoutNeeds needs = layouts.needs();
            settingGaps(needs.settings, gaps);
            pictureGaps(needs.pictures, gaps);
        } else if (layout == LayoutProcedure::Datareport) {
            const DesignerLayout designed(m_session.folder, s.certType);
            const QStringList fields = designed.fields();
            for (const CertificateRow &row : selectCertificateRows(m_session, s, RowOrder::Regno)) {
                lowerCaseName(row, gaps);
                for (const QString &field : fields) {
                    if (fieldValue(row, field).isEmpty())
                        gaps << u"Reg. No. "_s + row.regno + u": the "_s + fieldName(field)
                                    + u" is empty, and the layout prints it ("_s + field + u')';
                }
                for (const QString &field : designed.overflows(row))
                    gaps << u"Reg. No. "_s + row.regno + u": the "_s + fieldName(field)
                                + u" does not fit its box even in 8-point type; it wraps on to the lines below ("_s
                                + field + u')';
                if (fonts.isEmpty()) {
                    for (const QString &font : designed.compose(row, row.certNo).fontNames())
                        fonts << font;
                }
            }
        } else if (layout != LayoutProcedure::None) {
            const DegreeLayouts layouts(m_session, s);
            for (const CertificateRow &row : selectCertificateRows(m_session, s)) {
                lowerCaseName(row, gaps);
                if (layouts.photograph(row.regno).isEmpty())
                    gaps << u"Reg. No. "_s + row.regno + u": no photograph in Photos ("_s + row.regno
                                + u".jpg, .jpeg or .bmp)"_s;
                const QStringList missing = layouts.gaps(layout, row);
                for (const QString &gap : missing)
                    gaps << onReg(row.regno, gap);
                composeForCheck([&] { return layouts.compose(layout, row); }, row.regno, fonts, gaps);
            }
            const LayoutNeeds needs = layouts.needs(layout);
            settingGaps(needs.settings, gaps);
            QStringList pictures = needs.pictures;
            // The watermark is drawn on the PDF copies only: those of the current layout and of mode P.
            if (!keepsPdfCopy(layout) && s.mode != PrintMode::Pdf)
                pictures.removeAll(u"img/mcwm.jpg"_s);
            else if (!pictures.contains(u"img/mcwm.jpg"_s))
                pictures << u"img/mcwm.jpg"_s;
            pictureGaps(pictures, gaps);
        }
    } catch (const StopError &e) {
        gaps << e.text();
    }
    fontGaps(fonts, gaps);
    gaps.removeDuplicates();
    return gaps;
}

void PrintCheck::settingGaps(const QStringList &settings, QStringList &gaps) const
{
    const InstitutionConfig config = InstitutionConfig::load(m_session.folder);
    for (const QString &setting : settings) {
        const QString section = setting.section(u'/', 0, 0);
        const QString key = setting.section(u'/', 1);
        if (!config.value(section, key).isEmpty())
            continue;
        QString prints;
        for (const InstitutionConfig::Setting &known : InstitutionConfig::layoutSettings()) {
            if (known.section == section && known.key == key)
                prints = known.prints;
        }
        gaps << u"["_s + section + u"] "_s + key + u" of "_s + QString::fromLatin1(InstitutionConfig::kFileName)
                    + u" is empty: "_s + prints + u" is left out"_s;
    }
}

void PrintCheck::pictureGaps(const QStringList &pictures, QStringList &gaps) const
{
    for (const QString &picture : pictures) {
        if (m_session.folder.findFileAnyCase(picture).isEmpty())
            gaps << picture + u" is missing from the application folder: "_s + pictureRole(picture) + u" is left out"_s;
    }
}

void PrintCheck::fontGaps(const QStringList &fonts, QStringList &gaps)
{
    for (const QString &font : FontTable::unresolved(fonts))
        gaps << u"The font \""_s + font
                    + u"\" is neither on this machine nor in the program's font table: it is drawn in "_s
                    + FontTable::drawnFamily(font);
}

QString PrintCheck::summary(const QStringList &gaps, int shown)
{
    QStringList lines = gaps.mid(0, shown);
    if (gaps.size() > shown)
        lines << u"... and "_s + QString::number(gaps.size() - shown) + u" more."_s;
    return lines.join(u'\n');
}

} // namespace sw
