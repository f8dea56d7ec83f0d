// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/demo/demofolder.h"

#include "app/demo/throwawaysigner.h"
#include "certificates/layouts/designerlayout.h"
#include "certificates/printing/stationeryledger.h"

#include "reports/nad/digilockerexport.h"
#include "shell/core/csvwriter.h"
#include "shell/core/filewrite.h"
#include "shell/core/helppage.h"
#include "shell/core/passwordcodec.h"
#include "candidates/imports/cnvwriter.h"
#include "shell/batch/batchcommand.h"
#include "shell/core/inifile.h"
#include "shell/core/issuerkey.h"
#include "shell/core/kannadatext.h"
#include "shell/core/stoperror.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/startup/installer.h"
#include "shell/startup/startup.h"
#include "shell/signing/pdfsignature.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <map>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Kannada is written here in Unicode and stored, as the section stores it, in the codes
// of the legacy fonts (the converter writes them).
QString nudi(const QString &unicode) { return kannada::fromUnicode(unicode).text; }

struct Degree
{
    QString code;
    QString description;
    QString special;
    QString descriptionKan;
    QString specialKan;
    QString courseCode;
    QString eventId;
    QString credit;
};

const std::vector<Degree> &degrees()
{
    static const std::vector<Degree> list = {
        {u"BA"_s, u"BACHELOR OF ARTS"_s, {}, nudi(u"ಬಿ.ಎ."_s), {}, u"UG-BA-01"_s, u"EV2025BA"_s, u"T"_s},
        {u"BSC"_s, u"BACHELOR OF SCIENCE"_s, {}, nudi(u"ಬಿ.ಎಸ್.ಸಿ."_s), {}, u"UG-BSC-01"_s, u"EV2025BSC"_s, u"T"_s},
        {u"BCOM"_s, u"BACHELOR OF COMMERCE"_s, {}, nudi(u"ಬಿ.ಕಾಂ."_s), {}, u"UG-BCOM-01"_s, u"EV2025BCOM"_s, u"T"_s},
        {u"MSCPH"_s, u"MASTER OF SCIENCE"_s, u"PHYSICS"_s, nudi(u"ಎಂ.ಎಸ್.ಸಿ."_s), nudi(u"ಭೌತಶಾಸ್ತ್ರ"_s), u"PG-MSC-PH"_s,
         u"EV2025MSCPH"_s, u"T"_s},
        {u"MSCCH"_s, u"MASTER OF SCIENCE"_s, u"CHEMISTRY"_s, nudi(u"ಎಂ.ಎಸ್.ಸಿ."_s), nudi(u"ರಸಾಯನಶಾಸ್ತ್ರ"_s), u"PG-MSC-CH"_s,
         u"EV2025MSCCH"_s, u"T"_s},
        {u"MAKAN"_s, u"MASTER OF ARTS"_s, u"KANNADA"_s, nudi(u"ಎಂ.ಎ."_s), nudi(u"ಕನ್ನಡ"_s), u"PG-MA-KN"_s,
         u"EV2025MAKAN"_s, u"F"_s},
        {u"PHD"_s,
         u"DOCTOR OF PHILOSOPHY"_s,
         {},
         nudi(u"ಡಾಕ್ಟರ್ ಆಫ್ ಫಿಲಾಸಫಿ"_s),
         {},
         u"DR-PHD-01"_s,
         u"EV2025PHD"_s,
         u"F"_s},
    };
    return list;
}

struct College
{
    QString code;
    QString name;
    QString town;
};

const std::vector<College> &colleges()
{
    static const std::vector<College> list = {
        {u"C001"_s, u"GOVERNMENT FIRST GRADE COLLEGE"_s, u"SUVARNAPURA"_s},
        {u"C002"_s, u"VARADA ARTS COLLEGE"_s, u"SUVARNAPURA"_s},
        {u"C003"_s, u"VARADA SCIENCE COLLEGE"_s, u"SUVARNAPURA"_s},
        {u"C004"_s, u"SHARADA COLLEGE OF ARTS AND COMMERCE"_s, u"MALLIGEPURA"_s},
        {u"C005"_s, u"K R SOCIETY`S COLLEGE"_s, u"HONNALLI NAGAR"_s},
        {u"C006"_s, u"TUNGA SCIENCE COLLEGE"_s, u"KERESANTHE"_s},
        {u"C007"_s, u"POST GRADUATE DEPARTMENT"_s, u"SUVARNAPURA"_s},
        {u"C008"_s, u"S V M COLLEGE OF ARTS"_s, u"KOTEBETTA"_s},
    };
    return list;
}

struct ClassOfResult
{
    QString code;
    QString description;
    QString descriptionKan;
};

const std::vector<ClassOfResult> &classes()
{
    // The Kannada class is the word before the noun: the layouts add "ಶ್ರೇಣಿಯಲ್ಲಿ" (in the
    // class of) or "ದರ್ಜೆಯಲ್ಲಿ" (in the grade of) themselves.
    static const std::vector<ClassOfResult> list = {
        {u"FCD"_s, u"FIRST CLASS WITH DISTINCTION"_s, nudi(u"ವಿಶಿಷ್ಟ"_s)},
        {u"FC"_s, u"FIRST CLASS"_s, nudi(u"ಪ್ರಥಮ"_s)},
        {u"SC"_s, u"SECOND CLASS"_s, nudi(u"ದ್ವಿತೀಯ"_s)},
        {u"PC"_s, u"PASS CLASS"_s, nudi(u"ತೇರ್ಗಡೆ"_s)},
    };
    return list;
}

