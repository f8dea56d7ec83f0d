// SPDX-License-Identifier: GPL-3.0-or-later
// Small value rules: version order, application folder look-ups, permissions, dates.
#include "shell/core/appfolder.h"
#include "shell/core/dates.h"
#include "shell/core/permissions.h"
#include "shell/core/versiontext.h"
#include "shell/db/database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Versions compare as numbers, part by part.
TEST(VersionText, ComparesPartByPartAsNumbers)
{
    using sw::VersionOrder;
    const struct
    {
        const char16_t *program;
        const char16_t *database;
        VersionOrder order;
    } cases[] = {
        {u"1.0.0", u"1.0.0", VersionOrder::Equal},
        {u"1.0.1", u"1.0.0", VersionOrder::DatabaseOlder},
        {u"1.0.0", u"1.0.1", VersionOrder::DatabaseNewer},
        // A database at 1.0.9 is older than program 1.0.10 (as text it would sort after it).
        {u"1.0.10", u"1.0.9", VersionOrder::DatabaseOlder},
        {u"1.0.9", u"1.0.10", VersionOrder::DatabaseNewer},
        {u"1.0.0", u"9.0.0", VersionOrder::DatabaseNewer},
        {u"1.0", u"1.0.0", VersionOrder::Equal},
        // An empty or unreadable stamp is older than any program.
        {u"1.0.0", u"", VersionOrder::DatabaseOlder},
        {u"1.0.0", u"x.y", VersionOrder::DatabaseOlder},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sw::compareVersionText(QString::fromUtf16(c.program), QString::fromUtf16(c.database)), c.order)
            << QString::fromUtf16(c.program).toStdString() << " / " << QString::fromUtf16(c.database).toStdString();
}

TEST(AppFolder, FindsFilesWhateverTheLetterCase)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(u"Photos"_s);
    for (const QString &name : {u"Photos/1001.JPG"_s, u"Photos/1002.jpeg"_s, u"SEAL.jpg"_s}) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
    }
    const sw::AppFolder folder(dir.path());
    EXPECT_EQ(folder.findWithExtensions(u"Photos"_s, u"1001"_s, {u"jpg"_s, u"jpeg"_s}),
              dir.filePath(u"Photos/1001.JPG"_s));
    EXPECT_EQ(folder.findWithExtensions(u"Photos"_s, u"1002"_s, {u"jpg"_s, u"jpeg"_s}),
              dir.filePath(u"Photos/1002.jpeg"_s));
    EXPECT_EQ(folder.findWithExtensions(u"Photos"_s, u"1003"_s, {u"jpg"_s}), QString());
    EXPECT_EQ(folder.findFileAnyCase(u"seal.jpg"_s), dir.filePath(u"SEAL.jpg"_s));
    EXPECT_EQ(folder.filePath(u"\\CSV\\DCPDF\\x.pdf"_s), dir.path() + u"/CSV/DCPDF/x.pdf"_s);
}

TEST(AppFolder, ResolvesCommandLineBeforeEnvironment)
{
    qputenv("SCROLLWISE_HOME", "/tmp/from-environment");
    EXPECT_EQ(sw::AppFolder::resolve(u"/tmp/from-option"_s).root(), u"/tmp/from-option"_s);
    EXPECT_EQ(sw::AppFolder::resolve(QString()).root(), u"/tmp/from-environment"_s);
    qunsetenv("SCROLLWISE_HOME");
}

TEST(Permissions, SubstringRuleOverTheGovernedCodes)
{
    namespace p = sw::permissions;
    const QString onlyImport = u"N21"_s;
    EXPECT_TRUE(p::allows(onlyImport, u"N21"_s, false));
    EXPECT_TRUE(p::allows(onlyImport, u"N2"_s, false)); // the top menu of a granted item
    EXPECT_FALSE(p::allows(onlyImport, u"N22"_s, false));
    EXPECT_FALSE(p::allows(onlyImport, u"N1"_s, false));
    for (const QString &ungoverned : {u"N14"_s, u"N15"_s, u"N2A"_s, u"N2F"_s, u"N3A"_s})
        EXPECT_TRUE(p::allows(QString(), ungoverned, false)) << ungoverned.toStdString();
    EXPECT_FALSE(p::allows(u"N4*N43*N45"_s, u"N43"_s, false));
    EXPECT_FALSE(p::allows(u"N4*N43*N45"_s, u"N45"_s, false));
    EXPECT_TRUE(p::allows(QString(), u"N43"_s, true));
    EXPECT_TRUE(p::allows(u"**N3**N31*junk"_s, u"N31"_s, false));
}

TEST(Dates, DayFirstTextParsesOnlyRealDates)
{
    EXPECT_EQ(sw::parseDmy(u"05/12/2026"_s), QDate(2026, 12, 5));
    EXPECT_EQ(sw::parseDmy(u" 5/1/2026 "_s), QDate(2026, 1, 5));
    EXPECT_FALSE(sw::parseDmy(u"31/02/2026"_s).isValid());
    EXPECT_FALSE(sw::parseDmy(u"__/__/____"_s).isValid());
    EXPECT_FALSE(sw::parseDmy(u"2026-12-05"_s).isValid());
    EXPECT_TRUE(sw::parseDmy(u"29/02/2024"_s).isValid());
    EXPECT_FALSE(sw::parseDmy(u"29/02/2025"_s).isValid());
    EXPECT_EQ(sw::formatDmy(QDate(2026, 1, 5)), u"05/01/2026"_s);
}

} // namespace
