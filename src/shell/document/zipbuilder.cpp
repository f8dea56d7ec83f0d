// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/zipbuilder.h"

#include "shell/core/stoperror.h"

#include <zip.h>

using namespace Qt::StringLiterals;

namespace sw {

ZipBuilder::ZipBuilder(QString what)
    : m_what(std::move(what))
    , m_error(new zip_error_t)
{
    zip_error_init(m_error);
    m_source = zip_source_buffer_create(nullptr, 0, 0, m_error);
    if (!m_source)
        fail();
    zip_source_keep(m_source);
    m_zip = zip_open_from_source(m_source, ZIP_TRUNCATE, m_error);
    if (!m_zip)
        fail();
}

ZipBuilder::~ZipBuilder()
{
    if (m_zip)
        zip_discard(m_zip);
    if (m_source)
        zip_source_free(m_source);
    zip_error_fini(m_error);
    delete m_error;
}

void ZipBuilder::add(const QString &name, QByteArray data, bool stored)
{
    m_keep.push_back(std::move(data));
    const QByteArray &bytes = m_keep.back();
    zip_source_t *s = zip_source_buffer(m_zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
    if (!s)
        fail(zip_get_error(m_zip));
    const zip_int64_t index = zip_file_add(m_zip, name.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(s);
        fail(zip_get_error(m_zip));
    }
    if (stored)
        zip_set_file_compression(m_zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
}

QByteArray ZipBuilder::finish()
{
    if (zip_close(m_zip) < 0)
        fail(zip_get_error(m_zip));
    m_zip = nullptr;
    QByteArray out;
    zip_stat_t st;
    if (zip_source_stat(m_source, &st) < 0 || zip_source_open(m_source) < 0)
        fail(zip_source_error(m_source));
    out.resize(qsizetype(st.size));
    const zip_int64_t read = zip_source_read(m_source, out.data(), st.size);
    zip_source_close(m_source);
    if (read != zip_int64_t(st.size))
        fail(zip_source_error(m_source));
    return out;
}

qint64 ZipBuilder::storedSize(const QString &name, qint64 dataSize)
{
    // Local header 30 bytes and central header 46, each with the name; libzip may add a
    // data descriptor (16) and extra fields for UTF-8 names and times (up to 64).
    return 30 + 46 + 16 + 64 + 2 * qint64(name.toUtf8().size()) + dataSize;
}

void ZipBuilder::fail(zip_error *error)
{
    throw StopError(m_what + u" cannot be built: "_s + QString::fromUtf8(zip_error_strerror(error ? error : m_error))
                    + u'.');
}

} // namespace sw
