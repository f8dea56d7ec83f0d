// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/masterscommands.h"

#include "masters/masterimport.h"
#include "masters/namelibrary/kannadanameupdate.h"
#include "shell/audit/audittrail.h"
#include "shell/batch/batchcommand.h"
#include "shell/core/legacytext.h"
#include "shell/core/permissions.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The menu item of the screen that keeps each table: loading a file needs the
// same permission as typing the rows in.
QString menuCodeOfTable(const QString &table)
{
    static const QHash<QString, QString> codes = {
        {u"masuniv"_s, u"N15"_s},  {u"college"_s, u"N12"_s}, {u"class"_s, u"N13"_s},
        {u"masconvo"_s, u"N14"_s}, {u"degree"_s, u"N11"_s},
    };
    return codes.value(table.toLower());
}

int runList(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"masters list needs the table: one of "_s + listableMasters().join(u", "_s));
    const QString table = c.args.positionals.first();
    if (!listableMasters().contains(table.toLower()))
        throw UsageError(u"\""_s + table + u"\" is not a master table; use one of: "_s
                         + listableMasters().join(u", "_s));
    // The users and their permissions are the security screen's, which is the administrator's alone.
    if (table.compare(u"masuser"_s, Qt::CaseInsensitive) == 0
        && !permissions::allows(c.session.permissions, u"N43"_s, c.session.isAdministrator())) {
        c.err << u"User "_s << c.session.userName << u" may not use menu item N43 (\"masters list masuser\")."_s
              << Qt::endl;
        return batchexit::kRefused;
    }
    const MasterListing listing = listMaster(c.session.db(), table);
    // Tab-separated, as masters import reads it back: a value the reader would change
    // (a quote, a tab or line break, blanks at its ends) is quoted, its quotes doubled.
    const auto field = [](QString value) {
        const bool quoted = value.contains(u'"') || value.contains(u'\t') || value.contains(u'\n')
                            || value.contains(u'\r') || value != value.trimmed();
        return quoted ? u'"' + value.replace(u"\""_s, u"\"\""_s) + u'"' : value;
    };
    QStringList lines{listing.header.join(u'\t')};
    for (const QStringList &row : listing.rows) {
        QStringList fields;
        for (const QString &value : row)
            fields << field(value);
        lines << fields.join(u'\t');
    }
    const QString out = c.args.value(u"out"_s);
    if (out.isEmpty()) {
        for (const QString &line : lines)
            c.out << line << Qt::endl;
        return batchexit::kOk;
    }
    // A file is written in the encoding masters import reads by default.
    const QString encodingName = c.args.value(u"encoding"_s, u"cp1252"_s);
    const std::optional<legacytext::Encoding> encoding = legacytext::encodingNamed(encodingName);
    if (!encoding)
        throw UsageError(u"--encoding takes cp1252 or utf-8, not "_s + encodingName);
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(legacytext::encode(lines.join(u"\r\n"_s) + u"\r\n"_s, *encoding)) < 0 || !file.commit()) {
        c.err << u"The listing cannot be written to "_s << out << u": "_s << file.errorString() << Qt::endl;
        return batchexit::kRefused;
    }
    c.out << listing.rows.size() << u" rows of "_s << table.toLower() << u" written to "_s << out << Qt::endl;
    return batchexit::kOk;
}

