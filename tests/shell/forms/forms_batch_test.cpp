// SPDX-License-Identifier: GPL-3.0-or-later
// "menu" and "words" as a user runs them: the real command-line tool.
#include "support/testdatabase.h"

#include "shell/core/passwordcodec.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/batchrun.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using sw::test::BatchRun;
using sw::test::runBatch;

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
        return {
            u"--folder"_s, m_folder->folder().root(), u"--user"_s, user, u"--password"_s, password, u"--convo"_s, convo,
            u"menu"_s};
    }
    std::unique_ptr<sw::test::InstalledFolder> m_folder;
};

TEST_F(MenuCommandTest, PrintsTheTreeAsALimitedUserSeesItAndTheAdministrativeConvocationDisablesItsCommands)
{
    const BatchRun r = runBatch(as(u"CLERK"_s, u"pw"_s, u"C26"_s));
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

    // The administrative convocation disables the convocation commands.
    const BatchRun admn = runBatch(as(u"ADMIN"_s, u"admin"_s, u"ADMN"_s));
    ASSERT_EQ(admn.exitCode, 0) << admn.err.toStdString();
    const auto a = states(admn.out);
    EXPECT_EQ(a.value(u"N22"_s), u"disabled"_s);
    EXPECT_EQ(a.value(u"N31"_s), u"disabled"_s);
    EXPECT_EQ(a.value(u"N45"_s), u"enabled"_s);
    const auto c26 = states(runBatch(as(u"ADMIN"_s, u"admin"_s, u"C26"_s)).out);
    EXPECT_EQ(c26.value(u"N22"_s), u"enabled"_s);
    EXPECT_EQ(c26.size(), a.size());
}

TEST(WordsCommand, PrintsTheAmountOrSaysWhatIsWrong)
{
    const BatchRun r = runBatch({u"words"_s, u"125000.50"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, u"One Lakh Twenty Five Thousand And Fifty Paise\n"_s);
    const BatchRun bad = runBatch({u"words"_s, u"12,5"_s});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(u"\"12,5\" is not an amount"_s)) << bad.err.toStdString();
    EXPECT_EQ(runBatch({u"words"_s}).exitCode, 2);
}

// scrollwise-batch kannada: legacy codes given as their characters, Unicode, or a file of
// legacy bytes; what it prints, what it says and how it ends.
struct KannadaRun
{
    const char *name;
    QString args;     // the arguments after "kannada", parted by '|'
    const char *file; // bytes written to a file passed with --file; nullptr: no file
    int exitCode;
    QString out;
    QString err; // a part of what is said on standard error; empty: nothing is said
};

void PrintTo(const KannadaRun &k, std::ostream *os) { *os << k.name; }

const KannadaRun kKannadaRuns[] = {
    {"a fixed text of the layouts", u"--to-unicode|¢£ÁAPÀ gÀAzÀÄ"_s, nullptr, 0, u"ದಿನಾಂಕ ರಂದು\n"_s, {}},
    {"a name back to its codes", u"--from-unicode|ಸೂರ್ಯಪ್ರಕಾಶ್"_s, nullptr, 0, u"¸ÀÆAiÀÄð¥ÀæPÁ±ï\n"_s, {}},
    {"digits of the Kannada-digit font", u"--to-unicode|2025|--font|Nudi 01 k"_s, nullptr, 0, u"೨೦೨೫\n"_s, {}},
    {"digits of the other fonts", u"--to-unicode|2025|--font|BRH Kannada"_s, nullptr, 0, u"2025\n"_s, {}},
    {"codes that form no syllable are kept and counted", u"--to-unicode|PÀÃ"_s, nullptr, 0, u"ಕÃ\n"_s,
     u"1 character(s) are not Kannada and were kept as they are (the first: \"Ã\")"_s},
    {"a file of legacy bytes, lines kept", {}, "\xA2\xA3\xC1\x41\x50\xC0\r\n\xAB", 0, u"ದಿನಾಂಕ\r\nವಿ\n"_s, {}},
    {"an empty file", {}, "", 0, u"\n"_s, {}},
    {"another script cannot be written",
     u"--from-unicode|ರಾಮ राम"_s,
     nullptr,
     1,
     {},
     u"\"र\" cannot be written in the legacy Kannada codes"_s},
    {"a font that is no legacy Kannada font",
     u"--to-unicode|x|--font|Arial"_s,
     nullptr,
     2,
     {},
     u"--font takes \"Nudi 01 e\", \"Nudi 01 k\" or \"BRH Kannada\", not \"Arial\""_s},
    {"no direction", {}, nullptr, 2, {}, u"kannada needs one of --to-unicode TEXT, --from-unicode TEXT, --file FILE"_s},
    {"two directions", u"--to-unicode|x|--from-unicode|y"_s, nullptr, 2, {}, u"kannada needs one of"_s},
    {"a file that is not there",
     u"--file|/nonexistent/names.txt"_s,
     nullptr,
     1,
     {},
     u"The file /nonexistent/names.txt cannot be read"_s},
};

using KannadaCommand = ::testing::TestWithParam<KannadaRun>;

TEST_P(KannadaCommand, PrintsTheOtherWritingOrSaysWhatIsWrong)
{
    const KannadaRun &k = GetParam();
    QTemporaryDir dir;
    QStringList args = QStringList{u"kannada"_s} + k.args.split(u'|', Qt::SkipEmptyParts);
    if (k.file) {
        QFile file(dir.filePath(u"names.txt"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(k.file);
        file.close();
        args << u"--file"_s << file.fileName();
    }
    const BatchRun r = runBatch(args);
    EXPECT_EQ(r.exitCode, k.exitCode) << r.err.toStdString();
    EXPECT_EQ(r.out, k.out);
    if (k.err.isEmpty())
        EXPECT_EQ(r.err, QString());
    else
        EXPECT_TRUE(r.err.contains(k.err)) << r.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Runs, KannadaCommand, ::testing::ValuesIn(kKannadaRuns));

} // namespace
