// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace sw {

// Writes `bytes` as the whole content of `path`: into a temporary file beside it,
// flushed and closed, then renamed over the old file, so a reader never sees half a
// file and a failure leaves what was there. A failure throws StopError "The file
// PATH cannot be written: REASON." with the system's own reason ("No space left on
// device"), never a bare "Unknown error".
void writeWholeFile(const QString &path, const QByteArray &bytes);

// Many files written whole in one go, as writeWholeFile() writes one, but forced to the disk
// together: each into a temporary file beside it, then one sync of the file system for all,
// then each renamed over its name. A batch of PDF copies spent more time forcing each file to
// the disk on its own than making it.
struct WholeFile
{
    QString path;
    QByteArray bytes;
};
struct WholeFilesWritten
{
    int count = 0;   // the files written, from the first: each one whole
    QString failure; // when not all were: why the next one could not be, as writeWholeFile() says it
};
WholeFilesWritten writeWholeFiles(const std::vector<WholeFile> &files);

} // namespace sw