int runImport(BatchContext &c)
{
    if (c.args.positionals.size() != 2)
        throw UsageError(
            u"masters import needs the table and the file: scrollwise-batch masters import TABLE FILE.csv"_s);
    const QString table = c.args.positionals.at(0);
    const QString code = menuCodeOfTable(table);
    if (!code.isEmpty()) {
        if (const QString refusal = menuRefusal(c, code, u"masters import "_s + table.toLower()); !refusal.isEmpty()) {
            c.err << refusal << Qt::endl;
            return batchexit::kRefused;
        }
    }
    const QString encodingName = c.args.value(u"encoding"_s, u"cp1252"_s);
    const auto encoding = legacytext::encodingNamed(encodingName);
    if (!encoding)
        throw UsageError(u"--encoding takes cp1252 or utf-8, not \""_s + encodingName + u'"');
    MasterImport import(c.session.db(), c.session.folder);
    const MasterImport::Result result = import.run(table, c.args.positionals.at(1), *encoding);
    if (!result.done) {
        c.err << result.error << Qt::endl;
        return batchexit::kRefused;
    }
    AuditTrail(c.session.db())
        .record(c.session.userName, {u"masters"_s,
                                     u"import"_s,
                                     table.toLower(),
                                     c.args.positionals.at(1),
                                     {},
                                     u"added="_s + QString::number(result.counts.inserted) + u"; rejected="_s
                                         + QString::number(result.counts.rejected)});
    c.out << u"rows added to "_s << table.toLower() << u": "_s << result.counts.inserted << Qt::endl;
    c.out << result.counts.summaryLine() << Qt::endl;
    if (!result.counts.rejectFile.isEmpty())
        c.err << u"skipped and rejected rows: "_s << result.counts.rejectFile << Qt::endl;
    return result.counts.rejected > 0 ? batchexit::kRefused : batchexit::kOk;
}

int runKannadaFill(BatchContext &c)
{
    // One line per percent reached: a line per candidate would bury the counts below.
    int printedPercent = -1;
    KannadaNameUpdate update(c.session.db(), c.prompter, [&c, &printedPercent](const QString &status, int percent) {
        if (status.isEmpty() || (percent >= 0 && percent == printedPercent))
            return;
        printedPercent = percent;
        c.out << status << Qt::endl;
    });
    const bool library = c.args.has(u"library"_s);
    const KannadaNameUpdate::Result result = library ? update.build() : update.fill();
    c.out << u"candidate rows read: "_s << result.rows << Qt::endl;
    if (library)
        c.out << u"library words added: "_s << result.wordsAdded << Qt::endl;
    else
        c.out << u"Kannada names filled: "_s << result.namesFilled << Qt::endl;
    if (!result.stoppedAt.isEmpty())
        c.err << u"stopped at "_s << result.stoppedAt << Qt::endl;
    return result.done || result.stoppedAt.isEmpty() ? batchexit::kOk : batchexit::kRefused;
}

} // namespace

void addMastersCommands(BatchTool &tool)
{
    tool.add({.name = u"masters list"_s,
              .arguments = u"TABLE"_s,
              .summary =
                  u"Prints every row of a master table (masuniv, college, class, masconvo, degree, kanlib, masuser), "
                  "tab-separated under a header line, as masters import reads it back (masuser's passwords left "
                  "out)."_s,
              .options = {{u"out"_s, u"FILE"_s, u"write the listing to FILE instead, in cp1252 unless --encoding"_s},
                          {u"encoding"_s, u"cp1252|utf-8"_s, u"with --out: how the file's text is written"_s}},
              .needsLogin = true,
              .needsDatabase = true,
              .run = runList});
    tool.add({.name = u"masters import"_s,
              .arguments = u"TABLE FILE.csv"_s,
              .summary =
                  u"Adds the rows of a comma-separated (or, as masters list writes it, tab-separated) file (first "
                  "line: column names, the Kannada ones included) to "
                  "masuniv, college, class, masconvo or degree, with the screens' checks; codes already there are left "
                  "as they are, bad rows are listed with their reasons in FILE.csv.rejected.csv."_s,
              .options = {{u"encoding"_s, u"cp1252|utf-8"_s,
                           u"how the file's text is written (default cp1252: the legacy Kannada bytes as they are)"_s}},
              .needsLogin = true,
              .needsDatabase = true,
              .run = runImport});
    tool.add({.name = u"kannada-fill"_s,
              .summary =
                  u"Fills the candidates' missing Kannada names from the name library (--library: teaches the library "
                  "from candidates whose Kannada names are known)."_s,
              .options = {{u"library"_s, {}, u"build the library instead of filling names"_s}},
              .menuCode = u"N2A"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runKannadaFill});
}

} // namespace sw
