// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "../lists/listfixture.h"
#include "shell/core/inifile.h"
#include "shell/document/documentoutput.h"
#include "support/pdftext.h"
#include "support/python.h"

#include <cstdio>

// Failures print texts as texts.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace sw::test {

// The list fixture with the institution's letter head and candidates' fee records:
// what the covering letters and the address labels read.
class DispatchFixture : public ListFixture
{
protected:
    void SetUp() override
    {
        ListFixture::SetUp();
        if (IsSkipped() || !m_installed)
            return;
        m_session.instCode = QStringLiteral("003");
        IniFile ini(m_session.folder.filePath(QStringLiteral("Institution.ini")), IniFile::Encoding::Utf8);
        ini.load();
        ini.setValue(QStringLiteral("LETTERHEAD"), QStringLiteral("Line1"), QStringLiteral("VARADA UNIVERSITY"));
        ini.setValue(QStringLiteral("LETTERHEAD"), QStringLiteral("Line2"),
                     QStringLiteral("Vidya Nagar, Suvarnapura - 599 001"));
        ini.setValue(QStringLiteral("LETTERHEAD"), QStringLiteral("ReferencePrefix"), QStringLiteral("KU/EXAM/CONVO"));
        ini.setValue(QStringLiteral("LETTERHEAD"), QStringLiteral("SigningOffice"),
                     QStringLiteral("Registrar (Evaluation)"));
        ASSERT_TRUE(ini.save());
    }

    struct Fee
    {
        QString regno;
        QString appno;
        QString scheme = QStringLiteral("Normal");
        QString receive = QStringLiteral("Post");
        QString city = QStringLiteral("KOTEBETTA");
    };
    void fee(const Fee &f)
    {
        m_session.db().exec(
            QStringLiteral(
                "insert into convofee (fappno, fregno, fname, faddr1, faddr2, faddr3, faddr4, fcity, fstate, "
                "fpincode, fmobile, fscheme, freccer, famount) values (?, ?, ?, ?, ?, '', null, ?, "
                "'KARNATAKA', '580020', '9876500000', ?, ?, 500)"),
            {f.appno, f.regno, QString(QStringLiteral("Applicant ") + f.regno),
             QString(QStringLiteral("House 1, ") + f.regno), QStringLiteral("Main Road"), f.city, f.scheme, f.receive});
    }

    // The pages of a document as pdftotext -layout reads them from its PDF.
    QStringList pdfPages(const Document &document)
    {
        const QString pdf = m_dir.filePath(QStringLiteral("document.pdf"));
        documentoutput::writePdf(document, pdf);
        return pdfPages(pdf);
    }
    static QStringList pdfPages(const QString &pdf)
    {
        QString text = test::pdfLayoutText(pdf);
        // The PDF keeps the font's ligatures ("fi" as one glyph); read them as their letters.
        text.replace(QChar(0xFB00), QStringLiteral("ff")).replace(QChar(0xFB01), QStringLiteral("fi"));
        text.replace(QChar(0xFB02), QStringLiteral("fl")).replace(QChar(0xFB03), QStringLiteral("ffi"));
        text.replace(QChar(0xFB04), QStringLiteral("ffl"));
        if (qEnvironmentVariableIsSet("SCROLLWISE_DUMP_PDF_TEXT"))
            std::fprintf(stderr, "%s\n", qPrintable(text));
        QStringList pages = text.split(QChar(u'\f'));
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }
    // The text of a part of an OpenDocument file (content.xml, styles.xml), read with Python's zipfile.
    static QString odtContent(const QString &odt, const QString &part = QStringLiteral("content.xml"))
    {
        const QJsonObject read = runPython(QStringLiteral("import json, sys, zipfile\n"
                                                          "print(json.dumps({'xml': zipfile.ZipFile(sys.argv[1])"
                                                          ".read(sys.argv[2]).decode()}))\n"),
                                           {odt, part});
        return read.value(QStringLiteral("xml")).toString();
    }
    // The line of `page` holding `needle`, with its blanks squeezed.
    static QString lineWith(const QString &page, const QString &needle)
    {
        for (const QString &line : page.split(QChar(u'\n'))) {
            if (line.contains(needle))
                return line.simplified();
        }
        return {};
    }
};

} // namespace sw::test
