// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/screens/reportscreen.h"

class QCheckBox;
class QLineEdit;

namespace sw {

// Student List . . .: the student list, summary and the spreadsheet lists.
class StudentListScreen final : public ReportScreen
{
    Q_OBJECT
public:
    explicit StudentListScreen(const FormContext &context, QWidget *parent = nullptr);

protected:
    bool generate() override;
    bool fieldLeft(QLineEdit *field) override;

private:
    QLineEdit *m_degree, *m_collegeFrom, *m_collegeTo;
    QLineEdit *m_degreeName, *m_collegeFromName, *m_collegeToName;
    QCheckBox *m_printedOnly, *m_kannadaNames, *m_summary, *m_activeOnly, *m_convocationList, *m_ledger;
};

// Certificate Printed List . . .: by date of issue, the portal update, the CSV file,
// the count of all convocations and the ledger.
class PrintedListScreen final : public ReportScreen
{
    Q_OBJECT
public:
    explicit PrintedListScreen(const FormContext &context, QWidget *parent = nullptr);

protected:
    bool generate() override;
    bool fieldLeft(QLineEdit *field) override;

private:
    QLineEdit *m_dateFrom, *m_dateTo;
    QCheckBox *m_toOnline, *m_toCsv, *m_summary, *m_ledger;
};

// The degree and college ranges with dates of the cancelled list.
class CancelledListScreen final : public ReportScreen
{
    Q_OBJECT
public:
    explicit CancelledListScreen(const FormContext &context, QWidget *parent = nullptr);

protected:
    bool generate() override;
    bool fieldLeft(QLineEdit *field) override;

private:
    QLineEdit *m_dateFrom, *m_dateTo;
};

// Activated Student List . . . (with the photograph check) and Downloaded List . . .
// (candidates who paid online): degree and college ranges with their options.
class RangeListScreen final : public ReportScreen
{
    Q_OBJECT
public:
    enum class Kind { Activated, Online };
    RangeListScreen(const FormContext &context, Kind kind, QWidget *parent = nullptr);

protected:
    bool generate() override;

private:
    Kind m_kind;
    QLineEdit *m_degreeFrom, *m_degreeTo, *m_collegeFrom, *m_collegeTo;
    QCheckBox *m_pendingPhotos = nullptr;
    QCheckBox *m_activeOnly; // "Not Active Only" on the downloaded list
};

// Mismatch Report . . .: runs as soon as the screen opens.
class MismatchListScreen final : public ReportScreen
{
    Q_OBJECT
public:
    explicit MismatchListScreen(const FormContext &context, QWidget *parent = nullptr);

protected:
    bool generate() override;
};

// Photo Paste Format . . .: the sheet of photograph boxes, left open for the user.
class PhotoSheetScreen final : public ReportScreen
{
    Q_OBJECT
public:
    explicit PhotoSheetScreen(const FormContext &context, QWidget *parent = nullptr);

protected:
    bool generate() override;

private:
    QLineEdit *m_degreeFrom, *m_degreeTo, *m_collegeFrom, *m_collegeTo, *m_regnoFrom, *m_regnoTo;
    QCheckBox *m_freshOnly, *m_update, *m_activeOnly;
};

} // namespace sw
