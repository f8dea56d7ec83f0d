// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace sw {

// Writes `bytes` as the whole content of `path`: into a temporary file beside it,
// flushed and closed, then renamed over the old file, so a reader never sees half a
// file and a failure leaves what was there. A failure throws StopError "The file
// PATH cannot be written: REASON." with the system's own reason ("No space left on
// device"), never a bare "Unknown error".
void writeWholeFile(const QString &path, const QByteArray &bytes);

} // namespace sw
