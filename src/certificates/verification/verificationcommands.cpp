// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/verification/verificationcommands.h"

#include "certificates/verification/gatestore.h"
#include "shell/batch/batchcommand.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Ticks (or, with --unset, clears) the rows of the selection whose register numbers
// lie in --from..--to (every row when not given), saves the grid in one transaction
// and prints each candidate whose flag changed.
int runGate(BatchContext &c, Gate gate)
{
    c.needConvocation(u"Candidates belong to a convocation"_s);
    GateSelection selection;
    selection.degree = c.required(u"degree"_s).toUpper();
    selection.collegeFrom = c.required(u"college"_s).toUpper();
    selection.collegeTo = gate == Gate::Activation ? c.args.value(u"to-college"_s, selection.collegeFrom).toUpper()
                                                   : selection.collegeFrom;
    const QString from = c.args.value(u"from"_s).toUpper();
    const QString to = c.args.value(u"to"_s).toUpper();
    const bool tick = !c.args.has(u"unset"_s);

    GateStore store(c.session, c.prompter, gate);
    if (!store.checkHeader(selection))
        return batchexit::kRefused;
    if (!store.hasCandidates(selection)) {
        c.err << u"No candidates of degree "_s << selection.degree << u" and college "_s << selection.collegeFrom
              << (selection.collegeTo != selection.collegeFrom ? u".."_s + selection.collegeTo : QString())
              << (gate == Gate::Verification ? u" await verification."_s : u" are fee-verified and unprinted."_s)
              << Qt::endl;
        return batchexit::kRefused;
    }
    std::vector<GateRow> grid = store.load(selection);
    const std::vector<GateRow> loaded = grid;
    for (GateRow &row : grid) {
        // Register numbers compare as the database's case-blind collation does.
        const QString regno = row.regno.toUpper();
        if ((from.isEmpty() || regno >= from) && (to.isEmpty() || regno <= to))
            row.ticked = tick;
    }
    const GateStore::SaveReport report = store.saveReporting(selection, grid);
    QSet<QString> refused;
    for (const auto &[regno, reason] : report.refused) {
        c.err << regno << u" refused: "_s << reason << Qt::endl;
        refused.insert(regno);
    }

    const QString flag = gate == Gate::Verification ? u"ffeepaid"_s : u"factive"_s;
    int changed = 0;
    for (size_t i = 0; i < grid.size(); ++i) {
        if (grid[i].ticked == loaded[i].ticked || refused.contains(grid[i].regno.trimmed()))
            continue;
        c.out << grid[i].regno << u' ' << flag << u": "_s << (loaded[i].ticked ? u"T"_s : u"F"_s) << u" -> "_s
              << (grid[i].ticked ? u"T"_s : u"F"_s) << Qt::endl;
        ++changed;
    }
    c.out << changed << u" of "_s << grid.size() << u" candidates changed"_s << Qt::endl;
    return batchexit::kOk;
}

std::vector<BatchOption> selectionOptions(Gate gate)
{
    std::vector<BatchOption> options = {{u"degree"_s, u"CODE"_s, u"degree code"_s},
                                        {u"college"_s, u"CODE"_s, u"college code (the first of the range)"_s}};
    if (gate == Gate::Activation)
        options.push_back({u"to-college"_s, u"CODE"_s, u"last college of the range (--college when not given)"_s});
    options.push_back(
        {u"from"_s, u"REGNO"_s, u"first register number to change (the first of the grid when not given)"_s});
    options.push_back({u"to"_s, u"REGNO"_s, u"last register number to change (the last of the grid when not given)"_s});
    options.push_back({u"unset"_s, {}, u"clear the flag instead of setting it"_s});
    return options;
}

} // namespace

void addVerificationCommands(BatchTool &tool)
{
    tool.add({.name = u"verify"_s,
              .summary = u"Marks the fee of unprinted, inactive candidates of a degree and college as paid (ffeepaid); "
                         "prints every candidate it changed."_s,
              .options = selectionOptions(Gate::Verification),
              .menuCode = u"N2E"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = [](BatchContext &c) { return runGate(c, Gate::Verification); }});
    tool.add({.name = u"activate"_s,
              .summary =
                  u"Activates unprinted, fee-verified candidates of a degree and college range for printing (factive); "
                  "prints every candidate it changed."_s,
              .options = selectionOptions(Gate::Activation),
              .menuCode = u"N23"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = [](BatchContext &c) { return runGate(c, Gate::Activation); }});
}

} // namespace sw
