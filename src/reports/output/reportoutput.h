// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/output/reportpreview.h"
#include "reports/output/reportpreviewdialog.h"
#include "reports/output/reportwriter.h"
#include "shell/document/document.h"

namespace sw {

class Session;

// The page header every text report of the installation carries: the institution's
// name and address from the settings row, today's date and the page number.
PageHeaderSource institutionPageHeader(const Session &session);

// A text report as a document for the document printer: one page of paper for each
// report page, on the paper of ReportPaper (A4 portrait, legal landscape past 120
// columns) with half-inch margins, in a fixed-pitch font small enough for the
// report's widest line and longest page.
Document reportDocument(const ReportPreview &report);

// The report file on the document printer (named, or the default one).
void printReportThroughDocumentPrinter(const QString &reportFile, const QString &printer);
// The report file as a PDF of the same pages.
void writeReportPdf(const QString &reportFile, const QString &pdfPath);

// How the preview prints for this installation: the printer named in the
// configuration ([APATH] PRINTER in Morvanta.INI; the default printer when none)
// and the document printer for the "&Windows" choice.
ReportPrinting reportPrinting(const Session &session);

} // namespace sw
