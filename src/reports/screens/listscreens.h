// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/screens/reportscreen.h"

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
};

} // namespace sw
