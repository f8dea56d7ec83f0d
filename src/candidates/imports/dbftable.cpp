// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/dbftable.h"

#include "candidates/imports/importerror.h"
#include "shell/core/legacytext.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <shapefil.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The first byte of a dBASE file names its flavour: III/IV without memo, with memo,
// IV with SQL table or memo, FoxPro and Visual FoxPro variants.
bool knownVersionByte(unsigned char b)
{
    switch (b) {
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x30:
    case 0x31:
    case 0x32:
    case 0x43:
    case 0x63:
    case 0x7B:
    case 0x83:
    case 0x8B:
    case 0x8E:
    case 0xCB:
    case 0xF5:
    case 0xFB: return true;
    default: return false;
    }
}

quint32 little32(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
           | quint32(quint8(b[at + 3])) << 24;
}

quint16 little16(const QByteArray &b, int at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); }

[[noreturn]] void badFile(const QString &name, const QString &why)
{
    throw importStop(QString::fromLatin1(kBadFileNumber), why, {name, 0, {}});
}

// Field types of the dBASE family a reader may meet. Memo, binary and general fields
// keep their contents in a memo file of their own (.dbt / .fpt).
bool knownFieldType(char t) { return QByteArrayView("CNFDLMBGIYT0+@OVW").contains(t); }

// Checks the header before shapelib sees the file: shapelib opens many broken files
// without complaint and then reads garbage or stops at an unreadable record. The
// field descriptors must end with the 0x0D terminator inside the header, their
// widths must make up the record length, and the file must hold exactly the records
// its header announces (a copy cut short loses records; a header that counts fewer
// would hide the rest).
void checkHeader(const QString &path, const QString &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        badFile(name, u"The file cannot be opened: "_s + file.errorString());
    const QByteArray header = file.read(32);
    const QString notDbf = u"The file is not a dBASE table."_s;
    if (header.size() < 32 || !knownVersionByte(quint8(header[0])))
        badFile(name, notDbf);
    const quint32 records = little32(header, 4);
    const quint16 headerLength = little16(header, 8);
    const quint16 recordLength = little16(header, 10);
    const int month = quint8(header[2]), day = quint8(header[3]);
    if (headerLength < 33 || recordLength < 1 || month > 12 || day > 31)
        badFile(name, notDbf);

    file.seek(0);
    const QByteArray whole = file.read(headerLength);
    if (whole.size() < headerLength)
        badFile(name, u"The file is cut short inside its header."_s);
    int terminator = -1;
    int fields = 0;
    qint64 widths = 0, widthsWithHighByte = 0;
    for (int at = 32; at < headerLength; at += 32) {
        if (quint8(whole[at]) == 0x0D) {
            terminator = at;
            break;
        }
        if (at + 32 > headerLength)
            break;
        const QByteArray fieldName = whole.mid(at, 11).split('\0').first();
        const char type = whole[at + 11];
        if (fieldName.trimmed().isEmpty() || !knownFieldType(type))
            badFile(name, u"Field descriptor %1 of the header is damaged (name \"%2\", type 0x%3)."_s.arg(fields + 1)
                              .arg(QString::fromLatin1(fieldName))
                              .arg(QString::number(quint8(type), 16).rightJustified(2, u'0').toUpper()));
        const int width = quint8(whole[at + 16]);
        widths += width;
        widthsWithHighByte += width + (type == 'C' ? 256 * quint8(whole[at + 17]) : 0);
        ++fields;
    }
    if (terminator < 0)
        badFile(name, u"The header's field list has no end mark (0x0D) within the "_s + QString::number(headerLength)
                          + u" bytes the header announces: the records cannot be found."_s);
    if (fields == 0)
        badFile(name, u"The header describes no field."_s);
    if (widths + 1 != recordLength && widthsWithHighByte + 1 != recordLength)
        badFile(name, u"The fields' widths (%1 bytes and the deletion flag) do not make up the record length "
                      "of %2 bytes the header announces."_s.arg(widths)
                          .arg(recordLength));

    const qint64 needed = qint64(headerLength) + qint64(records) * recordLength;
    const qint64 size = file.size();
    const qint64 complete = size <= headerLength ? 0 : (size - headerLength) / recordLength;
    // The end-of-file mark (0x1A) after the last record is not a record's part.
    const bool endMark = size > headerLength && (file.seek(size - 1), file.read(1)) == "\x1A";
    if (size < needed)
        badFile(name, u"The file is cut short: its header announces "_s + QString::number(records)
                          + u" records but only "_s + QString::number(complete) + u" are complete."_s);
    const qint64 data = size - headerLength - (endMark ? 1 : 0);
    if (data > qint64(records) * recordLength) {
        const qint64 rest = data % recordLength;
        badFile(name, u"The header announces %1 records but the file holds %2%3: the records past the header's "
                      "count would be left out."_s.arg(records)
                          .arg(data / recordLength)
                          .arg(rest > 0 ? u" and %1 bytes more"_s.arg(rest) : QString()));
    }
}