// Name words with their Kannada spelling; the library the name fill draws on.
const std::vector<std::pair<QString, QString>> &nameWords()
{
    static const std::vector<std::pair<QString, QString>> list = [] {
        const std::vector<std::pair<QString, QString>> spelled = {
            {u"ANAND"_s, u"ಆನಂದ್"_s},          {u"BASAVARAJ"_s, u"ಬಸವರಾಜ್"_s},
            {u"CHANDRAKALA"_s, u"ಚಂದ್ರಕಲಾ"_s}, {u"DEEPA"_s, u"ದೀಪಾ"_s},
            {u"GANESH"_s, u"ಗಣೇಶ್"_s},         {u"GEETHA"_s, u"ಗೀತಾ"_s},
            {u"HARISH"_s, u"ಹರೀಶ್"_s},         {u"KAVYA"_s, u"ಕಾವ್ಯ"_s},
            {u"KIRAN"_s, u"ಕಿರಣ್"_s},           {u"LAKSHMI"_s, u"ಲಕ್ಷ್ಮೀ"_s},
            {u"MAHESH"_s, u"ಮಹೇಶ್"_s},         {u"MANJULA"_s, u"ಮಂಜುಳಾ"_s},
            {u"NAGARAJ"_s, u"ನಾಗರಾಜ್"_s},      {u"PALLAVI"_s, u"ಪಲ್ಲವಿ"_s},
            {u"PRAKASH"_s, u"ಪ್ರಕಾಶ್"_s},       {u"RAGHAVENDRA"_s, u"ರಾಘವೇಂದ್ರ"_s},
            {u"RASHMI"_s, u"ರಶ್ಮಿ"_s},          {u"SANTOSH"_s, u"ಸಂತೋಷ್"_s},
            {u"SHWETA"_s, u"ಶ್ವೇತಾ"_s},        {u"SURESH"_s, u"ಸುರೇಶ್"_s},
            {u"VIDYA"_s, u"ವಿದ್ಯಾ"_s},          {u"VINAYAK"_s, u"ವಿನಾಯಕ್"_s},
            {u"PATIL"_s, u"ಪಾಟೀಲ್"_s},         {u"KULKARNI"_s, u"ಕುಲಕರ್ಣಿ"_s},
            {u"HIREMATH"_s, u"ಹಿರೇಮಠ"_s},      {u"DESAI"_s, u"ದೇಸಾಯಿ"_s},
            {u"JOSHI"_s, u"ಜೋಶಿ"_s},           {u"NAIK"_s, u"ನಾಯಕ್"_s},
        };
        std::vector<std::pair<QString, QString>> stored;
        for (const auto &[english, kannadaWord] : spelled)
            stored.emplace_back(english, nudi(kannadaWord));
        return stored;
    }();
    return list;
}

const QStringList &givenNames()
{
    static const QStringList list = {u"ANAND"_s,   u"BASAVARAJ"_s,  u"CHANDRAKALA"_s, u"DEEPA"_s,   u"GANESH"_s,
                                     u"GEETHA"_s,  u"HARISH"_s,     u"KAVYA"_s,       u"KIRAN"_s,   u"LAKSHMI"_s,
                                     u"MAHESH"_s,  u"MANJULA"_s,    u"NAGARAJ"_s,     u"PALLAVI"_s, u"PRAKASH"_s,
                                     u"RASHMI"_s,  u"SANTOSH"_s,    u"SHWETA"_s,      u"SURESH"_s,  u"VIDYA"_s,
                                     u"VINAYAK"_s, u"RAGHAVENDRA"_s};
    return list;
}

const QStringList &familyNames()
{
    static const QStringList list = {u"PATIL"_s, u"KULKARNI"_s, u"HIREMATH"_s, u"DESAI"_s, u"JOSHI"_s, u"NAIK"_s};
    return list;
}

bool isFemale(const QString &given)
{
    static const QStringList female = {u"CHANDRAKALA"_s, u"DEEPA"_s,   u"GEETHA"_s, u"KAVYA"_s,  u"LAKSHMI"_s,
                                       u"MANJULA"_s,     u"PALLAVI"_s, u"RASHMI"_s, u"SHWETA"_s, u"VIDYA"_s};
    return female.contains(given);
}

QString kannadaOf(const QString &englishName)
{
    QStringList words;
    for (const QString &word : englishName.split(u' ', Qt::SkipEmptyParts)) {
        for (const auto &[eng, kan] : nameWords()) {
            if (eng == word)
                words.append(kan);
        }
    }
    return words.join(u' ');
}

// Where a candidate is on its road through the section.
enum class Stage { Imported, FeeVerified, Active, Printed, Cancelled };

// The cancelled candidates' old sheets.
constexpr int kCancelledSheets = 20;

Stage stageOf(int index)
{
    // 300 candidates: 60 imported, 50 fee verified, 60 active, 110 printed, 20 cancelled.
    if (index < 60)
        return Stage::Imported;
    if (index < 110)
        return Stage::FeeVerified;
    if (index < 170)
        return Stage::Active;
    if (index < 280)
        return Stage::Printed;
    return Stage::Cancelled;
}

class DemoWriter
{
public:
    DemoWriter(const AppFolder &folder, Database &db)
        : m_folder(folder)
        , m_db(db)
        , m_random(20251206)
    {
    }

    void writeSettings();
    void writeMasters();
    void writeCandidates(QStringList &lines);
    void writeAwards(QStringList &lines);
    void writePictures(QStringList &lines);
    void writeInstitutionFile();
    void writeSigning(QStringList &lines);
    void writeVerification(QStringList &lines);
    void writeStationery(QStringList &lines);
    void writeResultFiles(QStringList &lines);

private:
    void writePhotograph(const QString &regno, const QString &name, const QString &extension);
    void writeSignature(const QString &file, const QString &text);

