// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <deque>

struct zip;
struct zip_source;
struct zip_error;

namespace sw {

// A zip archive built in memory with libzip: entries are added in order (an entry can
// be stored rather than deflated), and finish() gives the archive's bytes. A failure
// throws StopError "<what> cannot be built: <libzip's reason>.".
class ZipBuilder
{
public:
    explicit ZipBuilder(QString what);
    ~ZipBuilder();
    ZipBuilder(const ZipBuilder &) = delete;
    ZipBuilder &operator=(const ZipBuilder &) = delete;

    void add(const QString &name, QByteArray data, bool stored = false);
    QByteArray finish();

    // What an entry of `dataSize` bytes named `name` adds to an archive at most when
    // stored: its local and central headers and its data.
    static qint64 storedSize(const QString &name, qint64 dataSize);
    static constexpr qint64 kEndRecordSize = 22;

private:
    [[noreturn]] void fail(zip_error *error = nullptr);

    QString m_what;
    zip_error *m_error = nullptr;
    zip_source *m_source = nullptr;
    zip *m_zip = nullptr;
    std::deque<QByteArray> m_keep; // libzip reads the buffers when the archive is closed
};

} // namespace sw
