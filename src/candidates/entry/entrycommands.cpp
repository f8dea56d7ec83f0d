// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/entrycommands.h"

#include "candidates/entry/candidatesearch.h"
#include "candidates/entry/candidatestore.h"
#include "shell/batch/batchcommand.h"
#include "shell/core/kannadatext.h"
#include "shell/core/stoperror.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Candidates belong to a convocation: the pseudo-convocation of the administrator has none.
void requireConvocation(const BatchContext &c)
{
    if (c.session.isAdminConvocation())
        throw UsageError(u"Candidates belong to a convocation: log in with --convo CODE."_s);
}

QString regnoArgument(const BatchContext &c, const QString &command)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"\""_s + command + u"\" needs one register number: scrollwise-batch "_s + command
                         + u" REGNO"_s);
    return c.args.positionals.first();
}

// The options of add and edit: one per stored box, named after its column.
std::vector<BatchOption> fieldOptions()
{
    std::vector<BatchOption> options;
    for (const CandidateField &f : candidateFields()) {
        if (f.column == u"fregno"_s || f.column == u"fprintord"_s)
            continue;
        options.push_back({optionName(f), u"TEXT"_s, f.caption + (f.kannada ? u" (Kannada, as typed)"_s : QString())});
    }
    options.push_back(
        {u"photo"_s, u"FILE"_s,
         u"a photograph to move to Photos/REGNO.jpg (one already there is replaced after a question: --yes / --no)"_s});
    options.push_back({u"fill-kannada"_s, {}, u"fill Kannada names that are missing words from the name library"_s});
    return options;
}

void printRecord(BatchContext &c, const CandidateStore &store, const CandidateRecord &r)
{
    const CandidateDescriptions d = store.describe(r);
    for (const CandidateField &f : candidateFields()) {
        QString line = f.caption + u" ("_s + f.column + u"): "_s + r.value(f.column);
        if (f.kannada && !r.value(f.column).isEmpty())
            line += u"  "_s + kannada::readable(r.value(f.column)); // the Unicode reading beside the stored codes
        else if (f.column == u"fdegree"_s && !d.degree.isEmpty())
            line += u"  "_s + d.degree;
        else if (f.column == u"fcollcode"_s && !d.college.isEmpty())
            line += u"  "_s + d.college;
        else if (f.column == u"fclasscode"_s && !d.className.isEmpty())
            line += u"  "_s + d.className;
        else if (f.column == u"funivcode"_s && !d.university.isEmpty())
            line += u"  "_s + d.university;
        c.out << line << Qt::endl;
    }
    const QString photo = store.photoPath(r.regno());
    c.out << u"Photograph: "_s << (photo.isEmpty() ? u"none"_s : photo) << Qt::endl;
}

int runShow(BatchContext &c)
{
    requireConvocation(c);
    const QString regno = regnoArgument(c, u"candidate show"_s).trimmed().toUpper();
    CandidateStore store(c.session, c.prompter);
    const auto record = store.find(regno);
    if (!record) {
        c.prompter.message(u"Invalid Reg. No."_s, u"Message"_s, PromptIcon::Exclamation);
        return batchexit::kRefused;
    }
    printRecord(c, store, *record);
    return batchexit::kOk;
}