    const AppFolder &m_folder;
    Database &m_db;
    QRandomGenerator m_random;
    std::vector<std::pair<QString, QString>> m_photographed; // register number, name
    // The candidates as result-file rows, by convocation, so the demo can be refilled by importing them.
    std::map<QString, std::vector<QStringList>> m_resultRows;
    struct CancelledSheet
    {
        QString certNo, regno, degree, college, convocation;
    };
    std::vector<CancelledSheet> m_cancelled;
};

void DemoWriter::writeSettings()
{
    m_db.exec(u"update control set fcompany = ?, fadd1 = ?, fadd2 = ?, fadd3 = ?, fadd4 = ?, fphone = ?, "
              "femail = ?, fsignauth1 = ?, fsignauth2 = ?, ffontsize = ?, fconvdate = ?, fdegkan = ?, "
              "fnadid = ?"_s,
              {u"VARADA UNIVERSITY"_s, u"VIDYA NAGAR"_s, u"SUVARNAPURA - 599 001"_s, u"KARNATAKA"_s, u"INDIA"_s,
               u"0000-000000"_s, u"registrar@example.edu"_s, u"REGISTRAR (EVALUATION)"_s, u"VICE-CHANCELLOR"_s, u"8"_s,
               QDate(2025, 12, 20), u"T"_s, u"NAD003001"_s});
}

void DemoWriter::writeMasters()
{
    m_db.exec(u"insert into masuniv (funivcode, funivname, fdeleted) values (?, ?, 'F')"_s,
              {u"003"_s, u"VARADA UNIVERSITY, SUVARNAPURA"_s});
    m_db.exec(u"insert into masuniv (funivcode, funivname, fdeleted) values (?, ?, 'F')"_s,
              {u"027"_s, u"VARADA SCIENCE COLLEGE (AUTONOMOUS), SUVARNAPURA"_s});

    m_db.exec(u"insert into masconvo (fconvocode, fconvoname, fdate, factive, fdatekan, fconvonamekan, fdeleted) "
              "values (?, ?, ?, ?, ?, ?, 'F')"_s,
              {DemoFolder::previousConvocation(), u"74TH"_s, u"15/12/2024"_s, u"F"_s, QVariant(), QVariant()});
    // The layouts add "ಘಟಿಕೋತ್ಸವದಲ್ಲಿ" (at the convocation) to the Kannada name.
    m_db.exec(u"insert into masconvo (fconvocode, fconvoname, fdate, factive, fdatekan, fconvonamekan, fdeleted, "
              "fexamdatekan) values (?, ?, ?, ?, ?, ?, 'F', ?)"_s,
              {DemoFolder::currentConvocation(), u"75TH"_s, u"20/12/2025"_s, u"T"_s, nudi(u"20 ಡಿಸೆಂಬರ್ 2025"_s),
               nudi(u"75ನೇ"_s), nudi(u"ಏಪ್ರಿಲ್ 2025"_s)});

    Statement degree =
        m_db.prepare(u"insert into degree (fdegree, fdescpn, fspecial, fdeleted, fdescpnkan, fspecialkan, fcoursecode, "
                     "feventid, fcredit) values (?, ?, ?, 'F', ?, ?, ?, ?, ?)"_s);
    for (const Degree &d : degrees())
        degree.exec(
            {d.code, d.description, d.special, d.descriptionKan, d.specialKan, d.courseCode, d.eventId, d.credit});

    Statement college =
        m_db.prepare(u"insert into college (fcollcode, fcollname, fdeleted, ftown) values (?, ?, 'F', ?)"_s);
    for (const College &c : colleges())
        college.exec({c.code, c.name, c.town});

    Statement klass =
        m_db.prepare(u"insert into class (fclasscode, fclassdesc, fclassdesckan, fdeleted) values (?, ?, ?, 'F')"_s);
    for (const ClassOfResult &c : classes())
        klass.exec({c.code, c.description, c.descriptionKan});

    Statement library = m_db.prepare(u"insert into kanlib (fengname, fkanname) values (?, ?)"_s);
    for (const auto &[eng, kan] : nameWords())
        library.exec({eng, kan});
    // Exam dates are kept in the library too, so the name fill can turn them into Kannada.
    library.exec({u"APRIL 2025"_s, nudi(u"ಏಪ್ರಿಲ್ 2025"_s)});
    library.exec({u"OCTOBER 2024"_s, nudi(u"ಅಕ್ಟೋಬರ್ 2024"_s)});

    m_db.exec(u"insert into autocorrect (freplace, fwith, fdelete) values (?, ?, 'F')"_s, {u"KUMARI"_s, u"KUM."_s});

    // A clerk who enters and finds candidates, lists them and changes his own password, and nothing else.
    m_db.exec(u"insert into masuser (fusername, fpasswd, fpermission, fsection, fdeleted) values (?, ?, ?, ?, 'F')"_s,
              {u"CLERK"_s, passwords::encodeUser(u"CLERK"_s), u"N2*N22*N27*N3*N31*N4*N42*"_s, u"A"_s});
}