QByteArray trimmedBytes(const char *begin, int size)
{
    int from = 0, to = size;
    while (from < to && (begin[from] == ' ' || begin[from] == '\0'))
        ++from;
    while (to > from && (begin[to - 1] == ' ' || begin[to - 1] == '\0'))
        --to;
    return QByteArray(begin + from, to - from);
}

QString numberText(const QByteArray &raw, int decimals)
{
    if (raw.isEmpty() || raw.count('*') == raw.size())
        return {};
    if (decimals <= 0)
        return QString::fromLatin1(raw);
    bool ok = false;
    const double value = raw.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return QString::fromLatin1(raw);
    // As a number reads back when written out as text: no trailing zeros.
    return QString::number(value, 'f', decimals).remove(QRegularExpression(u"\\.?0+$"_s));
}

QString dateText(const QByteArray &raw)
{
    if (raw.size() != 8 || raw == "00000000")
        return raw.size() == 8 ? QString() : QString::fromLatin1(raw);
    return QString::fromLatin1(raw.mid(6, 2) + '/' + raw.mid(4, 2) + '/' + raw.left(4));
}

// shapelib seeks before every record; through stdio each seek is a system call and
// drops the read buffer, which made reading the slowest part of an import. These
// hooks read through a buffer of their own, so a seek is an assignment. Read-only.
struct BufferedFile
{
    int fd = -1;
    quint64 position = 0;
    quint64 bufferStart = 0;
    std::vector<char> buffer;
    size_t filled = 0;
};

constexpr size_t kReadBuffer = 256 * 1024;

SAFile bufferedOpen(const char *name, const char *access)
{
    if (std::strchr(access, 'w') || std::strchr(access, '+') || std::strchr(access, 'a'))
        return nullptr;
    const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    auto *file = new BufferedFile;
    file->fd = fd;
    // No larger than the file: a small table (a college list) needs no quarter megabyte.
    struct stat st
    {
    };
    const bool sized = ::fstat(fd, &st) == 0 && st.st_size >= 0;
    file->buffer.resize(sized ? std::clamp<size_t>(size_t(st.st_size), 1, kReadBuffer) : kReadBuffer);
    return reinterpret_cast<SAFile>(file);
}

BufferedFile *asBuffered(SAFile f) { return reinterpret_cast<BufferedFile *>(f); }

SAOffset bufferedRead(void *p, SAOffset size, SAOffset count, SAFile f)
{
    BufferedFile *file = asBuffered(f);
    const quint64 wanted = quint64(size) * count;
    char *out = static_cast<char *>(p);
    quint64 done = 0;
    while (done < wanted) {
        const quint64 at = file->position;
        if (at < file->bufferStart || at >= file->bufferStart + file->filled) {
            const ssize_t got = ::pread(file->fd, file->buffer.data(), file->buffer.size(), off_t(at));
            if (got <= 0)
                break;
            file->bufferStart = at;
            file->filled = size_t(got);
        }
        const quint64 offset = at - file->bufferStart;
        const quint64 n = std::min<quint64>(wanted - done, file->filled - offset);
        std::memcpy(out + done, file->buffer.data() + offset, n);
        done += n;
        file->position += n;
    }
    return size == 0 ? 0 : SAOffset(done / size);
}

SAOffset noWrite(void *, SAOffset, SAOffset, SAFile) { return 0; }

