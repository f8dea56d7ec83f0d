// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/imports/cnvwriter.h"
#include "shell/core/importtally.h"
#include "shell/session.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"
#include "support/testportal.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>

namespace sw::test {

// One candidates-file row in the writer's field order; the extra fields of the
// directory run follow when a test gives them.
struct StuRow
{
    QString regno, name, degree, subdegree, college, classDesc, examDate, year, examType, sex, caste;
    QString classShort, cexam, father, mother, cyear, clmax, clsec;
    QStringList values() const;
};

// Checks an import's total, inserted, refreshed, frozen, skipped and rejected records,
// and that every record has one outcome.
void expectCounts(const ImportCounts &counts, const std::array<int, 6> &expected);
// Writes a candidates file at `path` with CnvWriter, its folder made first.
void writeStuFile(const QString &path, const std::vector<StuRow> &rows, bool directoryFields = false);
// Several columns of a row as ImportTest::candidate() returns it, joined by "|" to be
// compared at once ("?" for a column the row lacks).
QString columns(const std::map<QString, QString> &row, const QStringList &names);

// An installed application folder on one backend with a logged-in session (user CLERK,
// convocation C26, institution 003 unless the test changes it), the degrees and colleges
// the tests' candidates name (BA, BSC, BSCCS, BCOM, MA, MSC; C01, C02, C09, AC01, X)
// and a folder for inputs.
class ImportTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override;

    // Writes a candidates file with CnvWriter; returns its path.
    QString writeStu(const QString &name, const std::vector<StuRow> &rows, bool directoryFields = false) const;
    QString writeMaster(const QString &name, const std::vector<QStringList> &rows, bool degrees,
                        bool withTown = false) const;
    QString inputPath(const QString &name) const { return m_inputs.filePath(name); }

    // A candidate row's columns by lower-case name; empty map when absent.
    std::map<QString, QString> candidate(const QString &regno, const QString &degree, const QString &college,
                                         const QString &convo = {}) const;
    int count(const QString &sql, const QVariantList &params = {}) const;
    // A candidate of `convo` as an earlier import or the form left it.
    void addCandidate(const QString &regno, const QString &name, const QString &convo,
                      const QString &degree = QStringLiteral("BA"));
    // Prints a certificate number on a candidate, freezing it.
    void print(const QString &regno, const QString &certNo);
    // The lines of the reject file an import left for `input` (header first); empty when none.
    static std::vector<QStringList> rejectFile(const QString &input);

    std::unique_ptr<InstalledFolder> m_folder;
    Session m_session;
    ScriptedPrompter m_prompter;
    QTemporaryDir m_inputs;
};

} // namespace sw::test
