// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/candidatestore.h"

#include "candidates/entry/academicid.h"
#include "candidates/entry/serialnumbers.h"
#include "masters/mastercodes.h"
#include "masters/namelibrary/namelibrary.h"
#include "shell/core/dates.h"
#include "shell/core/importtally.h"
#include "shell/session.h"
#include "shell/core/filewrite.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/db/schema.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The Latin and Kannada boxes of each name, in the order the library learns them.
struct NamePair
{
    QString english;
    QString kannada;
};
const NamePair kNamePairs[] = {
    {u"fname"_s, u"fnamekan"_s},
    {u"fsirname"_s, u"fsirnamekan"_s},
    {u"ffatname"_s, u"ffatnamekan"_s},
    {u"fmotname"_s, u"fmotnamekan"_s},
};

} // namespace

int CandidateStore::columnWidth(const QString &column) { return schema::columnWidth(u"CONVO"_s, column); }

namespace {

// The box of the certificate number on the entry form.
constexpr int kCertNoBox = 9;
constexpr int kAbcIdBox = 28;

FieldProblem invalid(int box, const QString &text) { return {box, text, PromptIcon::Exclamation}; }

FieldProblem notice(int box, const QString &text) { return {box, text, PromptIcon::Information}; }

} // namespace

BoundSql CandidateStore::browseStatement(const QString &convoCode)
{
    return {u"select * from convo where convo.fconvocode = ? order by fdegree, fcollcode, fregno"_s, {convoCode}};
}

LookupRequest CandidateStore::regnoLookup(const QString &convoCode)
{
    return withHeadings(LookupRequest{u"convo"_s, u"fregno, fname"_s, u"fconvocode = ?"_s, {convoCode}, {}, {}, {}},
                        {u"Reg. No."_s, u"Name"_s});
}

