// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

// Where the sheets of a printing run go. Both calls return once the sheet is out:
// printed and accepted by the printer, or written whole (flushed, closed and
// renamed into place). Anything less throws StopError naming the printer or file and
// the system's reason, so a sheet is never counted as printed when it is not.
class SheetOutput
{
public:
    virtual ~SheetOutput();
    // Called before the first sheet: refuses (StopError) an output that cannot take
    // sheets at all, such as a printer that does not exist, before any number is used.
    virtual void ready() { }
    virtual void print(const Document &sheet, const QString &certNo, const QString &regno) = 0;
    // A sheet of a preview run; outputs that show no preview refuse it (StopError).
    virtual void preview(const Document &sheet, const QString &certNo, const QString &regno);
    // True when the output shows the whole run at its end (the preview window): the
    // run then previews every sheet without asking "Do you want to continue" or about
    // missing photographs after each one.
    virtual bool previewsWholeRun() const { return false; }
    // Where the sheets went, for the run's last message ("on the printer HP" or "in
    // the folder ..."); empty when there is nothing to say.
    virtual QString destination() const { return {}; }
    // The sheet was registered spoiled: an output that keeps sheets as files moves its
    // file out of the way of the valid ones (into Spoiled/) and says so; others say nothing.
    virtual QString spoiled(const QString &certNo, const QString &regno);
};

// The printer the clerk chose (the default printer when the name is empty).
class PrinterOutput final : public SheetOutput
{
public:
    explicit PrinterOutput(QString printerName);
    void ready() override;
    void print(const Document &sheet, const QString &certNo, const QString &regno) override;
    QString destination() const override;

private:
    QString m_printer;
};

// A folder that stands in for the printer: one PDF per sheet, named by certificate
// number (and register number, so a spoiled and a reprinted sheet both stay),
// previews as PNG pages. Used by the command line's --output and by the tests.
class FolderOutput final : public SheetOutput
{
public:
    explicit FolderOutput(QString folder, double previewDpi = 100);
    void print(const Document &sheet, const QString &certNo, const QString &regno) override;
    void preview(const Document &sheet, const QString &certNo, const QString &regno) override;
    QString destination() const override;
    QString spoiled(const QString &certNo, const QString &regno) override;
    const QStringList &written() const { return m_written; }

private:
    QString m_folder;
    double m_dpi;
    QStringList m_written;
};

// The preview inside the program: keeps every composed sheet for the preview window
// and writes nothing anywhere.
class PreviewSheets final : public SheetOutput
{
public:
    struct Sheet
    {
        Document document;
        QString certNo;
        QString regno;
    };
    void print(const Document &sheet, const QString &certNo, const QString &regno) override;
    void preview(const Document &sheet, const QString &certNo, const QString &regno) override;
    bool previewsWholeRun() const override { return true; }
    std::vector<Sheet> &sheets() { return m_sheets; }

private:
    std::vector<Sheet> m_sheets;
};

} // namespace sw