void DemoWriter::writeCandidates(QStringList &lines)
{
    Statement candidate = m_db.prepare(
        u"insert into convo (fregno, fname, fdegree, fsubdegree, fcollcode, fclasscode, fexamdate, fyear, "
        "fexamtype, fsex, fcaste, fcertno, fprex, factive, fdate, fmanual, fspecial, fusername, fprintedby, "
        "fconvocode, fphotopaste, fprintord, fnamekan, fkanupdated, fexamdatekan, funivcode, ffatname, "
        "ffatnamekan, fmotname, fmotnamekan, fsirname, fsirnamekan, fdob, fmobile, femail, faddr1, faddr2, "
        "faddr3, faddr4, ffeepaid, fprintdate, fprinttime, fabcid) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    Statement cancellation =
        m_db.prepare(u"insert into certcan (fdegree, fcollcode, fregno, fcertno, fdate, ftime, fremarks, fusername, "
                     "fprintedby, fdeleted) values (?, ?, ?, ?, ?, ?, ?, ?, ?, 'F')"_s);
    Statement fee = m_db.prepare(
        u"insert into convofee (fappno, fregno, fname, fdob, fmobile, femail, faddr1, faddr2, faddr3, faddr4, "
        "famount, fregdate, fpaytype, fpaystatus, fpaydate, ftranid, fcity, fstate, fpincode, fdeleted) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'F')"_s);

    static const QStringList castes = {u"GM"_s, u"2A"_s, u"3B"_s, u"SC"_s, u"ST"_s, u"CAT-1"_s};
    int serial = 0;
    int certificate = 101;
    // Certificates cancelled were printed on sheets before the printed ones.
    int cancelledNumber = 101 - kCancelledSheets;
    int counts[5] = {};
    for (int i = 0; i < DemoFolder::kCandidates; ++i) {
        const Stage stage = stageOf(i);
        ++counts[int(stage)];
        const Degree &degree = degrees()[size_t(i) % degrees().size()];
        const bool postGraduate = !degree.special.isEmpty() || degree.code == u"PHD"_s;
        const College &college = postGraduate ? colleges()[6] : colleges()[size_t(i) % 6];
        const ClassOfResult &klass = classes()[size_t(m_random.bounded(int(classes().size())))];
        const QString given = givenNames()[int(m_random.bounded(givenNames().size()))];
        const QString family = familyNames()[int(m_random.bounded(familyNames().size()))];
        const QString father = givenNames()[int(m_random.bounded(givenNames().size()))];
        const QString name = given + u' ' + family;
        const bool female = isFemale(given);
        // Register numbers: university prefix, college number, year, running number.
        const QString regno =
            u"2KD"_s + college.code.right(2) + u"21"_s + QString::number(i + 1).rightJustified(3, u'0');
        const bool previous =
            stage == Stage::Printed && i >= 250; // the last printed ones belong to the old convocation
        const QString convocation = previous ? DemoFolder::previousConvocation() : DemoFolder::currentConvocation();
        const QString examDate = previous ? u"OCTOBER 2024"_s : u"APRIL 2025"_s;
        const QString examDateKan = nudi(previous ? u"ಅಕ್ಟೋಬರ್ 2024"_s : u"ಏಪ್ರಿಲ್ 2025"_s);
        const QString year = previous ? u"2024"_s : u"2025"_s;

        const bool feePaid = stage != Stage::Imported;
        const bool active = stage == Stage::Active || stage == Stage::Printed || stage == Stage::Cancelled;
        QVariant printOrder;
        if (active)
            printOrder = QString::number(++serial).rightJustified(5, u'0');
        QVariant certNo, issueDate, printDate, printTime, printedBy, prefix;
        if (stage == Stage::Printed) {
            prefix = u"DC"_s;
            certNo = QString(u"DC"_s + QString::number(certificate++).rightJustified(6, u'0'));
            issueDate = previous ? QDate(2024, 12, 15) : QDate(2025, 12, 20);
            printDate = previous ? QDate(2024, 12, 2) : QDate(2025, 12, 1 + i % 5);
            printTime = QStringLiteral("%1:%2:%3")
                            .arg(10 + i % 6, 2, 10, QChar(u'0'))
                            .arg(i % 60, 2, 10, QChar(u'0'))
                            .arg((i * 7) % 60, 2, 10, QChar(u'0'));
            printedBy = u"ADMIN"_s;
        }
        const bool kannadaDone = stage == Stage::Printed || (stage == Stage::Active && i % 2 == 0);
        const QString mobile = u"9"_s + QString::number(845000000 + i * 7919).right(9);
        const QString email = given.toLower() + u'.' + family.toLower() + QString::number(i + 1) + u"@example.in"_s;
        const QString address1 = QString::number(1 + i % 90) + u", "_s + family + u" ONI"_s;
        // Most students have given their ABC ID; every sixth has not yet (report abc-missing lists them).
        const QVariant abcId = i % 6 == 5 ? QVariant() : QVariant(QString::number(500000000000LL + qint64(i) * 799819));
        candidate.exec({regno,
                        name,
                        degree.code,
                        QVariant(),
                        college.code,
                        klass.code,
                        examDate,
                        year,
                        u"1"_s,
                        female ? u"F"_s : u"M"_s,
                        castes[i % castes.size()],
                        certNo,
                        prefix,
                        active ? u"T"_s : u"F"_s,
                        issueDate,
                        u"F"_s,
                        QVariant(),
                        u"ADMIN"_s,
                        printedBy,
                        convocation,
                        stage == Stage::Printed ? u"T"_s : u"F"_s,
                        printOrder,
                        kannadaDone ? kannadaOf(name) : QString(),
                        kannadaDone ? u"T"_s : u"F"_s,
                        kannadaDone ? examDateKan : QString(),
                        u"003"_s,
                        QString(father + u' ' + family),
                        kannadaDone ? kannadaOf(QString(father + u' ' + family)) : QString(),
                        QVariant(),
                        QVariant(),
                        family,
                        kannadaDone ? kannadaOf(family) : QString(),
                        QStringLiteral("%1/%2/%3")
                            .arg(1 + i % 28, 2, 10, QChar(u'0'))
                            .arg(1 + i % 12, 2, 10, QChar(u'0'))
                            .arg(1999 + i % 5),
                        mobile,
                        email,
                        address1,
                        college.town,
                        u"KARNATAKA"_s,
                        QString::number(580001 + i % 30),
                        feePaid ? u"T"_s : u"F"_s,
                        printDate,
                        printTime,
                        abcId});

        // Class both as the file import reads it and as the directory run reads it for this institution.
        m_resultRows[convocation].push_back({regno, name, degree.code, QString(), college.code, klass.code, examDate,
                                             year, u"1"_s, female ? u"F"_s : u"M"_s, castes[i % castes.size()],
                                             klass.code, examDate, QString(father + u' ' + family), QString(), year,
                                             QString(), QString()});

        if (stage == Stage::Cancelled) {
            // Printed once, spoiled or wrongly printed, and cancelled: the register keeps the old
            // number, and the candidate waits to be printed again.
            const QString oldNumber = u"DC"_s + QString::number(cancelledNumber++).rightJustified(6, u'0');
            m_cancelled.push_back({oldNumber, regno, degree.code, college.code, convocation});
            cancellation.exec({degree.code, college.code, regno, oldNumber, QDate(2025, 12, 3), u"11:15:00"_s,
                               i % 2 ? u"NAME SPELT WRONGLY"_s : u"SHEET TORN IN PRINTER"_s, u"ADMIN"_s, u"ADMIN"_s});
        }
        if (feePaid && i % 3 == 0) {
            fee.exec({QStringLiteral("APP%1").arg(i + 1, 5, 10, QChar(u'0')), regno, name, QVariant(), mobile, email,
                      address1, college.town, u"KARNATAKA"_s, QVariant(), 750.0, QDate(2025, 10, 1 + i % 28),
                      u"ONLINE"_s, u"SUCCESS"_s, u"02/10/2025"_s, QStringLiteral("TXN%1").arg(900000 + i * 13),
                      college.town, u"KARNATAKA"_s, QString::number(580001 + i % 30)});
        }
        // Most candidates have handed in a photograph; a few have not.
        if (i % 10 != 7)
            m_photographed.emplace_back(regno, name);
    }
    lines.append(QStringLiteral("candidates: %1 imported, %2 fee verified, %3 active, %4 printed, %5 cancelled")
                     .arg(counts[0])
                     .arg(counts[1])
                     .arg(counts[2])
                     .arg(counts[3])
                     .arg(counts[4]));
}

void DemoWriter::writePhotograph(const QString &regno, const QString &name, const QString &extension)
{
    QImage image(150, 190, QImage::Format_RGB32);
    const int hue = int(qHash(regno) % 360);
    image.fill(QColor::fromHsv(hue, 40, 235));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromHsv(hue, 90, 120));
    p.drawEllipse(QRect(45, 30, 60, 70));
    p.drawRoundedRect(QRect(20, 110, 110, 90), 40, 40);
    p.setPen(Qt::white);
    QFont font(u"DejaVu Sans"_s, 9, QFont::Bold);
    p.setFont(font);
    QStringList initials;
    for (const QString &word : name.split(u' ', Qt::SkipEmptyParts))
        initials.append(word.left(1));
    p.drawText(QRect(0, 150, 150, 20), Qt::AlignCenter, initials.join(QString()));
    p.setPen(Qt::black);
    p.drawText(QRect(0, 172, 150, 16), Qt::AlignCenter, regno);
    p.end();
    image.save(m_folder.filePath(u"Photos/"_s + regno + u'.' + extension), "JPG", 85);
}

