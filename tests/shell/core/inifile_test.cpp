// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/inifile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using sw::IniFile;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(u"Morvanta.INI"_s);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(IniFileTest, ReadsValuesOfOneSectionWithoutRegardToCase)
{
    IniFile ini(write("[apath]\r\ndbasepath = SQLSRVR \r\nServerName=DBHOST\r\n[OTHER]\r\nDBASEPATH=ORACLE\r\n"));
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.value(u"APATH"_s, u"DBASEPATH"_s), u"SQLSRVR"_s);
    EXPECT_EQ(ini.value(u"APATH"_s, u"SERVERNAME"_s), u"DBHOST"_s);
    EXPECT_EQ(ini.value(u"OTHER"_s, u"dbasepath"_s), u"ORACLE"_s);
    EXPECT_EQ(ini.value(u"APATH"_s, u"PASSWORD"_s), QString());
    EXPECT_EQ(ini.value(u"MISSING"_s, u"DBASEPATH"_s), QString());
}

TEST_F(IniFileTest, TheFirstKeyOfTheFirstSectionOfANameIsRead)
{
    IniFile ini(write("[A]\nK=first\nk=second\n[B]\nK=b\n[a]\nK=third\nONLYLATER=x\n"));
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.value(u"a"_s, u"K"_s), u"first"_s);
    EXPECT_EQ(ini.value(u"A"_s, u"ONLYLATER"_s), QString());
    EXPECT_FALSE(ini.contains(u"A"_s, u"ONLYLATER"_s));
    EXPECT_TRUE(ini.contains(u"b"_s, u"k"_s));
}

TEST_F(IniFileTest, ValuesReadAfterSettingOnesThatMoveTheLines)
{
    IniFile ini(write("[A]\nX=1\n\n[B]\nY=2\nZ=3\n"));
    ASSERT_TRUE(ini.load());
    ini.setValue(u"A"_s, u"NEW"_s, u"n"_s); // inserted before [B]: its lines move down
    ini.setValue(u"B"_s, u"Y"_s, u"changed"_s);
    ini.setValue(u"C"_s, u"W"_s, u"w"_s);
    const std::vector<std::tuple<QString, QString, QString>> expected = {
        {u"A"_s, u"X"_s, u"1"_s}, {u"A"_s, u"NEW"_s, u"n"_s}, {u"B"_s, u"Y"_s, u"changed"_s},
        {u"B"_s, u"Z"_s, u"3"_s}, {u"C"_s, u"W"_s, u"w"_s},   {u"B"_s, u"NEW"_s, QString()},
    };
    for (const auto &[section, key, value] : expected)
        EXPECT_EQ(ini.value(section, key), value) << qPrintable(section + u'/' + key);
}

TEST_F(IniFileTest, ValueEndsAtNulAndAtTheReadersBuffer)
{
    QByteArray longValue(400, 'x');
    IniFile ini(write("[APATH]\nA=abc" + QByteArray(1, '\0') + "def\nB=" + longValue + "\n"));
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.value(u"APATH"_s, u"A"_s), u"abc"_s);
    EXPECT_EQ(ini.value(u"APATH"_s, u"B"_s).size(), 254);
}

TEST_F(IniFileTest, EightBitValuesSurviveAWriteAndRead)
{
    const QString path = m_dir.filePath(u"x.ini"_s);
    const QString shifted = QString(QChar(0xE9)) + QChar(0xFF) + u"=;\""_s;
    {
        IniFile ini(path);
        ASSERT_TRUE(ini.load());
        ini.setValue(u"APATH"_s, u"PASSWORD"_s, shifted);
        ASSERT_TRUE(ini.save());
    }
    IniFile again(path);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.value(u"APATH"_s, u"PASSWORD"_s), shifted);
}

TEST_F(IniFileTest, SettingAKeyKeepsEveryOtherLine)
{
    const QString path =
        write("; written by hand\r\n[APATH]\r\nDBASEPATH=ORACLE\r\nPASSWORD=old\r\n\r\n[KEEP]\r\nX=1\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.load());
    ini.setValue(u"APATH"_s, u"DBASEPATH"_s, u"SQLSRVR"_s);
    ini.setValue(u"APATH"_s, u"SERVERNAME"_s, u"HOST"_s);
    ini.setValue(u"NEW"_s, u"K"_s, u"V"_s);
    ASSERT_TRUE(ini.save());
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("; written by hand\r\n[APATH]\r\nDBASEPATH=SQLSRVR\r\nPASSWORD=old\r\n"
                                      "SERVERNAME=HOST\r\n\r\n[KEEP]\r\nX=1\r\n[NEW]\r\nK=V\r\n"));
}

TEST_F(IniFileTest, GarbageAndPartialFilesReadAsWhatTheyHold)
{
    IniFile garbage(write(QByteArray("\x01\x02\xff\xfe[[[==\n=novalue\nnoequals\n[APATH\nDBASEPATH")));
    ASSERT_TRUE(garbage.load());
    EXPECT_EQ(garbage.value(u"APATH"_s, u"DBASEPATH"_s), QString());

    IniFile partial(write("[APATH]\nDBASEPATH=SQLITE"));
    ASSERT_TRUE(partial.load());
    EXPECT_EQ(partial.value(u"APATH"_s, u"DBASEPATH"_s), u"SQLITE"_s);
}

TEST_F(IniFileTest, MissingFileLoadsEmptyAndUnwritableFolderFailsWithReason)
{
    IniFile missing(m_dir.filePath(u"none.ini"_s));
    EXPECT_FALSE(missing.exists());
    EXPECT_TRUE(missing.load());
    IniFile nowhere(u"/proc/no-such-folder/x.ini"_s);
    nowhere.setValue(u"A"_s, u"B"_s, u"C"_s);
    EXPECT_FALSE(nowhere.save());
    EXPECT_FALSE(nowhere.errorString().isEmpty());
}

} // namespace
