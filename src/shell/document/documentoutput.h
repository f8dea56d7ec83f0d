// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QStringList>

#include <vector>

class QPrinter;

namespace sw::documentoutput {

// Where a composed Document goes. Every writer writes under a temporary name and
// renames at the end, so a failure never leaves a partial file under the final
// name; failures throw StopError naming the file or printer.

// One PDF file with the fonts embedded.
void writePdf(const Document &document, const QString &path);

// Several documents in one PDF in memory, each one's pages after the previous
// one's. Fonts and pictures the documents share are embedded once, which makes
// this much cheaper per document than one file each. `pageCounts`, when given,
// receives how many pages each document took.
QByteArray pdfOf(const std::vector<const Document *> &documents, std::vector<int> *pageCounts = nullptr);
// One PDF file per document, drawn as one PDF as above and split: each file is complete
// on its own and reads exactly as if it had been written alone, while what the documents
// share (fonts, pictures, the outlines of their Kannada wording) is embedded and
// compressed once for all of them.
std::vector<QByteArray> pdfsOf(const std::vector<const Document *> &documents);

// One PNG per page in `folder` (created when missing): baseName-1.png, baseName-2.png, ...
// Returns the files written.
QStringList writePng(const Document &document, const QString &folder, double dotsPerInch = 150,
                     const QString &baseName = QStringLiteral("page"));

// Prints on the named printer, or on the default printer when `printerName` is
// empty, before returning. A printer that does not exist is refused by name, as
// is a job the printing system does not accept.
void print(const Document &document, const QString &printerName = {});
// The printer print() would use; refuses (StopError) a missing default or unknown name.
QString checkPrinter(const QString &printerName);
// Prints on a printer the caller set up (a file printer in tests): the document's
// paper and orientation, drawn from the paper's corner.
void print(const Document &document, QPrinter &printer);
QStringList printerNames();
QString defaultPrinterName();

// Opens a written file with the desktop's default application and returns true;
// returns false when there is no desktop (the caller prints the path instead).
bool showFile(const QString &path);

} // namespace sw::documentoutput
