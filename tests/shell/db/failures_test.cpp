// SPDX-License-Identifier: GPL-3.0-or-later
// How a failure that ends a run is worded and shown.
#include "shell/db/failures.h"
#include "support/scriptedprompter.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

TEST(ErrorText, EachFormKeepsItsSpacing)
{
    const struct
    {
        ErrorForm form;
        QString text;
    } cases[] = {
        {ErrorForm::Screen, u"Error Occurred : 75 . Path/File access error"_s},
        {ErrorForm::Report, u"Error Message  : Err No. 75  Path/File access error"_s},
        {ErrorForm::Startup, u"75  Path/File access error"_s},
        {ErrorForm::Numbered, u"75 Path/File access error"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorText(c.form, u"75"_s, u"Path/File access error"_s), c.text);
    EXPECT_EQ(reportFileError(FileErrorNumber::FileNotFound, u"/x/REP001.Prn"_s, u"No such file"_s),
              u"Error Message  : Err No. 53  /x/REP001.Prn: No such file"_s);
}

// A database failure is numbered in the place's form; the system's own stop is its
// message as written; anything else is number 0.
TEST(FailureText, DependsOnWhatFailed)
{
    const DbError missing(DbErrorKind::MissingTable, u"1146"_s, u"Table 'convo' doesn't exist"_s);
    const DbError native(DbErrorKind::Other, u"1205"_s, u"Lock wait timeout"_s);
    const StopError stop(u"Invalid Path"_s, PromptIcon::Exclamation);
    const std::runtime_error other("bad_alloc");
    EXPECT_EQ(failureText(missing, ErrorForm::Screen), u"Error Occurred : -2147217865 . Table 'convo' doesn't exist"_s);
    EXPECT_EQ(failureText(native, ErrorForm::Report), u"Error Message  : Err No. 1205  Lock wait timeout"_s);
    EXPECT_EQ(failureText(stop, ErrorForm::Report), u"Invalid Path"_s);
    EXPECT_EQ(failureText(other, ErrorForm::Screen), u"Error Occurred : 0 . bad_alloc"_s);
}

TEST(RunShowingFailures, ShowsTheStopThatEndedTheWork)
{
    test::ScriptedPrompter prompter;
    EXPECT_TRUE(runShowingFailures(prompter, ErrorForm::Screen, [] {}));
    EXPECT_TRUE(prompter.shown().empty());

    EXPECT_FALSE(runShowingFailures(prompter, ErrorForm::Screen, [] {
        throw StopError(u"Nothing to restore"_s, PromptIcon::Exclamation, u"Restore"_s);
    }));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown().back().text, u"Nothing to restore"_s);
    EXPECT_EQ(prompter.shown().back().title, u"Restore"_s);
    EXPECT_EQ(prompter.shown().back().icon, PromptIcon::Exclamation);

    EXPECT_FALSE(runShowingFailures(
        prompter, ErrorForm::Numbered, [] { throw DbError(DbErrorKind::Other, u"2013"_s, u"Lost connection"_s); },
        PromptIcon::Exclamation));
    EXPECT_EQ(prompter.last(), u"2013 Lost connection"_s);
    EXPECT_EQ(prompter.shown().back().title, u"Message"_s);
    EXPECT_EQ(prompter.shown().back().icon, PromptIcon::Exclamation);
}

// A fault of the program is no stop of the run: it is not shown as one and goes on up.
TEST(RunShowingFailures, LetsOtherExceptionsThrough)
{
    test::ScriptedPrompter prompter;
    EXPECT_THROW(runShowingFailures(prompter, ErrorForm::Screen, [] { throw std::logic_error("bug"); }),
                 std::logic_error);
    EXPECT_THROW(
        {
            try {
                throw std::out_of_range("index");
            } catch (const std::exception &) {
                showFailure(prompter, ErrorForm::Screen);
            }
        },
        std::out_of_range);
    EXPECT_TRUE(prompter.shown().empty());
}

} // namespace