void DemoWriter::writeSignature(const QString &file, const QString &text)
{
    QImage image(330, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(20, 30, 110));
    pen.setWidth(3);
    p.setPen(pen);
    QPainterPath path(QPointF(20, 80));
    for (int x = 20; x < 300; x += 20)
        path.quadTo(QPointF(x + 10, (x / 20) % 2 ? 30 : 100), QPointF(x + 20, 70));
    p.drawPath(path);
    p.setFont(QFont(u"DejaVu Sans"_s, 9));
    p.drawText(QRect(0, 95, 330, 20), Qt::AlignCenter, text);
    p.end();
    image.save(m_folder.filePath(file), "JPG", 90);
}

// Ranks of BA, gold medals and a cash prize, for the award certificates to print.
void DemoWriter::writeAwards(QStringList &lines)
{
    Statement award = m_db.prepare(
        u"insert into rankreg (fdegree, fregno, frank, fconvocode, fcerttype, fdonername, fsubject, famount, fdate, "
        "ftime, fremarks, fusername, fslno) values (?, ?, ?, ?, ?, ?, ?, ?, ?, '10:30 am', ?, 'ADMIN', ?)"_s);
    Statement marked =
        m_db.prepare(u"update convo set frank = ? where fregno = ? and fdegree = ? and fconvocode = ?"_s);
    const QString convocation = DemoFolder::currentConvocation();
    auto firstActive = [&](const QString &degree, int count) {
        QStringList regnos;
        Rows rows = m_db.query(u"select fregno from convo where fdegree = ? and fconvocode = ? and factive = 'T' "
                               "order by fregno"_s,
                               {degree, convocation});
        while (rows.next() && regnos.size() < count)
            regnos << rows.text(0);
        return regnos;
    };
    const QStringList ranked = firstActive(u"BA"_s, 3);
    static const QStringList numerals = {u"I"_s, u"II"_s, u"III"_s};
    for (int i = 0; i < ranked.size(); ++i) {
        award.exec({u"BA"_s, ranked[i], numerals[i], convocation, u"RC"_s, QVariant(), QVariant(), QVariant(),
                    QDate(2025, 11, 20), QVariant(), i + 1});
        marked.exec({numerals[i], ranked[i], u"BA"_s, convocation});
    }
    const QStringList science = firstActive(u"BSC"_s, 1);
    if (!ranked.isEmpty()) {
        award.exec({u"BA"_s, ranked[0], QVariant(), convocation, u"GC"_s, u"Sri Basavaraj Katti Gold Medal"_s,
                    u"HISTORY"_s, QVariant(), QDate(2025, 11, 20), u"highest marks in History"_s, 1});
        award.exec({u"BA"_s, ranked.last(), QVariant(), convocation, u"CC"_s, u"Smt. Kamala Endowment Prize"_s,
                    u"KANNADA"_s, u"5000"_s, QDate(2025, 11, 20), QVariant(), 2});
    }
    if (!science.isEmpty())
        award.exec({u"BSC"_s, science[0], QVariant(), convocation, u"GC"_s, u"Suvarna Jubilee Gold Medal"_s,
                    u"PHYSICS"_s, QVariant(), QDate(2025, 11, 20), QVariant(), 1});
    lines.append(QStringLiteral("awards: %1 ranks of BA, %2 gold medals, 1 cash prize in rankreg")
                     .arg(ranked.size())
                     .arg(science.isEmpty() ? 1 : 2));
}

