// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/cancellation/cancellationcommands.h"

#include "certificates/cancellation/cancellationstore.h"
#include "shell/batch/batchcommand.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kSheetsFolderHelp =
    u"the folder the sheets were written to (print --output); the cancelled sheets' files move to its Cancelled/"_s;

int runCancel(BatchContext &c)
{
    c.needConvocation(u"Certificates belong to a convocation"_s);
    if (c.args.positionals.size() != 1)
        throw UsageError(u"cancel takes one register number: scrollwise-batch cancel REGNO --reason TEXT"_s);
    if (!c.args.has(u"reason"_s))
        throw UsageError(u"cancel needs --reason TEXT: the register keeps why every certificate was cancelled."_s);
    CancellationStore store(c.session, c.prompter);
    store.setSheetsFolder(c.args.value(u"output"_s));
    const QString regno = c.args.positionals.front().toUpper();
    const std::optional<QString> certNo = store.cancelOne(regno, c.args.value(u"reason"_s), c.args.value(u"degree"_s));
    if (!certNo)
        return batchexit::kRefused;
    c.out << u"certificate "_s << *certNo << u" of "_s << regno << u" cancelled"_s << Qt::endl;
    for (const QString &line : store.filesSetAside().lines())
        c.out << line << Qt::endl;
    return batchexit::kOk;
}

// Ticks the listed (or every) printed candidate of a degree and college and cancels them in one transaction.
int runCancelRange(BatchContext &c)
{
    c.needConvocation(u"Certificates belong to a convocation"_s);
    const QString degree = c.required(u"degree"_s).toUpper();
    const QString college = c.required(u"college"_s).toUpper();
    const bool all = c.args.has(u"all-printed"_s);
    if (all == c.args.has(u"regno"_s))
        throw UsageError(u"Give either --regno LIST (comma-separated register numbers) or --all-printed."_s);
    CancellationStore store(c.session, c.prompter);
    store.setSheetsFolder(c.args.value(u"output"_s));
    if (!store.checkHeader(degree, college))
        return batchexit::kRefused;
    if (!store.hasPrinted(degree, college)) {
        c.err << u"No printed certificates of degree "_s << degree << u" and college "_s << college
              << u" in convocation "_s << c.session.convoCode << u'.' << Qt::endl;
        return batchexit::kRefused;
    }
    std::vector<PrintedRow> grid = store.loadPrinted(degree, college);
    QSet<QString> wanted;
    for (const QString &item : c.args.value(u"regno"_s).split(u',', Qt::SkipEmptyParts))
        wanted.insert(item.trimmed().toUpper());
    QSet<QString> found;
    for (PrintedRow &row : grid) {
        row.ticked = all || wanted.contains(row.regno.toUpper());
        if (row.ticked)
            found.insert(row.regno.toUpper());
    }
    QStringList missing;
    for (const QString &regno : std::as_const(wanted)) {
        if (!found.contains(regno))
            missing << regno;
    }
    if (!missing.isEmpty()) {
        missing.sort();
        c.err << u"Not printed candidates of degree "_s << degree << u" and college "_s << college << u": "_s
              << missing.join(u", "_s) << u". Nothing was cancelled."_s << Qt::endl;
        return batchexit::kRefused;
    }
    const int ticked = int(found.size());
    if (!c.prompter.askYesNo(u"Cancel "_s + QString::number(ticked) + u" certificates of degree "_s + degree
                             + u" and college "_s + college + u"?"_s))
        return batchexit::kRefused;
    const int cancelled = store.cancelTicked(degree, college, grid, c.args.value(u"reason"_s));
    if (cancelled < 0)
        return batchexit::kRefused;
    for (const PrintedRow &row : grid) {
        if (row.ticked)
            c.out << row.regno << u' ' << row.certNo << u" cancelled"_s << Qt::endl;
    }
    c.out << cancelled << u" certificates cancelled"_s << Qt::endl;
    for (const QString &line : store.filesSetAside().lines())
        c.out << line << Qt::endl;
    return batchexit::kOk;
}

} // namespace

void addCancellationCommands(BatchTool &tool)
{
    tool.add({.name = u"cancel"_s,
              .arguments = u"REGNO"_s,
              .summary =
                  u"Cancels a candidate's printed certificate with a reason (kept in the cancellation register); the "
                  "candidate prints again with a new number."_s,
              .options = {{u"reason"_s, u"TEXT"_s, u"why the certificate is cancelled"_s},
                          {u"degree"_s, u"CODE"_s, u"the degree, when the candidate holds certificates of two"_s},
                          {u"output"_s, u"DIR"_s, kSheetsFolderHelp}},
              .menuCode = u"N25"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runCancel});
    tool.add(
        {.name = u"cancel-range"_s,
         .summary =
             u"Cancels printed certificates of one degree and college in one transaction (no register line); asks "
             "first (--yes answers)."_s,
         .options = {{u"degree"_s, u"CODE"_s, u"degree code"_s},
                     {u"college"_s, u"CODE"_s, u"college code"_s},
                     {u"regno"_s, u"LIST"_s, u"comma-separated register numbers to cancel"_s},
                     {u"all-printed"_s, {}, u"cancel every printed certificate of the degree and college"_s},
                     {u"reason"_s, u"TEXT"_s, u"reason kept in the stationery register (\"Range cancellation\")"_s},
                     {u"output"_s, u"DIR"_s, kSheetsFolderHelp}},
         .menuCode = u"N29"_s,
         .needsLogin = true,
         .needsDatabase = true,
         .run = runCancelRange});
}

} // namespace sw
