// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/document/document.h"

#include <QString>

namespace sw {

struct CertificateRow;

// The PDF copies of certificates that the depository export uploads.
namespace certificatepdf {

// CSV/DCPDF/DC_<institution>_<regno>_F_<year>_<exam type>.pdf under the application folder.
QString pdfPath(const AppFolder &folder, const QString &instCode, const CertificateRow &row);

// Writes `certificate` as the PDF copy: the washed-out watermark img/mcwm.jpg over
// the whole page when it exists, and `stamp` (the certificate number) in a text box
// at the top right. Each outcome is appended to mcverifypdf.log; a failure throws
// StopError "Error Creating PDF" after logging why.
void save(const AppFolder &folder, Document certificate, const QString &stamp, const QString &path);

QString logPath(const AppFolder &folder);

} // namespace certificatepdf
} // namespace sw