SAOffset bufferedSeek(SAFile f, SAOffset offset, int whence)
{
    BufferedFile *file = asBuffered(f);
    switch (whence) {
    case SEEK_SET: file->position = offset; return 0;
    case SEEK_CUR: file->position += offset; return 0;
    case SEEK_END: {
        struct stat st
        {
        };
        if (::fstat(file->fd, &st) != 0)
            return SAOffset(-1);
        file->position = quint64(st.st_size) + offset;
        return 0;
    }
    default: return SAOffset(-1);
    }
}

SAOffset bufferedTell(SAFile f) { return SAOffset(asBuffered(f)->position); }

int bufferedFlush(SAFile) { return 0; }

int bufferedClose(SAFile f)
{
    BufferedFile *file = asBuffered(f);
    const int result = ::close(file->fd);
    delete file;
    return result;
}

SAHooks bufferedHooks()
{
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = bufferedOpen;
    hooks.FRead = bufferedRead;
    hooks.FWrite = noWrite;
    hooks.FSeek = bufferedSeek;
    hooks.FTell = bufferedTell;
    hooks.FFlush = bufferedFlush;
    hooks.FClose = bufferedClose;
    return hooks;
}

} // namespace

struct DbfTable::Handle
{
    DBFHandle dbf;
};

DbfTable::DbfTable(const QString &path, const QString &displayName)
    : m_path(path)
    , m_displayName(displayName.isEmpty() ? QFileInfo(path).fileName() : displayName)
{
    if (!path.endsWith(u".dbf"_s, Qt::CaseInsensitive))
        throw std::invalid_argument("DbfTable reads files named *.dbf only");
    checkHeader(path, m_displayName);
    SAHooks hooks = bufferedHooks();
    DBFHandle dbf = DBFOpenLL(QFile::encodeName(path).constData(), "rb", &hooks);
    if (!dbf)
        badFile(m_displayName, u"The file is not a dBASE table."_s);
    m_handle = std::make_unique<Handle>(Handle{dbf});
}

DbfTable::~DbfTable()
{
    if (m_handle)
        DBFClose(m_handle->dbf);
}

int DbfTable::recordCount() const { return DBFGetRecordCount(m_handle->dbf); }

int DbfTable::fieldCount() const { return DBFGetFieldCount(m_handle->dbf); }

QString DbfTable::fieldName(int field) const
{
    char name[XBASE_FLDNAME_LEN_READ + 1] = {};
    DBFGetFieldInfo(m_handle->dbf, field, name, nullptr, nullptr);
    return QString::fromLatin1(name).trimmed();
}

char DbfTable::fieldType(int field) const { return char(DBFGetNativeFieldType(m_handle->dbf, field)); }

int DbfTable::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fieldCount(); ++i) {
        if (fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool DbfTable::read(int record)
{
    m_record = DBFReadTuple(m_handle->dbf, record);
    return m_record != nullptr;
}

bool DbfTable::isDeleted() const { return m_record && m_record[0] == '*'; }

bool DbfTable::hasDeletionFlag() const { return m_record && (m_record[0] == '*' || m_record[0] == ' '); }

bool DbfTable::isMemo(int field) const
{
    const char t = fieldType(field);
    return t == 'M' || t == 'B' || t == 'G';
}

QByteArray DbfTable::raw(int field) const
{
    if (!m_record || field < 0 || field >= fieldCount())
        return {};
    return QByteArray(m_record + m_handle->dbf->panFieldOffset[field], m_handle->dbf->panFieldSize[field]);
}

QString DbfTable::text(int field) const
{
    if (!m_record || field < 0 || field >= fieldCount())
        return {};
    const QByteArray value =
        trimmedBytes(m_record + m_handle->dbf->panFieldOffset[field], m_handle->dbf->panFieldSize[field]);
    switch (fieldType(field)) {
    case 'N':
    case 'F': return numberText(value, m_handle->dbf->panFieldDecimals[field]);
    case 'D': return dateText(value);
    case 'M':
    case 'B':
    case 'G': return {}; // memo contents live in a file of their own, which no import reads
    default: return legacytext::fromBytes(value);
    }
}

} // namespace sw
