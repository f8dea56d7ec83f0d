// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/lists/certprintedlist.h"
#include "reports/output/reportwriter.h"
#include "shell/document/document.h"

#include <QDate>
#include <QString>

#include <optional>

namespace sw {

class Prompter;
class Session;

// The papers that go with printed certificates when they are dispatched: the text
// list of register and certificate numbers per college, and the documents (a
// covering letter per college, the check list of the range, a letter to each
// candidate with or without the office-copy acknowledgement). Every document
// carries the letter head of the institution file ([LETTERHEAD] NameKan, Line1,
// Line2, ReferencePrefix, SigningOffice; ms.jpg from the application folder when
// there is one) on each page.
class CoveringLetters
{
public:
    enum class Kind { List, College, Checklist, Student, StudentWithoutAck };

    CoveringLetters(Session &session, Prompter &prompter, PageHeaderSource header, QDate today = QDate::currentDate());

    // The text list of register and certificate numbers per college (Gen_Report_Data_Ver);
    // false (after "No records found for the range") when empty.
    bool dispatchList(const PrintedListSelection &selection, bool ejectAtCollege, const QString &reportFile);

    // The documents; nullopt (after "No Data found for the given for the range") when empty.
    // A covering letter per college (Gen_Report_Data_Word).
    std::optional<Document> collegeLetters(const PrintedListSelection &selection);
    // One check list of the whole range (Gen_Report_Data_Word_Checklist).
    std::optional<Document> checklist(const PrintedListSelection &selection);
    // A letter per candidate with its acknowledgement (Gen_Report_Data_Word_Student).
    std::optional<Document> studentLetters(const PrintedListSelection &selection);
    // A letter per candidate without it (Gen_Report_Data_Word_Student_Without_Ack).
    std::optional<Document> studentLettersWithoutAck(const PrintedListSelection &selection);

    // A document kind written as OpenDocument text at `odtPath` (and as PDF at `pdfPath`
    // when given), then "Report Generated Successfully". False when there was nothing
    // to write.
    bool writeDocument(Kind kind, const PrintedListSelection &selection, const QString &odtPath,
                       const QString &pdfPath = {});

    // "list", "college", "checklist", "student", "student-no-ack".
    static std::optional<Kind> kindFromName(const QString &name);
    static QStringList kindNames();

private:
    std::optional<Document> studentLetters(const PrintedListSelection &selection, bool acknowledgement);
    QString printedCondition(const QString &order) const;
    QVariantList printedParameters(const PrintedListSelection &selection) const;
    void noData();
    // A new A4 document with the letter head in its page header, the body font set.
    void startDocument(DocumentBuilder &b) const;
    void referenceLine(DocumentBuilder &b) const;

    Session &m_session;
    Prompter &m_prompter;
    PageHeaderSource m_header;
    QDate m_today;
};

} // namespace sw
