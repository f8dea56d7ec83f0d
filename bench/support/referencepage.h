// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QColor>
#include <QString>

namespace sw::bench {

// The reference page the document benchmark writes: a one-page certificate of ten
// paragraphs in two Latin fonts and two pictures. The certificate benchmark compares its
// copies with it, so the cost of a real layout is seen against the composer's own.
QString makeReferencePicture(const QString &path, int size, QColor colour);
Document referenceCertificate(const QString &seal, const QString &signature, int serial);

// Reference pages written one file each into `folder`, per second of processor time.
double referencePagesPerCpuSecond(const QString &folder, int pages);

} // namespace sw::bench
