// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/namelibrary/namelibrary.h"

#include "shell/db/database.h"

using namespace Qt::StringLiterals;

namespace sw {

NameLibrary::NameLibrary(Database &db)
    : m_db(db)
{
}

QStringList NameLibrary::words(const QString &name)
{
    // Split at blanks only: trimming Unicode white space would eat the legacy byte 0xA0.
    return name.split(u' ', Qt::SkipEmptyParts);
}

QString NameLibrary::spelling(const QString &englishWord, WordCase wordCase) const
{
    if (wordCase == WordCase::Upper && m_upperWords)
        return m_upperWords->value(englishWord.toUpper());
    if (wordCase == WordCase::Upper)
        return m_db.scalar(u"select fkanname from kanlib where upper(fengname) = ?"_s, {englishWord.toUpper()})
            .toString();
    return m_db.scalar(u"select fkanname from kanlib where fengname = ?"_s, {englishWord}).toString();
}

QStringList NameLibrary::learn(const QString &englishName, const QString &kannadaName, WordCase wordCase)
{
    const QStringList english = words(englishName);
    const QStringList kannada = words(kannadaName);
    QStringList added;
    if (english.isEmpty() || english.size() != kannada.size())
        return added;
    // A preloaded library answers the upper-cased look-ups from memory and learns the
    // words added, so a bulk run reads the table once instead of once per word.
    const bool fromMemory = wordCase == WordCase::Upper && m_upperWords;
    const QString existsSql = wordCase == WordCase::Upper ? u"select 1 from kanlib where upper(fengname) = ?"_s
                                                          : u"select 1 from kanlib where fengname = ?"_s;
    for (qsizetype i = 0; i < english.size(); ++i) {
        const QString word = wordCase == WordCase::Upper ? english.at(i).toUpper() : english.at(i);
        // A name may repeat a word ("RAMA RAMA"): the first spelling wins, as it would
        // had the pair been stored word by word.
        if (added.contains(word))
            continue;
        if (fromMemory ? m_upperWords->contains(word) : m_db.exists(existsSql, {word}))
            continue;
        if (!m_insert)
            m_insert.emplace(m_db.prepare(u"insert into kanlib (fengname, fkanname) values (?, ?)"_s));
        m_insert->exec({word, kannada.at(i)});
        if (fromMemory)
            m_upperWords->insert(word, kannada.at(i));
        added.append(word);
    }
    return added;
}

QString NameLibrary::compose(const QString &englishName) const
{
    QString built;
    for (const QString &word : words(englishName)) {
        const QString kannada = spelling(word, WordCase::Upper);
        if (!kannada.isEmpty())
            built += u' ' + kannada;
    }
    return trimBlanks(built);
}

void NameLibrary::preload()
{
    QHash<QString, QString> words;
    Rows rows = m_db.query(u"select fengname, fkanname from kanlib"_s);
    while (rows.next()) {
        const QString key = rows.text(0).toUpper();
        if (!words.contains(key))
            words.insert(key, rows.text(1));
    }
    m_upperWords = std::move(words);
}

std::vector<NameLibrary::Entry> NameLibrary::entries() const
{
    std::vector<Entry> out;
    Rows rows = m_db.query(u"select fengname, fkanname from kanlib order by fengname"_s);
    while (rows.next())
        out.push_back({rows.text(0), rows.text(1)});
    return out;
}

bool NameLibrary::contains(const QString &englishWord) const
{
    return m_db.exists(u"select fengname from kanlib where fengname = ?"_s, {englishWord});
}

void NameLibrary::add(const QString &englishWord, const QString &kannadaWord)
{
    m_db.exec(u"insert into kanlib (fengname, fkanname) values (?, ?)"_s, {englishWord, kannadaWord});
}

void NameLibrary::replace(const QString &englishWord, const QString &kannadaWord)
{
    m_db.exec(u"update kanlib set fkanname = ? where fengname = ?"_s, {kannadaWord, englishWord});
}

void NameLibrary::remove(const QString &englishWord)
{
    m_db.exec(u"delete from kanlib where fengname = ?"_s, {englishWord});
}

QString NameLibrary::trimBlanks(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == u' ')
        ++from;
    while (to > from && text.at(to - 1) == u' ')
        --to;
    return text.mid(from, to - from);
}

bool NameLibrary::needsFill(const QString &englishName, const QString &kannadaName)
{
    return words(englishName).size() > words(kannadaName).size();
}

} // namespace sw
