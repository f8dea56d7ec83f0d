// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QString>
#include <QStringList>

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
    virtual void ready() {}
    virtual void print(const Document &sheet, const QString &certNo, const QString &regno) = 0;
    virtual void preview(const Document &sheet, const QString &certNo, const QString &regno) = 0;
};

// The printer the clerk chose (the default printer when the name is empty);
// previews are written as PNG pages into `previewFolder` and opened on the desktop.
class PrinterOutput final : public SheetOutput
{
public:
    PrinterOutput(QString printerName, QString previewFolder);
    void ready() override;
    void print(const Document &sheet, const QString &certNo, const QString &regno) override;
    void preview(const Document &sheet, const QString &certNo, const QString &regno) override;

private:
    QString m_printer;
    QString m_previewFolder;
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
    const QStringList &written() const { return m_written; }

private:
    QString m_folder;
    double m_dpi;
    QStringList m_written;
};

} // namespace sw