int save(BatchContext &c, EntryMode mode)
{
    requireConvocation(c);
    const QString command = mode == EntryMode::Add ? u"candidate add"_s : u"candidate edit"_s;
    CandidateStore store(c.session, c.prompter);
    CandidateRecord given;
    given.set(u"fregno"_s, regnoArgument(c, command));
    for (const CandidateField &f : candidateFields()) {
        if (!c.args.values.contains(optionName(f)))
            continue;
        QString value = c.args.value(optionName(f));
        // A Kannada name given in Unicode is stored as the legacy codes, like one typed on the screen.
        if (f.kannada) {
            const kannada::Conversion codes = kannada::toStoredCodes(value);
            if (!codes.eightBit)
                throw UsageError(u"--"_s + f.column + u": \""_s + codes.firstNotEightBit
                                 + u"\" cannot be written in the legacy Kannada codes"_s);
            value = codes.text;
        }
        given.set(f.column, value);
    }
    given = given.typed();

    CandidateRecord before;
    CandidateRecord record;
    if (mode == EntryMode::Add) {
        // What the form puts into a new record: the convocation of the session, and
        // inactive until someone says otherwise.
        record.set(u"fconvocode"_s, c.session.convoCode);
        record.set(u"factive"_s, u"F"_s);
    } else {
        const auto found = store.find(given.regno());
        if (!found) {
            c.prompter.message(u"Invalid Reg. No."_s, u"Message"_s, PromptIcon::Exclamation);
            return batchexit::kRefused;
        }
        before = *found;
        record = *found;
    }
    for (auto it = given.values().cbegin(); it != given.values().cend(); ++it)
        record.set(it.key(), it.value());
    if (c.args.has(u"fill-kannada"_s))
        record = store.withLibraryNames(record);

    const CandidateSaveOutcome outcome = store.save(record, mode, c.args.value(u"photo"_s),
                                                    mode == EntryMode::Edit ? std::optional(before) : std::nullopt);
    if (!outcome.saved) {
        const CandidateField *field = candidateFieldAt(outcome.problem->box);
        c.err << u"Nothing saved: "_s
              << (field ? field->caption + u" (--"_s + optionName(*field) + u"): "_s : QString())
              << outcome.problem->message << Qt::endl;
        return batchexit::kRefused;
    }

    const auto after = store.find(record.regno());
    const QString regno = record.regno();
    if (mode == EntryMode::Add) {
        c.out << u"added "_s << regno << Qt::endl;
    } else {
        int changes = 0;
        for (const CandidateField &f : candidateFields()) {
            const QString was = before.value(f.column);
            const QString now = after ? after->value(f.column) : QString();
            if (was == now)
                continue;
            c.out << regno << u' ' << f.column << u": "_s << was << u" -> "_s << now << Qt::endl;
            ++changes;
        }
        // A change asked for and not made was refused (a printed candidate is frozen, and
        // only ADMIN rewrites a certificate number): the run says so and fails.
        QStringList refused;
        for (auto it = given.values().cbegin(); it != given.values().cend(); ++it) {
            const QString was = before.value(it.key()).trimmed();
            const bool asked = it.key() != u"fregno"_s && was.compare(it.value().trimmed(), Qt::CaseInsensitive) != 0;
            if (asked && (after ? after->value(it.key()).trimmed() : QString()) == was)
                refused << u"--"_s + (candidateField(it.key()) ? optionName(*candidateField(it.key())) : it.key());
        }
        if (!refused.isEmpty()) {
            QString why;
            if (before.isPrinted())
                why = u"certificate "_s + before.certno() + u" is printed"_s;
            if (refused.contains(u"--fcertno"_s) && !c.session.isAdministrator())
                why += (why.isEmpty() ? QString() : u"; "_s) + u"only ADMIN may rewrite a certificate number"_s;
            c.err << regno << u": not changed: "_s << refused.join(u", "_s)
                  << (why.isEmpty() ? QString() : u" ("_s + why + u')') << Qt::endl;
            return batchexit::kRefused;
        }
        if (changes == 0)
            c.out << regno << u": nothing changed"_s
                  << (before.isPrinted() ? u" (certificate "_s + before.certno() + u" printed)"_s : QString())
                  << Qt::endl;
    }
    if (!outcome.learnedWords.isEmpty())
        c.out << u"name library learned: "_s << outcome.learnedWords.join(u", "_s) << Qt::endl;
    if (!outcome.photo.isEmpty())
        c.out << u"photograph: "_s << outcome.photo << Qt::endl;
    return batchexit::kOk;
}

int runWithdraw(BatchContext &c)
{
    requireConvocation(c);
    const QString regno = regnoArgument(c, u"candidate withdraw"_s).trimmed().toUpper();
    CandidateStore store(c.session, c.prompter);
    const auto record = store.find(regno);
    if (!record) {
        c.prompter.message(u"Invalid Reg. No."_s, u"Message"_s, PromptIcon::Exclamation);
        return batchexit::kRefused;
    }
    const int changed = store.withdraw(regno);
    if (changed == 0 && record->isPrinted()) {
        c.err << regno << u": certificate "_s << record->certno() << u" is printed; nothing changed"_s << Qt::endl;
        return batchexit::kRefused;
    }
    c.out << regno << (changed > 0 ? u": withdrawn (inactive, no serial number)"_s : u": nothing changed"_s)
          << Qt::endl;
    return batchexit::kOk;
}

