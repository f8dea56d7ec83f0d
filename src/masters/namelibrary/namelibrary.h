// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/database.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sw {

// The library of Kannada name spellings (`kanlib`): one English name word to its
// Kannada spelling, stored and returned as the legacy font's 8-bit text, never
// converted. The candidate form learns from every saved candidate and the bulk
// update fills missing Kannada names from it.
class NameLibrary
{
public:
    // How an English word is stored and looked up. The candidate form and the
    // library screen keep the word as typed and compare it as the collation does;
    // the bulk update stores it in upper case and compares upper-cased.
    enum class WordCase { AsTyped, Upper };

    explicit NameLibrary(Database &db);

    // Words of a name, split at single blanks as names are written (no empty words).
    static QStringList words(const QString &name);

    // The Kannada spelling of one English word; empty when the library has none.
    QString spelling(const QString &englishWord, WordCase wordCase = WordCase::AsTyped) const;

    // Learns the words of one name pair: only when the English and the Kannada name
    // have the same number of words, each English word not yet in the library is
    // added with the Kannada word at the same position. Returns the words added.
    QStringList learn(const QString &englishName, const QString &kannadaName, WordCase wordCase);

    // A Kannada name composed word by word from the library (upper-cased look-up);
    // words the library lacks contribute nothing. Empty when no word is known.
    QString compose(const QString &englishName) const;

    // Reads the whole library once for the upper-cased look-ups of a bulk run: the
    // upper-cased comparison cannot use the word index, so each look-up would
    // otherwise read the whole table. The first row of a word wins, as in the table.
    void preload();

    // The library screen's view: every word pair ordered by the English word.
    struct Entry
    {
        QString english;
        QString kannada;
    };
    std::vector<Entry> entries() const;
    // Whether the English word (compared as the collation does) is in the library.
    bool contains(const QString &englishWord) const;
    // Adds a word pair, or gives an existing word its new spelling.
    void add(const QString &englishWord, const QString &kannadaWord);
    void replace(const QString &englishWord, const QString &kannadaWord);
    void remove(const QString &englishWord);
    // Blanks at either end removed and nothing else: the legacy font's bytes that
    // Unicode counts as white space (0xA0) are letters of a Kannada name.
    static QString trimBlanks(const QString &text);

    // Whether the fill would compose a new Kannada name: only when the English name
    // has more words than the present Kannada one.
    static bool needsFill(const QString &englishName, const QString &kannadaName);

private:
    Database &m_db;
    std::optional<QHash<QString, QString>> m_upperWords;
    std::optional<Statement> m_insert;
};

} // namespace sw
