// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampleresults.h"

#include "candidates/imports/cnvwriter.h"
#include "shell/db/database.h"

#include <QStringList>

#include <array>

using namespace Qt::StringLiterals;

namespace sw::bench {

namespace {
const std::array<const char16_t *, 12> kGiven = {u"ANANYA", u"BHARATH",   u"CHAITRA", u"DEEPAK",  u"GOWRI",   u"HARISH",
                                                 u"KAVYA",  u"MANJUNATH", u"NAVYA",   u"PRAKASH", u"SHRUTHI", u"VINAY"};
const std::array<const char16_t *, 8> kFamily = {u"GOWDA",  u"D'SOUZA", u"RAO",     u"HEGDE",
                                                 u"SHETTY", u"NAIK",    u"O'BRIEN", u"KUMAR"};
const std::array<const char16_t *, 12> kDegrees = {u"BA",  u"BSC",  u"BCOM", u"BBA", u"BCA", u"MA",
                                                   u"MSC", u"MCOM", u"MBA",  u"BED", u"LLB", u"BE"};
const std::array<const char16_t *, 4> kClasses = {u"FCD", u"FC", u"SC", u"PC"};
const std::array<const char16_t *, 5> kCastes = {u"GM", u"SC", u"ST", u"2A", u"3B"};
} // namespace

void seedSampleMasters(Database &db)
{
    WriteScope scope(db);
    for (const char16_t *d : kDegrees) {
        const QString degree = QString::fromUtf16(d);
        for (const QString &code : {degree, QString(degree + u"H"_s)})
            db.exec(u"insert into degree (fdegree, fdescpn) values (?, ?)"_s, {code, QString(u"DEGREE "_s + code)});
    }
    for (int college = 1; college <= 100; ++college)
        db.exec(u"insert into college (fcollcode, fcollname) values (?, ?)"_s,
                {QString(u"C"_s + QString::number(college).rightJustified(3, u'0')),
                 QString(u"COLLEGE "_s + QString::number(college))});
    for (const char16_t *c : kClasses)
        db.exec(u"insert into class (fclasscode, fclassdesc) values (?, ?)"_s,
                {QString::fromUtf16(c), QString(u"CLASS "_s + QString::fromUtf16(c))});
    scope.commit();
}

void writeSampleResults(const QString &path, int records, bool corrected)
{
    CnvWriter writer(path, CnvWriter::candidateFields(true));
    constexpr int kColleges = 100;
    const int perCollege = std::max(1, (records + kColleges - 1) / kColleges);
    for (int i = 0; i < records; ++i) {
        const int college = i / perCollege, serial = i % perCollege;
        const QString collegeCode = u"C"_s + QString::number(college + 1).rightJustified(3, u'0');
        const QString regno = u"U"_s + QString::number(college + 1).rightJustified(3, u'0')
                              + QString::number(serial).rightJustified(6, u'0');
        const QString degree = QString::fromUtf16(kDegrees[size_t(i % 7 + college % 5)]);
        const QString subdegree = i % 9 == 0 ? degree + u"H"_s : QString();
        const QString name = QString::fromUtf16(kGiven[size_t(i % 12)]) + u' '
                             + QString::fromUtf16(kFamily[size_t((i / 12) % 8)]) + (corrected ? u" K"_s : QString());
        const QString klass = QString::fromUtf16(kClasses[size_t((i + (corrected ? 1 : 0)) % 4)]);
        writer.add({regno, name, degree, subdegree, collegeCode, klass, u"APRIL 2026"_s, u"2026"_s,
                    i % 20 == 0 ? u"S"_s : u"R"_s, i % 2 ? u"M"_s : u"F"_s, QString::fromUtf16(kCastes[size_t(i % 5)]),
                    QString::fromUtf16(kClasses[size_t(i % 4)]), u"B.A. DEGREE EXAMINATION APRIL 2026"_s,
                    u"FATHER "_s + QString::number(i), u"MOTHER "_s + QString::number(i), u"2026"_s, u"1200"_s,
                    QString::number(600 + i % 600)});
    }
    writer.close();
}

} // namespace sw::bench