CandidateStore::CandidateStore(Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
{
}

std::optional<CandidateRecord> CandidateStore::find(const QString &regno) const
{
    Rows rows = m_session.db().query(u"select * from convo where fregno = ? and convo.fconvocode = ?"_s,
                                     {regno.trimmed(), m_session.convoCode});
    if (!rows.next())
        return std::nullopt;
    CandidateRecord record;
    for (const CandidateField &f : candidateFields())
        record.set(f.column, rows.text(f.column));
    return record;
}

bool CandidateStore::exists(const QString &table, const QString &column, const QString &code) const
{
    // Table and column names come from this file, never from input.
    return m_session.db().exists(u"select 1 from "_s + table + u" where "_s + column + u" = ?"_s, {code});
}

CandidateDescriptions CandidateStore::describe(const CandidateRecord &r) const
{
    using Master = MasterCodes::Master;
    const MasterCodes codes(m_session);
    const auto of = [&codes](Master master, const QString &code) {
        return code.trimmed().isEmpty() ? QString() : codes.describe(master, code).value_or(QString());
    };
    return {of(Master::Degree, r.value(u"fdegree"_s)), of(Master::College, r.value(u"fcollcode"_s)),
            of(Master::Class, r.value(u"fclasscode"_s)), of(Master::University, r.value(u"funivcode"_s))};
}

QStringList CandidateStore::browseOrder() const
{
    QStringList out;
    Rows rows = m_session.db().query(
        u"select fregno from convo where convo.fconvocode = ? order by fdegree, fcollcode, fregno"_s,
        {m_session.convoCode});
    while (rows.next())
        out << rows.text(0);
    return out;
}

std::optional<FieldProblem> CandidateStore::checkField(int box, const CandidateRecord &record, EntryMode mode) const
{
    const CandidateField *field = candidateFieldAt(box);
    if (!field)
        return std::nullopt;
    const QString value = record.value(field->column).trimmed();
    if (isMandatoryCandidateBox(box) && value.isEmpty())
        return notice(box, u"Information should be entered"_s);
    // An ID too long is still an ID of the wrong length, and said so.
    if (box == kAbcIdBox) {
        if (const QString problem = AcademicId::formatProblem(value); !problem.isEmpty())
            return invalid(box, problem);
    }
    if (const int width = columnWidth(field->column); width > 0 && value.size() > width)
        return invalid(box, field->caption + u" holds at most "_s + QString::number(width) + u" characters."_s);
    if (storableTextProblem(value, 0))
        return invalid(box, field->caption + u" holds a control character."_s);

    switch (box) {
    case 0: {
        // Typing makes register numbers upper case and they never hold a blank: such a
        // value cannot be a register number of this convocation.
        if (value.contains(u' ') || value != value.toUpper())
            return invalid(box, u"Invalid Reg. No."_s);
        const bool found = m_session.db().exists(u"select 1 from convo where fregno = ? and convo.fconvocode = ?"_s,
                                                 {value, m_session.convoCode});
        if (mode == EntryMode::Add && found)
            return notice(box, u"This Code already exist!!"_s);
        if (mode == EntryMode::Edit && !found)
            return invalid(box, u"Invalid Reg. No."_s);
        return std::nullopt;
    }
    case 2:
        if (!exists(u"degree"_s, u"fdegree"_s, value))
            return invalid(box, u"Invalid Degree Code"_s);
        return std::nullopt;
    case 3:
        if (!exists(u"college"_s, u"fcollcode"_s, value))
            return invalid(box, u"Invalid College Code"_s);
        return std::nullopt;
    case 4:
        if (!exists(u"class"_s, u"fclasscode"_s, value))
            return invalid(box, u"Invalid Class Code"_s);
        return std::nullopt;
    case 5:
        if (value != u"M"_s && value != u"F"_s)
            return notice(box, u"Enter M - Male, F - Female"_s);
        return std::nullopt;
    case 7: {
        // The box takes only digits and "."; other characters never reach it by typing.
        static const QRegularExpression yearChars(u"^[0-9.]*$"_s);
        if (!yearChars.match(value).hasMatch())
            return invalid(box, u"Year takes digits and \".\" only"_s);
        return std::nullopt;
    }
    case 10:
        if (value != u"T"_s && value != u"F"_s)
            return notice(box, u"Enter T - Activate, F - Deactivate"_s);
        return std::nullopt;
    case 26: {
        if (value.isEmpty())
            return std::nullopt;
        const QDate born = parseDmy(value);
        if (!born.isValid())
            return invalid(box, u"Date of Birth \""_s + value + u"\" is not a date dd/mm/yyyy"_s);
        if (born >= QDate::currentDate() || born.year() < 1900)
            return invalid(box, u"Date of Birth "_s + value + u" is not a possible date of birth"_s);
        return std::nullopt;
    }
    case 27:
        if (!value.isEmpty() && !value.at(0).isLetterOrNumber())
            return invalid(box, u"Exam Type is one letter or digit"_s);
        return std::nullopt;
    case kAbcIdBox: {
        const AcademicId::Candidate candidate{record.regno().trimmed(), record.value(u"fname"_s),
                                              record.value(u"fdob"_s), record.value(u"fdegree"_s),
                                              record.value(u"fconvocode"_s)};
        if (const QString problem = AcademicId(m_session.db()).holderProblem(value, candidate); !problem.isEmpty())
            return invalid(box, problem);
        return std::nullopt;
    }
    case 17:
        if (!exists(u"masconvo"_s, u"fconvocode"_s, value))
            return invalid(box, u"Invalid Convocation Code"_s);
        return std::nullopt;
    case 18:
        if (!exists(u"masuniv"_s, u"funivcode"_s, value))
            return invalid(box, u"Invalid University Code"_s);
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<FieldProblem> CandidateStore::checkAll(const CandidateRecord &record, EntryMode mode) const
{
    if (mode == EntryMode::Edit) {
        if (auto problem = checkField(0, record, mode))
            return problem;
    }
    const std::optional<CandidateRecord> stored =
        mode == EntryMode::Edit ? find(record.regno()) : std::optional<CandidateRecord>();
    for (const int box : candidateFieldOrder()) {
        const QString &column = candidateFieldAt(box)->column;
        if (stored && stored->value(column).trimmed() == record.value(column).trimmed())
            continue;
        if (auto problem = checkField(box, record, mode))
            return problem;
    }
    return std::nullopt;
}

CandidateRecord CandidateStore::withLibraryNames(const CandidateRecord &record) const
{
    CandidateRecord out = record;
    const NameLibrary library(m_session.db());
    for (const NamePair &pair : kNamePairs) {
        const QString english = record.value(pair.english);
        if (!NameLibrary::needsFill(english, record.value(pair.kannada)))
            continue;
        const QString built = library.compose(english);
        if (!built.isEmpty())
            out.set(pair.kannada, built);
    }
    return out;
}

void CandidateStore::show(const FieldProblem &problem) const
{
    m_prompter.message(problem.message, u"Message"_s, problem.icon);
}

CandidateSaveOutcome CandidateStore::save(const CandidateRecord &given, EntryMode mode, const QString &chosenPhoto,
                                          const std::optional<CandidateRecord> &asRead)
{
    CandidateSaveOutcome outcome;
    CandidateRecord record;
    for (auto it = given.values().cbegin(); it != given.values().cend(); ++it)
        record.set(it.key(), it.value().trimmed());

    auto refuse = [&](const FieldProblem &problem) {
        show(problem);
        outcome.problem = problem;
        return outcome;
    };
    if (record.value(u"fconvocode"_s).isEmpty())
        return refuse(invalid(17, u"Enter Convocation number"_s));
    if (auto problem = checkAll(record, mode))
        return refuse(*problem);

    // The photograph is looked at, and the question asked, before anything is written:
    // no transaction waits on the clerk's answer.
    bool movePicture = !chosenPhoto.isEmpty();
    bool replacePicture = false;
    if (movePicture) {
        QImageReader reader(chosenPhoto);
        if (reader.read().isNull())
            return refuse(invalid(-1, u"The chosen photograph "_s + QDir::toNativeSeparators(chosenPhoto)
                                          + u" is not a picture that can be read ("_s + reader.errorString()
                                          + u")."_s));
        const QStringList existing = photoFiles(record.regno());
        if (!existing.isEmpty()) {
            replacePicture = m_prompter.askRisky(u"The candidate "_s + record.regno() + u" has a photograph already ("_s
                                                     + QFileInfo(existing.front()).fileName()
                                                     + u"). Replace it with the chosen one?"_s,
                                                 u"Photograph"_s, PromptIcon::Question);
            movePicture = replacePicture;
        }
    }

    Database &db = m_session.db();
    WriteScope scope(db);
    // The serial number's lock comes first, before this transaction reads anything.
    const bool activating = mode == EntryMode::Edit && record.value(u"factive"_s) == u"T"_s;
    if (activating)
        SerialNumbers(db).lock();
    if (mode == EntryMode::Add) {
        insert(record);
    } else {
        try {
            update(record, asRead);
        } catch (const StopError &e) {
            // The stationery register refused the number: nothing of the correction is kept.
            return refuse({kCertNoBox, e.text(), e.icon()});
        }
        if (activating)
            outcome.serialNumber = giveSerialNumber(record, &outcome.serialIgnored);
    }
    // New candidates teach the library as corrected ones do: a name typed in by hand is
    // as good a spelling as a corrected one.
    NameLibrary library(db);
    for (const NamePair &pair : kNamePairs)
        outcome.learnedWords +=
            library.learn(record.value(pair.english), record.value(pair.kannada), NameLibrary::WordCase::AsTyped);
    if (movePicture)
        outcome.photo = movePhoto(record.regno(), chosenPhoto, replacePicture);
    scope.commit();

    if (!outcome.serialNumber.isEmpty()) {
        QString text = u"Sl. No. is "_s + u"\r\n"_s + outcome.serialNumber;
        // A stored serial number that is not a number took no part; the clerk should know which.
        if (!outcome.serialIgnored.isEmpty())
            text += u"\r\n\r\nNot numbers, passed over: "_s + outcome.serialIgnored.join(u", "_s);
        m_prompter.message(text, u"Message"_s, PromptIcon::Information);
    }
    outcome.saved = true;
    return outcome;
}

void CandidateStore::insert(const CandidateRecord &r)
{
    m_session.db().exec(
        u"insert into convo (fregno, fname, fdegree, fcollcode, fclasscode, fsex, fcaste, fyear, fexamdate, factive, "
        "fmanual, fregisterno, fusername, fconvocode, fnamekan, funivcode, ffatname, ffatnamekan, fmotname, "
        "fmotnamekan, fsirname, fsirnamekan, fdob, fexamtype, fabcid) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'T', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
        {r.value(u"fregno"_s),      r.value(u"fname"_s),    r.value(u"fdegree"_s),     r.value(u"fcollcode"_s),
         r.value(u"fclasscode"_s),  r.value(u"fsex"_s),     r.value(u"fcaste"_s),      r.value(u"fyear"_s),
         r.value(u"fexamdate"_s),   r.value(u"factive"_s),  r.value(u"fregisterno"_s), m_session.userName,
         r.value(u"fconvocode"_s),  r.value(u"fnamekan"_s), r.value(u"funivcode"_s),   r.value(u"ffatname"_s),
         r.value(u"ffatnamekan"_s), r.value(u"fmotname"_s), r.value(u"fmotnamekan"_s), r.value(u"fsirname"_s),
         r.value(u"fsirnamekan"_s), r.value(u"fdob"_s),     r.value(u"fexamtype"_s),   r.value(u"fabcid"_s)});
}

void CandidateStore::update(const CandidateRecord &r, const std::optional<CandidateRecord> &asRead)
{
    // Only what the editor changed is written: a value another workstation stored since
    // the record was read (an activation, a correction) is not put back as it was.
    const auto changed = [&](const QString &column) {
        return !asRead || asRead->value(column).trimmed() != r.value(column).trimmed();
    };
    static const QStringList kEditable = {
        u"fname"_s,       u"fdegree"_s,   u"fcollcode"_s,   u"fclasscode"_s,  u"fsex"_s,        u"fcaste"_s,
        u"fyear"_s,       u"fexamdate"_s, u"factive"_s,     u"fregisterno"_s, u"fnamekan"_s,    u"fconvocode"_s,
        u"funivcode"_s,   u"ffatname"_s,  u"ffatnamekan"_s, u"fmotname"_s,    u"fmotnamekan"_s, u"fsirname"_s,
        u"fsirnamekan"_s, u"fdob"_s,      u"fexamtype"_s,   u"fabcid"_s};
    Database &db = m_session.db();
    const QString certNo = db.dialect().coalesce(u"fcertno"_s, u"''"_s);
    const auto write = [&](const QStringList &columns, const QString &condition, const QVariantList &conditionValues) {
        QStringList sets;
        QVariantList params;
        for (const QString &column : columns) {
            if (!changed(column))
                continue;
            sets << column + u" = ?"_s;
            params << r.value(column);
        }
        if (sets.isEmpty())
            return;
        params << r.regno() << m_session.convoCode << conditionValues;
        db.exec(u"update convo set "_s + sets.join(u", "_s) + u" where fregno = ? and convo.fconvocode = ?"_s
                    + condition,
                params);
    };
    // A printed candidate is frozen.
    write(kEditable, u" and "_s + certNo + u" = ''"_s, {});
    // Only the administrator may rewrite a certificate number, printed or not, and only
    // the number he read: one a printing workstation stored since then stays. The number
    // itself goes through the stationery ledger, which refuses one used by any sheet.
    if (!m_session.isAdministrator())
        return;
    const QString numberRead = asRead ? asRead->certno().trimmed()
                                      : db.scalar(u"select "_s + certNo
                                                      + u" from convo where fregno = ? and "
                                                        "convo.fconvocode = ?"_s,
                                                  {r.regno(), m_session.convoCode})
                                            .toString()
                                            .trimmed();
    write({u"factive"_s}, u" and "_s + certNo + u" = "_s + db.dialect().coalesce(u"?"_s, u"''"_s), {numberRead});
    if (r.value(u"fcertno"_s).trimmed() == numberRead)
        return;
    if (!m_session.numberAuthority)
        throw StopError(u"Certificate numbers are changed through the stationery register, which this program "
                        "has not opened: the number is left as it was."_s,
                        PromptIcon::Exclamation);
    m_session.numberAuthority->rewrite({r.regno(), r.value(u"fdegree"_s).trimmed(), r.value(u"fcollcode"_s).trimmed(),
                                        numberRead, r.value(u"fcertno"_s).trimmed()});
}

QString CandidateStore::giveSerialNumber(const CandidateRecord &r, QStringList *ignored)
{
    Database &db = m_session.db();
    const QString number = SerialNumbers(db).next(ignored);
    // Only a candidate without a serial number receives one, and never a printed one.
    const int given = db.exec(u"update convo set factive = ?, fprintord = ?, fusername = ? where fregno = ? and "_s
                                  + db.dialect().coalesce(u"fprintord"_s, u"''"_s) + u" = '' and "_s
                                  + db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = '' and convo.fconvocode = ?"_s,
                              {r.value(u"factive"_s), number, m_session.userName, r.regno(), m_session.convoCode});
    return given > 0 ? number : QString();
}

QStringList CandidateStore::photoFiles(const QString &regno) const
{
    QStringList out;
    const QDir dir(m_session.folder.filePath(u"Photos"_s));
    const QString base = regno.trimmed();
    for (const QFileInfo &f : dir.entryInfoList(QDir::Files)) {
        if (f.completeBaseName().compare(base, Qt::CaseInsensitive) == 0
            && QStringList{u"bmp"_s, u"jpg"_s, u"jpeg"_s}.contains(f.suffix().toLower()))
            out << f.filePath();
    }
    return out;
}

QString CandidateStore::movePhoto(const QString &regno, const QString &chosen, bool replace)
{
    const QString folder = m_session.folder.filePath(u"Photos"_s);
    if (!QDir().mkpath(folder))
        throw StopError(u"The photograph folder "_s + folder + u" cannot be created."_s, PromptIcon::Exclamation);
    // A JPEG or bitmap keeps its bytes; any other picture is stored as a JPEG, the form
    // every screen and certificate reads.
    QImageReader reader(chosen);
    const QByteArray format = reader.format().toLower();
    const QString extension = format == "bmp" ? u"bmp"_s : u"jpg"_s;
    const QString target = folder + u'/' + regno + u'.' + extension;
    QByteArray bytes;
    if (format == "jpeg" || format == "bmp") {
        QFile source(chosen);
        if (source.open(QIODevice::ReadOnly))
            bytes = source.readAll();
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        reader.read().save(&buffer, "JPG");
    }
    if (bytes.isEmpty())
        throw StopError(u"The photograph "_s + chosen + u" cannot be copied to "_s + target + u'.',
                        PromptIcon::Exclamation);
    writeWholeFile(target, bytes);
    // The old picture goes whatever its extension, so the new one is what every look-up finds.
    if (replace) {
        for (const QString &old : photoFiles(regno)) {
            if (QFileInfo(old).absoluteFilePath() != QFileInfo(target).absoluteFilePath())
                QFile::remove(old);
        }
    }
    // The chosen file is moved, not copied; a source that cannot be removed stays
    // behind harmlessly since the copy is in place.
    if (QFileInfo(chosen).absoluteFilePath() != QFileInfo(target).absoluteFilePath())
        QFile::remove(chosen);
    return target;
}

int CandidateStore::withdraw(const QString &regno)
{
    if (!m_prompter.askRisky(u"Confirm deletion"_s, u"Delete"_s, PromptIcon::Question))
        return 0;
    Database &db = m_session.db();
    WriteScope scope(db);
    const int changed =
        db.exec(u"update convo set fprintord = null, factive = 'F' where fregno = ? and "_s
                    + db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = '' and convo.fconvocode = ?"_s,
                {regno.trimmed(), m_session.convoCode});
    scope.commit();
    return changed;
}

QString CandidateStore::photoPath(const QString &regno) const
{
    return m_session.folder.findWithExtensions(u"Photos"_s, regno.trimmed(), {u"bmp"_s, u"jpg"_s, u"jpeg"_s});
}

} // namespace sw
