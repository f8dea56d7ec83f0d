// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QByteArray>
#include <QString>

namespace sw {

// Writes a Document as OpenDocument text (.odt) for the documents a clerk edits
// before printing (letters, labels, photo sheets). Page setup, header with page
// numbers and watermark, paragraphs, tables, page breaks, and pictures and text
// boxes anchored to their page at the same positions the renderer draws them.
// Pictures are embedded. Bad input throws StopError as the renderer does; the file
// appears under its name only when complete.
class OdtWriter
{
public:
    static void write(const Document &document, const QString &path);
    // The zipped package itself.
    static QByteArray package(const Document &document);
};

} // namespace sw
