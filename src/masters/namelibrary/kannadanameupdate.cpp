// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/namelibrary/kannadanameupdate.h"

#include "masters/namelibrary/namelibrary.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/db/failures.h"
#include "shell/db/rowbatch.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Rows written between two commits. A failure keeps the rows written before it.
constexpr int kRowsPerCommit = 500;

// The name pairs in the order the runs treat them: English column, Kannada column.
const std::pair<const char16_t *, const char16_t *> kPairs[] = {
    {u"fname", u"fnamekan"},
    {u"fsirname", u"fsirnamekan"},
    {u"ffatname", u"ffatnamekan"},
    {u"fmotname", u"fmotnamekan"},
};

struct NameRow
{
    QString regno;
    QString english[4];
    QString kannada[4];
};

// Reads the rows first: the updates then never run under an open cursor of the same table.
// The statements list the pairs' columns after the register number (when there is one) in
// the order of kPairs, English then Kannada, so columns are read by position.
std::vector<NameRow> readRows(Database &db, const QString &sql, bool withRegno)
{
    std::vector<NameRow> rows;
    Rows r = db.query(sql);
    const int first = withRegno ? 1 : 0;
    while (r.next()) {
        NameRow row;
        if (withRegno)
            row.regno = r.text(0);
        for (int i = 0; i < 4; ++i) {
            row.english[i] = r.text(first + 2 * i);
            row.kannada[i] = r.text(first + 2 * i + 1);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int percent(size_t done, size_t total) { return total == 0 ? 0 : int(done * 100 / total); }

} // namespace

KannadaNameUpdate::KannadaNameUpdate(Database &db, Prompter &prompter, Progress progress)
    : m_db(db)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
{
}

void KannadaNameUpdate::stop(const std::exception &error)
{
    const auto *db = dynamic_cast<const DbError *>(&error);
    const QString text = db && db->description().contains(u"Item Cannot be found"_s, Qt::CaseInsensitive)
                             ? u"Some field is missing from CNV file"_s
                             : failureText(error, ErrorForm::Numbered);
    m_prompter.message(text, u"Message"_s, PromptIcon::Exclamation);
    report(m_progress, QString(), 0);
}

KannadaNameUpdate::Result KannadaNameUpdate::fill()
{
    Result result;
    report(m_progress, u"Updating Kannada Names"_s, 0);
    const QString pending = m_db.dialect().coalesce(u"fkanupdated"_s, u"''"_s) + u" <> 'T' and "_s
                            + m_db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s;
    std::vector<NameRow> rows;
    try {
        rows = readRows(m_db,
                        u"select fregno, fname, fnamekan, fsirname, fsirnamekan, ffatname, ffatnamekan, fmotname, "
                        "fmotnamekan from convo where "_s
                            + pending + u" order by fcollcode, fregno"_s,
                        true);
    } catch (const DbError &e) {
        stop(e);
        return result;
    }
    if (rows.empty()) {
        m_prompter.message(u"No Names available for Updation"_s, u"Message"_s, PromptIcon::Exclamation);
        report(m_progress, QString(), 0);
        return result;
    }

    NameLibrary library(m_db);
    library.preload();
    // The name reaches every unprinted row of the register number; a printed row keeps
    // the name it was printed with.
    const QString unprinted = m_db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s;
    try {
        // One statement per candidate writes all of its names that were composed: a
        // null leaves a column as it is.
        QString assignments;
        for (const auto &pair : kPairs) {
            const QString column = QString::fromUtf16(pair.second);
            assignments += (assignments.isEmpty() ? QString() : u", "_s) + column + u" = "_s
                           + m_db.dialect().coalesce(u"?"_s, column);
        }
        Statement update = m_db.prepare(u"update convo set "_s + assignments + u" where fregno = ? and "_s + unprinted);
        RowBatch batch(m_db, kRowsPerCommit);
        for (size_t i = 0; i < rows.size(); ++i) {
            const NameRow &row = rows[i];
            result.stoppedAt = row.regno;
            QVariantList values;
            int filled = 0;
            for (int p = 0; p < 4; ++p) {
                QString built;
                if (NameLibrary::needsFill(row.english[p], row.kannada[p]))
                    built = library.compose(row.english[p]);
                if (built.isEmpty()) {
                    values << QVariant(QMetaType(QMetaType::QString));
                    continue;
                }
                values << built;
                ++filled;
            }
            if (filled > 0) {
                values << row.regno;
                update.exec(values);
                result.namesFilled += filled;
            }
            report(m_progress, u"Updating Reg. No.: "_s + row.regno, percent(i + 1, rows.size()));
            ++result.rows;
            batch.rowDone();
        }
        batch.commitNow();
    } catch (const std::exception &e) {
        stop(e);
        return result;
    }
    result.stoppedAt.clear();
    result.done = true;
    m_prompter.info(u"Library Updated Successfully"_s);
    report(m_progress, QString(), 0);
    return result;
}

KannadaNameUpdate::Result KannadaNameUpdate::build()
{
    Result result;
    report(m_progress, u"Building Library..."_s, 0);
    std::vector<NameRow> rows;
    try {
        rows = readRows(m_db,
                        u"select distinct fname, fnamekan, fsirname, fsirnamekan, ffatname, ffatnamekan, fmotname, "
                        "fmotnamekan from convo where "_s
                            + m_db.dialect().coalesce(u"fnamekan"_s, u"''"_s) + u" <> '' order by fname"_s,
                        false);
    } catch (const DbError &e) {
        stop(e);
        return result;
    }
    if (rows.empty()) {
        m_prompter.message(u"No Names available for Updation"_s, u"Message"_s, PromptIcon::Exclamation);
        report(m_progress, QString(), 0);
        return result;
    }

    NameLibrary library(m_db);
    try {
        library.preload();
        RowBatch batch(m_db, kRowsPerCommit);
        QString status = u"Building Library..."_s;
        for (size_t i = 0; i < rows.size(); ++i) {
            const NameRow &row = rows[i];
            result.stoppedAt = row.english[0];
            for (int p = 0; p < 4; ++p) {
                const QStringList added = library.learn(row.english[p], row.kannada[p], NameLibrary::WordCase::Upper);
                for (const QString &word : added) {
                    status = u"Updating Library for "_s + word;
                    report(m_progress, status, percent(i, rows.size()));
                }
                result.wordsAdded += int(added.size());
            }
            report(m_progress, status, percent(i + 1, rows.size()));
            ++result.rows;
            batch.rowDone();
        }
        batch.commitNow();
    } catch (const std::exception &e) {
        stop(e);
        return result;
    }
    result.stoppedAt.clear();
    result.done = true;
    m_prompter.info(u"Library Updated Successfully"_s);
    report(m_progress, QString(), 0);
    return result;
}

} // namespace sw
