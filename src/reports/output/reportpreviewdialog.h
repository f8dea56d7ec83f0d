// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/output/reportpreview.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace sw {

class AppFolder;
class Prompter;

// How the preview prints: "&DOS" hands the file to the operating system's print
// command, "&Windows" draws it through the document printer.
struct ReportPrinting
{
    QString printer; // empty: the default printer
    // Prints the report through the document printer; set by the program, empty where
    // there is none (the "&Windows" choice then says so).
    std::function<void(const QString &reportFile, const QString &printer)> throughDocumentPrinter;
};

// The preview window of a text report: one page of the report at a time in a
// fixed-pitch font, read-only, with print, save as text, search through the whole
// report (and search again), and previous, next and go to page. Showing a page at a
// time keeps a report of a hundred thousand lines as quick to open as a short one.
// Esc closes it.
class ReportPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    ReportPreviewDialog(const QString &reportFile, const AppFolder &folder, Prompter &prompter, ReportPrinting printing,
                        QWidget *parent = nullptr);

    void print();
    void save();
    void search();
    void goToPage(int page);
    int currentPage() const { return m_currentPage; }

    const ReportPreview &preview() const { return m_preview; }
    QPlainTextEdit *textBox() const { return m_rtb; }

private:
    void showPage(int page);
    void showWhereWeAre();

    QString m_reportFile;
    QString m_folder;
    Prompter &m_prompter;
    ReportPrinting m_printing;
    ReportPreview m_preview;
    QPlainTextEdit *m_rtb;
    QRadioButton *m_dos;
    QRadioButton *m_windows;
    QSpinBox *m_page;
    QLabel *m_where;
    int m_currentPage = 0;
};

// Shows the report file in the preview window, modally; returns when it is closed.
void ShowReportPreview(const QString &reportFile, const AppFolder &folder, Prompter &prompter,
                       const ReportPrinting &printing, QWidget *parent = nullptr);

} // namespace sw