void DemoWriter::writePictures(QStringList &lines)
{
    QDir().mkpath(m_folder.filePath(u"Photos"_s));
    // Photographs arrive with their extensions in any letter case.
    static const QStringList extensions = {u"jpg"_s, u"JPG"_s, u"jpeg"_s, u"Jpg"_s};
    int n = 0;
    for (const auto &[regno, name] : m_photographed)
        writePhotograph(regno, name, extensions[n++ % extensions.size()]);
    lines.append(QStringLiteral("photographs: %1 in Photos/").arg(m_photographed.size()));

    QImage seal(220, 220, QImage::Format_ARGB32);
    seal.fill(Qt::white);
    {
        QPainter p(&seal);
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen(QColor(150, 20, 20));
        pen.setWidth(6);
        p.setPen(pen);
        p.drawEllipse(QRect(10, 10, 200, 200));
        pen.setWidth(2);
        p.setPen(pen);
        p.drawEllipse(QRect(35, 35, 150, 150));
        p.setFont(QFont(u"DejaVu Serif"_s, 14, QFont::Bold));
        p.drawText(QRect(35, 35, 150, 150), Qt::AlignCenter, u"SEAL OF\nTHE\nUNIVERSITY"_s);
    }
    seal.save(m_folder.filePath(u"seal.jpg"_s), "JPG", 90);
    writeSignature(u"vc.jpg"_s, u"Vice-Chancellor (facsimile)"_s);
    writeSignature(u"vcm.jpg"_s, u"Vice-Chancellor"_s);
    writeSignature(u"regsign.jpg"_s, u"Registrar"_s);

    // Labels are white on the screens, so the picture behind them is dark; it is
    // as large as a wide desktop so that it does not show a tile's edge.
    QImage background(1920, 1200, QImage::Format_RGB32);
    {
        QPainter p(&background);
        QLinearGradient gradient(0, 0, 1920, 1200);
        gradient.setColorAt(0, QColor(0, 112, 112));
        gradient.setColorAt(1, QColor(0, 72, 88));
        p.fillRect(background.rect(), gradient);
    }
    background.save(m_folder.filePath(u"backpic.jpg"_s), "JPG", 85);

    QDir().mkpath(m_folder.filePath(u"img"_s));
    QImage watermark(850, 1169, QImage::Format_RGB32);
    watermark.fill(Qt::white);
    {
        QPainter p(&watermark);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(200, 205, 225), 10));
        p.drawEllipse(QRect(175, 335, 500, 500));
        p.setFont(QFont(u"DejaVu Serif"_s, 40, QFont::Bold));
        p.drawText(QRect(175, 335, 500, 500), Qt::AlignCenter, u"KU"_s);
    }
    watermark.save(m_folder.filePath(u"img/mcwm.jpg"_s), "JPG", 85);
    lines.append(u"pictures: seal.jpg, vc.jpg, vcm.jpg, regsign.jpg, backpic.jpg, img/mcwm.jpg"_s);

    for (const QString &dir : {u"CSV"_s, u"CSV/DCPDF"_s, u"Backup"_s, u"Output"_s, u"DBFS"_s})
        QDir().mkpath(m_folder.filePath(dir));
}

void DemoWriter::writeInstitutionFile()
{
    IniFile ini(m_folder.filePath(u"Institution.ini"_s), IniFile::Encoding::Utf8);
    ini.load();
    // A demonstration names no real institution: the university, its town and its colleges are made up.
    ini.setValue(u"TITLES"_s, u"003"_s, u"Varada University, Suvarnapura"_s);
    ini.setValue(u"TITLES"_s, u"008"_s, u"Malaprabha Women's University, Kalyanapura"_s);
    ini.setValue(u"TITLES"_s, u"001"_s, u"Demonstration University, Suvarnapura"_s);
    ini.setValue(u"LETTERHEAD"_s, u"NameKan"_s, nudi(u"ವರದಾ ವಿಶ್ವವಿದ್ಯಾನಿಲಯ"_s));
    ini.setValue(u"LETTERHEAD"_s, u"Line1"_s, u"VARADA UNIVERSITY"_s);
    ini.setValue(u"LETTERHEAD"_s, u"Line2"_s, u"Vidya Nagar, Suvarnapura - 599 001"_s);
    ini.setValue(u"LETTERHEAD"_s, u"ReferencePrefix"_s, u"VU/EXAM/CONVO"_s);
    ini.setValue(u"LETTERHEAD"_s, u"SigningOffice"_s, u"Registrar (Evaluation)"_s);
    ini.setValue(u"LETTERHEAD"_s, u"CampusTown"_s, u"Suvarnapura"_s);
    if (!ini.save())
        throw StopError(u"The institution file "_s + ini.path() + u" cannot be written: "_s + ini.errorString());
}