int runSearch(BatchContext &c)
{
    requireConvocation(c);
    if (c.args.positionals.size() != 1)
        throw UsageError(
            u"search needs the text to look for: scrollwise-batch search TEXT [--by name|regno|app|cert]"_s);
    SearchCriteria criteria;
    const QString text = c.args.positionals.first();
    const QString by = c.args.value(u"by"_s, u"name"_s);
    if (by == u"name"_s)
        criteria.name = text;
    else if (by == u"regno"_s)
        criteria.regno = text;
    else if (by == u"app"_s)
        criteria.appno = text;
    else if (by == u"cert"_s)
        criteria.certno = text;
    else
        throw UsageError(u"--by takes name, regno, app or cert, not \""_s + by + u"\"."_s);
    const QString match = c.args.value(u"match"_s, u"begins"_s);
    if (match == u"begins"_s)
        criteria.match = SearchMatch::BeginsWith;
    else if (match == u"contains"_s)
        criteria.match = SearchMatch::Contains;
    else if (match == u"ends"_s)
        criteria.match = SearchMatch::EndsWith;
    else
        throw UsageError(u"--match takes begins, contains or ends, not \""_s + match + u"\"."_s);

    const std::vector<SearchHit> hits = CandidateSearch(c.session).find(criteria);
    c.out << u"Reg. No.\tName\tCert. No.\tPrinted Date\tOnline App.no.\tMobile no.\tE mail\tActive?"_s << Qt::endl;
    for (const SearchHit &h : hits)
        c.out << h.regno << u'\t' << h.name << u'\t' << h.certno << u'\t' << h.printedDate << u'\t' << h.appno << u'\t'
              << h.mobile << u'\t' << h.email << u'\t' << (h.active ? u"yes"_s : u"no"_s) << Qt::endl;
    c.out << hits.size() << u" found"_s << Qt::endl;
    return batchexit::kOk;
}

} // namespace

void addEntryCommands(BatchTool &tool)
{
    tool.add({.name = u"candidate show"_s,
              .arguments = u"REGNO"_s,
              .summary = u"Prints a candidate of the convocation with its descriptions and photograph."_s,
              .menuCode = u"N22"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runShow});
    tool.add({.name = u"candidate add"_s,
              .arguments = u"REGNO"_s,
              .summary =
                  u"Types in a new candidate (manual), with the entry form's checks; --fconvocode is the login's "
                  "convocation and --factive F unless given."_s,
              .options = fieldOptions(),
              .menuCode = u"N22"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = [](BatchContext &c) { return save(c, EntryMode::Add); }});
    tool.add({.name = u"candidate edit"_s,
              .arguments = u"REGNO"_s,
              .summary =
                  u"Corrects a candidate with the entry form's checks; --factive T gives the print serial number. "
                  "A candidate with a certificate number is left unchanged (only ADMIN may rewrite --fcertno). "
                  "Prints every column it changed."_s,
              .options = fieldOptions(),
              .menuCode = u"N22"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = [](BatchContext &c) { return save(c, EntryMode::Edit); }});
    tool.add({.name = u"candidate withdraw"_s,
              .arguments = u"REGNO"_s,
              .summary = u"Deactivates a candidate without a certificate number and takes back its serial number "
                         "(asks \"Confirm deletion\": --yes / --no)."_s,
              .menuCode = u"N22"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runWithdraw});
    tool.add({.name = u"search"_s,
              .arguments = u"TEXT"_s,
              .summary =
                  u"Lists the convocation's candidates whose name, register number, online application number or "
                  "certificate number matches, in name order."_s,
              .options = {{u"by"_s, u"name|regno|app|cert"_s, u"what TEXT is part of (name when not given)"_s},
                          {u"match"_s, u"begins|contains|ends"_s, u"how TEXT matches (begins when not given)"_s}},
              .menuCode = u"N27"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runSearch});
}

} // namespace sw
