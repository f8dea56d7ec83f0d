// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/passwordcodec.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
namespace passwords = sw::passwords;

namespace {

TEST(Passwords, IniEncodingShiftsEachCodeByTheLengthAndUserEncodingUpperCasesFirst)
{
    EXPECT_EQ(passwords::encodeIni(u"abc"_s), u"def"_s);
    EXPECT_EQ(passwords::decodeIni(u"def"_s), u"abc"_s);
    EXPECT_EQ(passwords::encodeIni(QString()), QString());
    EXPECT_EQ(passwords::decodeIni(QString()), QString());
    // Case is kept: the configuration file's password is used as typed.
    EXPECT_EQ(passwords::decodeIni(passwords::encodeIni(u"Sa'Pw 9"_s)), u"Sa'Pw 9"_s);
    // Ten characters stay eight-bit.
    const QString encoded = passwords::encodeIni(u"zzzzzzzzzz"_s);
    EXPECT_EQ(encoded.at(0).unicode(), 'z' + 10);
    EXPECT_EQ(passwords::decodeIni(encoded), u"zzzzzzzzzz"_s);

    EXPECT_EQ(passwords::encodeUser(u"abc"_s), u"DEF"_s);
    EXPECT_EQ(passwords::encodeUser(u"ABC"_s), passwords::encodeUser(u"abc"_s));
    EXPECT_EQ(passwords::encodeUser(u"ADMIN"_s), u"FIRNS"_s);
    EXPECT_EQ(passwords::encodeUser(u"a'b"_s), u"D*E"_s);
}

TEST(Passwords, OuterBlanksAreRefused)
{
    EXPECT_TRUE(passwords::hasOuterBlanks(u" abc"_s));
    EXPECT_TRUE(passwords::hasOuterBlanks(u"abc "_s));
    EXPECT_FALSE(passwords::hasOuterBlanks(u"a bc"_s));
    EXPECT_FALSE(passwords::hasOuterBlanks(QString()));
}

} // namespace