// Signing and the DigiLocker upload: a throw-away certificate in NSS/ (PIN "DEMO")
// named in the institution file, and the upload template with its default columns.
void DemoWriter::writeSigning(QStringList &lines)
{
    writeWholeFile(m_folder.filePath(QString::fromLatin1(DigiLockerExport::kTemplateFile)),
                   csv::record(DigiLockerExport::defaultColumns()) + "\r\n");
    if (!ThrowAwaySigner::certutilAvailable()) {
        lines.append(u"signing: certutil (libnss3-tools) is not installed, so no certificate was made"_s);
        return;
    }
    const ThrowAwaySigner signer =
        ThrowAwaySigner::make(m_folder.filePath(u"NSS"_s), u"DEMO"_s, u"Demonstration Registrar"_s);
    IniFile ini(m_folder.filePath(u"Institution.ini"_s), IniFile::Encoding::Utf8);
    ini.load();
    const QString section = QString::fromLatin1(SignatureSettings::kSection);
    ini.setValue(section, u"Database"_s, u"NSS"_s);
    ini.setValue(section, u"Nickname"_s, signer.nickname);
    ini.setValue(section, u"Location"_s, u"Suvarnapura"_s);
    ini.setValue(u"DIGILOCKER"_s, u"OrgNameKan"_s, nudi(u"ವರದಾ ವಿಶ್ವವಿದ್ಯಾನಿಲಯ"_s));
    if (!ini.save())
        throw StopError(u"The institution file "_s + ini.path() + u" cannot be written: "_s + ini.errorString());
    lines.append(u"signing: a throw-away certificate \""_s + signer.nickname + u"\" in NSS/, PIN "_s + signer.pin
                 + u"; DigiLocker.csv holds the upload's columns"_s);
}

// The verification code: the institution's key pair (passphrase "DEMO") and a code on every
// sheet and copy, clear of the current layout's text, linking to a page the demo can write.
void DemoWriter::writeVerification(QStringList &lines)
{
    IssuerKey::create(m_folder, "DEMO");
    IniFile ini(m_folder.filePath(u"Institution.ini"_s), IniFile::Encoding::Utf8);
    ini.load();
    ini.setValue(u"VERIFICATION"_s, u"Left"_s, u"6.6"_s);
    ini.setValue(u"VERIFICATION"_s, u"Top"_s, u"0.6"_s);
    ini.setValue(u"VERIFICATION"_s, u"Size"_s, u"1.3"_s);
    ini.setValue(u"VERIFICATION"_s, u"PageUrl"_s, u"https://verify.varada.example/"_s);
    if (!ini.save())
        throw StopError(u"The institution file "_s + ini.path() + u" cannot be written: "_s + ini.errorString());
    lines.append(u"verification code: a key pair in Keys/ (passphrase DEMO, typed before the signing PIN); "
                 "verify-page --out DIR writes the page the codes link to"_s);
}

// The printing run's side of the demo: the sheets already printed are in the
// stationery register, the name library knows the exam date the plain layout
// prints in Kannada, the layout texts of the certificate are in the institution
// file and the designed layouts of institution 001 are there to try.
void DemoWriter::writeStationery(QStringList &lines)
{
    WriteScope scope(m_db);
    if (!m_db.exists(u"select 1 from kanlib where fengname = 'APRIL 2025'"_s))
        m_db.exec(u"insert into kanlib (fengname, fkanname) values ('APRIL 2025', ?)"_s, {nudi(u"ಏಪ್ರಿಲ್ 2025"_s)});
    Rows printed = m_db.query(u"select fcertno, fregno, fdegree, fcollcode, fconvocode from convo where "
                              "coalesce(fcertno, '') <> '' order by fcertno"_s);
    struct Sheet
    {
        QString certNo;
        SheetHolder holder;
        QString convoCode;
    };
    std::vector<Sheet> sheets;
    while (printed.next()) {
        Sheet sheet;
        sheet.certNo = printed.text(0);
        sheet.holder.regno = printed.text(1);
        sheet.holder.degree = printed.text(2);
        sheet.holder.college = printed.text(3);
        sheet.convoCode = printed.text(4);
        sheets.push_back(sheet);
    }
    for (const Sheet &sheet : sheets) {
        StationeryLedger ledger(m_db, sheet.convoCode, u"ADMIN"_s, u"DEMO"_s);
        ledger.recordEarlierSheet(u"DC"_s, sheet.certNo.mid(2).toLongLong(), StationeryLedger::State::Printed, u"1"_s,
                                  sheet.holder, u"demonstration"_s);
    }
    // The sheets of the certificates cancelled since: void, given to nobody again.
    for (const CancelledSheet &c : m_cancelled) {
        StationeryLedger ledger(m_db, c.convocation, u"ADMIN"_s, u"DEMO"_s);
        SheetHolder holder;
        holder.regno = c.regno;
        holder.degree = c.degree;
        holder.college = c.college;
        ledger.recordEarlierSheet(u"DC"_s, c.certNo.mid(2).toLongLong(), StationeryLedger::State::Void, u"1"_s, holder,
                                  u"demonstration: cancelled"_s);
    }
    scope.commit();

    IniFile ini(m_folder.filePath(u"Institution.ini"_s), IniFile::Encoding::Utf8);
    ini.load();
    ini.setValue(u"LAYOUT"_s, u"UniversityName"_s, u"Varada University, Suvarnapura"_s);
    ini.setValue(u"LAYOUT"_s, u"PreambleKan"_s,
                 nudi(u"ವರದಾ ವಿಶ್ವವಿದ್ಯಾನಿಲಯದ ಕುಲಾಧಿಪತಿಗಳು, ಕುಲಪತಿಗಳು, ವಿದ್ಯಾವಿಷಯಕ ಪರಿಷತ್ತು ಮತ್ತು "
                      "ಸಿಂಡಿಕೇಟ್ ಸದಸ್ಯರಾದ ನಾವು"_s));
    ini.setValue(u"LAYOUT"_s, u"Campus"_s, u"Vidya Nagar"_s);
    ini.setValue(u"LAYOUT"_s, u"CampusKan"_s, nudi(u"ವಿದ್ಯಾನಗರ"_s));
    ini.setValue(u"LAYOUT"_s, u"PinLine"_s, u"Suvarnapura - 599 001"_s);
    ini.setValue(u"LAYOUT"_s, u"State"_s, u"Karnataka"_s);
    ini.setValue(u"LAYOUT"_s, u"StateKan"_s, nudi(u"ಕರ್ನಾಟಕ"_s));
    ini.setValue(u"LAYOUT"_s, u"Country"_s, u"India"_s);
    ini.setValue(u"LAYOUT"_s, u"CountryKan"_s, nudi(u"ಭಾರತ"_s));
    ini.setValue(u"LAYOUT"_s, u"RegNoKan"_s, nudi(u"ನೋಂದಣಿ ಸಂಖ್ಯೆ"_s));
    ini.setValue(u"LAYOUT"_s, u"ClassKan"_s, nudi(u"ಶ್ರೇಣಿ"_s));
    ini.setValue(u"LAYOUT"_s, u"ExamYearKan"_s, nudi(u"ಪರೀಕ್ಷೆಯ ವರ್ಷ"_s));
    ini.setValue(u"LAYOUT"_s, u"ConvoDateKan"_s, nudi(u"ಘಟಿಕೋತ್ಸವದ ದಿನಾಂಕ"_s));
    ini.setValue(u"LAYOUT"_s, u"NotificationKan"_s, nudi(u"ಅಧಿಸೂಚನೆಯ ದಿನಾಂಕ"_s));
    ini.setValue(u"LAYOUT"_s, u"ConferredKan"_s, nudi(u" ಪದವಿಯನ್ನು ಪ್ರದಾನ ಮಾಡಲಾಗಿದೆ"_s));
    ini.setValue(u"STATIONERY"_s, u"Prefix"_s, u"DC"_s);
    ini.setValue(u"STATIONERY"_s, u"Next"_s, u"211"_s);
    ini.setValue(u"STATIONERY"_s, u"Last"_s, u"500"_s);
    if (!ini.save())
        throw StopError(u"The institution file "_s + ini.path() + u" cannot be written: "_s + ini.errorString());
    DesignerLayout::writeStarterLayouts(m_folder);
    lines.append(QStringLiteral("stationery: DC000081..DC000100 printed and cancelled since, DC000101..DC000210 "
                                "printed, all registered; the next sheet is DC000211 (of DC000211..DC000500)"));
}

