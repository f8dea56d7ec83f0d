// SPDX-License-Identifier: GPL-3.0-or-later
// "menu" and "words" as a user runs them: the real command-line tool.
#include "support/testdatabase.h"

#include "shell/core/passwordcodec.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct BatchRun
{
    int exitCode;
    QString out;
    QString err;
};

BatchRun batch(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral(SCROLLWISE_BATCH_PATH), arguments);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// code -> "enabled" / "disabled" from the menu command's lines.
QHash<QString, QString> states(const QString &out)
{
    QHash<QString, QString> map;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.trimmed().split(u'\t');
        if (f.size() == 3)
            map.insert(f[0], f[2]);
    }
    return map;
}

class MenuCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = std::make_unique<sw::test::InstalledFolder>(sw::test::TestBackend::SQLite);
        auto db = m_folder->connect();
        db->exec(u"insert into masuser (fusername, fpasswd, fpermission) values ('CLERK', ?, 'N2*N21*N43')"_s,
                 {sw::passwords::encodeUser(u"pw"_s)});
        db->exec(u"insert into masconvo (fconvocode, fconvoname) values ('C26', 'C 2026')"_s);
    }
    QStringList as(const QString &user, const QString &password, const QString &convo) const
    {
        return {u"--folder"_s, m_folder->folder().root(), u"--user"_s, user, u"--password"_s, password,
                u"--convo"_s, convo, u"menu"_s};
    }
    std::unique_ptr<sw::test::InstalledFolder> m_folder;
};

TEST_F(MenuCommandTest, PrintsTheTreeAsALimitedUserSeesIt)
{
    const BatchRun r = batch(as(u"CLERK"_s, u"pw"_s, u"C26"_s));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(u"N1\t&Masters\tdisabled\n  N14\t&Convocation\tenabled\n"_s)) << r.out.toStdString();
    const auto s = states(r.out);
    EXPECT_EQ(s.value(u"N2"_s), u"enabled"_s);
    EXPECT_EQ(s.value(u"N21"_s), u"enabled"_s);
    EXPECT_EQ(s.value(u"N22"_s), u"disabled"_s);
    EXPECT_EQ(s.value(u"N43"_s), u"disabled"_s);
    EXPECT_EQ(s.value(u"N3A"_s), u"enabled"_s);
    EXPECT_EQ(s.value(u"MnuExit"_s), u"enabled"_s);
    EXPECT_FALSE(r.out.contains(u"sep"_s, Qt::CaseInsensitive));
}

TEST_F(MenuCommandTest, TheAdministrativeConvocationDisablesTheConvocationCommands)
{
    const BatchRun admn = batch(as(u"ADMIN"_s, u"admin"_s, u"ADMN"_s));
    ASSERT_EQ(admn.exitCode, 0) << admn.err.toStdString();
    const auto s = states(admn.out);
    EXPECT_EQ(s.value(u"N22"_s), u"disabled"_s);
    EXPECT_EQ(s.value(u"N31"_s), u"disabled"_s);
    EXPECT_EQ(s.value(u"N45"_s), u"enabled"_s);
    const auto c26 = states(batch(as(u"ADMIN"_s, u"admin"_s, u"C26"_s)).out);
    EXPECT_EQ(c26.value(u"N22"_s), u"enabled"_s);
    EXPECT_EQ(c26.size(), s.size());
}

TEST_F(MenuCommandTest, AWrongPasswordPrintsNoMenu)
{
    const BatchRun r = batch(as(u"CLERK"_s, u"nope"_s, u"C26"_s));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(u"Invalid Password"_s));
}

TEST(WordsCommand, PrintsTheAmountOrSaysWhatIsWrong)
{
    const BatchRun r = batch({u"words"_s, u"125000.50"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, u"One Lakh Twenty Five Thousand And Fifty Paise\n"_s);
    const BatchRun bad = batch({u"words"_s, u"12,5"_s});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(u"\"12,5\" is not an amount"_s)) << bad.err.toStdString();
    EXPECT_EQ(batch({u"words"_s}).exitCode, 2);
}

} // namespace
