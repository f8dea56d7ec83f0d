// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/ranks/rankcommands.h"

#include "certificates/ranks/awardimport.h"
#include "certificates/ranks/rankstore.h"
#include "shell/batch/batchcommand.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Adds one rank to the degree's grid and saves it, as a clerk would on the screen.
int runRankAdd(BatchContext &c)
{
    c.needConvocation(u"Ranks and awards belong to a convocation"_s);
    const QString degree = c.required(u"degree"_s).toUpper();
    const QString regno = c.required(u"regno"_s).toUpper();
    const QString rank = c.required(u"rank"_s).toUpper();
    RankStore store(c.session, c.prompter);
    if (!store.checkDegree(degree))
        return batchexit::kRefused;
    std::vector<RankRow> grid;
    if (store.hasRanks(degree))
        grid = store.load(degree);
    const std::optional<QString> name = store.nameForNewRow(degree, regno, grid);
    if (!name || !store.checkRank(rank))
        return batchexit::kRefused;
    grid.push_back({regno, *name, rank, c.args.value(u"remarks"_s), u"A"_s});
    if (store.save(degree, grid) == 0)
        return batchexit::kRefused;
    c.out << regno << u' ' << *name << u": rank "_s << rank << u" of "_s << degree << u" registered"_s << Qt::endl;
    return batchexit::kOk;
}

// Every award of the convocation (or of one degree), with its certificate number once printed.
int runRankList(BatchContext &c)
{
    c.needConvocation(u"Ranks and awards belong to a convocation"_s);
    const std::vector<AwardListing> awards =
        RankStore(c.session, c.prompter)
            .awards(c.args.has(u"degree"_s) ? c.args.value(u"degree"_s).toUpper() : QString());
    for (const AwardListing &a : awards) {
        const QString what = a.certType == u"RC"_s
                                 ? u"rank "_s + a.rank
                                 : a.subject + (a.amount.isEmpty() ? QString() : u", Rs. "_s + a.amount);
        c.out << a.degree << u'\t' << a.regno << u'\t' << a.name << u'\t' << a.certType << u'\t' << what << u'\t'
              << (a.certNo.isEmpty() ? u"not printed"_s : a.certNo) << Qt::endl;
    }
    const int count = int(awards.size());
    c.out << count << (count == 1 ? u" award"_s : u" awards"_s) << Qt::endl;
    return batchexit::kOk;
}

int runAwardsImport(BatchContext &c)
{
    c.needConvocation(u"Ranks and awards belong to a convocation"_s);
    if (c.args.positionals.size() != 1)
        throw UsageError(u"awards import takes one file: scrollwise-batch awards import FILE.csv"_s);
    AwardImport import(c.session);
    const AwardBatch batch = import.read(c.args.positionals.front());
    for (const QString &error : batch.errors)
        c.err << error << Qt::endl;
    if (!batch.readable) {
        c.err << u"Nothing of "_s << batch.file << u" was saved."_s << Qt::endl;
        return batchexit::kRefused;
    }
    const ImportCounts counts = import.apply(batch);
    const int written = counts.inserted;
    c.out << written << (written == 1 ? u" award"_s : u" awards"_s) << u" of "_s << batch.file << u" registered"_s
          << Qt::endl;
    c.out << counts.summaryLine() << Qt::endl;
    if (!counts.rejectFile.isEmpty())
        c.err << u"rejected lines: "_s << counts.rejectFile << Qt::endl;
    return counts.rejected > 0 ? batchexit::kRefused : batchexit::kOk;
}

} // namespace

void addRankCommands(BatchTool &tool)
{
    tool.add({.name = u"rank add"_s,
              .summary = u"Registers the rank of a candidate of a degree (a rank certificate to print)."_s,
              .options = {{u"degree"_s, u"CODE"_s, u"degree code"_s},
                          {u"regno"_s, u"REGNO"_s, u"register number of a candidate of the degree"_s},
                          {u"rank"_s, u"I..X"_s, u"the rank as a Roman numeral"_s},
                          {u"remarks"_s, u"TEXT"_s, u"remarks kept with the rank"_s}},
              .menuCode = u"N2B"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runRankAdd});
    tool.add({.name = u"rank list"_s,
              .summary =
                  u"Lists the ranks, gold medals and cash prizes of the convocation with their certificate numbers."_s,
              .options = {{u"degree"_s, u"CODE"_s, u"only this degree"_s}},
              .menuCode = u"N2B"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runRankList});
    tool.add({.name = u"awards import"_s,
              .arguments = u"FILE.csv"_s,
              .summary =
                  u"Loads gold-medal (GC) and cash-prize (CC) awards: type,regno,degree,college,donor,subject,amount"
                  "[,remarks] per line. Good lines are registered; bad ones are listed with their reasons in "
                  "FILE.csv.rejected.csv."_s,
              .menuCode = u"N2B"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runAwardsImport});
}

} // namespace sw