void DemoWriter::writeResultFiles(QStringList &lines)
{
    const QString dir = m_folder.filePath(DemoFolder::resultFolder());
    if (!QDir().mkpath(dir))
        throw StopError(u"The folder "_s + dir + u" cannot be created."_s);
    QStringList written;
    {
        CnvWriter file(dir + u"/DEMODEG.cnv"_s, CnvWriter::degreeFields());
        for (const Degree &d : degrees())
            file.add({d.code, d.description});
        written << u"DEMODEG.cnv"_s;
    }
    {
        CnvWriter file(dir + u"/DEMOCOL.cnv"_s, CnvWriter::collegeFields(true));
        for (const College &c : colleges())
            file.add({c.code, c.name, c.town});
        written << u"DEMOCOL.cnv"_s;
    }
    for (const auto &[convocation, rows] : m_resultRows) {
        const QString name = DemoFolder::resultFileName(convocation);
        CnvWriter file(dir + u'/' + name, CnvWriter::candidateFields(true));
        for (const QStringList &row : rows)
            file.add(row);
        written << name;
    }
    lines.append(u"result files in "_s + DemoFolder::resultFolder() + u": "_s + written.join(u", "_s));
}

} // namespace

DemoFolder::Summary DemoFolder::build(const AppFolder &folder, Prompter &prompter)
{
    if (!folder.findFileAnyCase(u"CONVO.sqlite"_s).isEmpty())
        throw StopError(u"The folder "_s + folder.root()
                        + u" already holds a database (CONVO.sqlite); the demo is built only in a new folder."_s);
    Installer::Options options;
    options.institution = u"003"_s;
    Summary summary;
    summary.lines = Installer::install(folder, options, prompter).done;

    IniFile ini(Startup::iniPath(folder));
    ini.load();
    const auto db = Connector::open(ConnectionSettings::read(ini), folder, {});
    DemoWriter writer(folder, *db);
    WriteScope scope(*db);
    writer.writeSettings();
    writer.writeMasters();
    writer.writeCandidates(summary.lines);
    writer.writeAwards(summary.lines);
    scope.commit();
    summary.lines.append(u"masters: 2 universities, 2 convocations, 7 degrees, 8 colleges, 4 classes, name library"_s);
    writer.writePictures(summary.lines);
    writer.writeInstitutionFile();
    writer.writeStationery(summary.lines);
    writer.writeResultFiles(summary.lines);
    writer.writeSigning(summary.lines);
    writer.writeVerification(summary.lines);
    summary.lines.append(copyBundledHelp(folder.root()) ? u"help page: Help/index.html"_s
                                                        : u"help page: none found beside the program"_s);
    summary.lines.append(u"log in as ADMIN with password ADMIN, convocation "_s + currentConvocation());
    summary.lines.append(u"or as CLERK with password CLERK (candidate entry, search, student list, password only)"_s);
    return summary;
}

void addDemoCommand(BatchTool &tool)
{
    tool.add({.name = u"demo"_s,
              .arguments = u"DIR"_s,
              .summary = u"Builds a demonstration application folder on SQLite in DIR."_s,
              .run = [](BatchContext &c) {
                  if (c.args.positionals.size() != 1)
                      throw UsageError(u"demo needs one folder: scrollwise-batch demo DIR"_s);
                  const DemoFolder::Summary s = DemoFolder::build(AppFolder(c.args.positionals.first()), c.prompter);
                  for (const QString &line : s.lines)
                      c.out << line << Qt::endl;
                  return batchexit::kOk;
              }});
}

} // namespace sw
