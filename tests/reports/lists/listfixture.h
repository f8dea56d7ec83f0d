// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/lists/certprintedlist.h"
#include "shell/session.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace sw::test {

// An installed folder on one backend with two degrees, two colleges and a session on
// convocation C025, for the list reports.
class ListFixture : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP();
        m_installed = std::make_unique<InstalledFolder>(GetParam());
        m_session.folder = m_installed->folder();
        m_session.cn = m_installed->connect();
        m_session.convoCode = QStringLiteral("C025");
        m_session.convoName = QStringLiteral("75th");
        Database &db = m_session.db();
        db.exec(QStringLiteral(
            "insert into degree (fdegree, fdescpn, fspecial) values ('BSC', 'BACHELOR OF SCIENCE', null)"));
        db.exec(QStringLiteral(
            "insert into degree (fdegree, fdescpn, fspecial) values ('MSCPH', 'MASTER OF SCIENCE', 'PHYSICS')"));
        db.exec(QStringLiteral(
            "insert into college (fcollcode, fcollname, ftown) values ('C001', 'FIRST COLLEGE', 'SUVARNAPURA')"));
        db.exec(QStringLiteral(
            "insert into college (fcollcode, fcollname, ftown) values ('C002', 'SECOND COLLEGE', 'MALLIGEPURA')"));
        db.exec(QStringLiteral(
            "insert into masconvo (fconvocode, fconvoname, fdate) values ('C025', '75TH', '20/12/2025')"));
        db.exec(QStringLiteral(
            "insert into masconvo (fconvocode, fconvoname, fdate) values ('C024', '74TH', '15/12/2024')"));
    }

    struct Candidate
    {
        QString regno;
        QString degree = QStringLiteral("BSC");
        QString college = QStringLiteral("C001");
        QString certNo;
        QDate printed;
        QString convocation = QStringLiteral("C025");
    };
    void add(const Candidate &c)
    {
        const bool isPrinted = !c.certNo.isEmpty();
        m_session.db().exec(
            QStringLiteral(
                "insert into convo (fregno, fname, fdegree, fcollcode, fyear, fexamtype, fexamdate, fclasscode, "
                "fcertno, fdate, fprintdate, fconvocode, factive) "
                "values (?, ?, ?, ?, '2025', '1', 'APRIL 2025', 'FC', ?, ?, ?, ?, 'T')"),
            {c.regno, QString(QStringLiteral("NAME OF ") + c.regno), c.degree, c.college,
             isPrinted ? QVariant(c.certNo) : QVariant(), isPrinted ? QVariant(QDate(2025, 12, 20)) : QVariant(),
             isPrinted ? QVariant(c.printed.isValid() ? c.printed : QDate(2025, 12, 1)) : QVariant(), c.convocation});
    }
    static QStringList readLines(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
    }
    // A selection of every degree, college (and whatever else it ranges over).
    template <typename Selection> static Selection everything()
    {
        Selection s;
        s.normaliseRanges();
        return s;
    }
    // Printed in December 2025, every degree and college.
    static PrintedListSelection december()
    {
        PrintedListSelection s;
        EXPECT_TRUE(s.takeDates(QStringLiteral("01/12/2025"), QStringLiteral("31/12/2025")).isEmpty());
        s.normaliseRanges();
        return s;
    }
    static QStringList header(int, int page) { return {QStringLiteral("HEADER ") + QString::number(page)}; }

    std::unique_ptr<InstalledFolder> m_installed;
    Session m_session;
    ScriptedPrompter m_prompter;
    QTemporaryDir m_dir;
    QString m_file = m_dir.filePath(QStringLiteral("REP001.Prn"));
};

} // namespace sw::test
