// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/cnvwriter.h"

#include "shell/core/legacytext.h"

#include <QFile>

#include <shapefil.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The bytes a field holds for `value`, already laid out as dBASE stores them.
QByteArray fieldBytes(const CnvWriter::Field &field, const QString &value)
{
    QByteArray bytes = legacytext::toBytes(value.trimmed());
    if (field.type == 'D' && bytes.size() == 10 && bytes[2] == '/' && bytes[5] == '/')
        bytes = bytes.mid(6, 4) + bytes.mid(3, 2) + bytes.left(2);
    if (bytes.size() > field.width)
        bytes.truncate(field.width);
    if (field.type == 'N')
        return QByteArray(field.width - bytes.size(), ' ') + bytes;
    return bytes + QByteArray(field.width - bytes.size(), ' ');
}

[[noreturn]] void fail(const QString &path, const char *what)
{
    throw std::runtime_error(QFile::encodeName(path).toStdString() + ": " + what);
}

} // namespace

struct CnvWriter::Handle
{
    DBFHandle dbf;
};

CnvWriter::CnvWriter(const QString &path, const std::vector<Field> &fields)
    : m_fields(fields)
    , m_path(path)
{
    QFile::remove(path);
    // shapelib puts ".dbf" in place of any extension, so the file is written under a
    // name of that form and renamed when closed.
    m_writingPath = path + u".writing.dbf"_s;
    // "LDID/87" declares the code page as the system's 8-bit one, as the result files do.
    DBFHandle dbf = DBFCreateEx(QFile::encodeName(m_writingPath).constData(), "LDID/87");
    if (!dbf)
        fail(path, "cannot create the file");
    m_handle = std::make_unique<Handle>(Handle{dbf});
    for (const Field &f : m_fields) {
        const int decimals = f.type == 'N' ? f.decimals : 0;
        if (DBFAddNativeFieldType(m_handle->dbf, f.name.toLatin1().constData(), f.type, f.width, decimals) < 0)
            fail(path, "cannot add a field");
    }
}

CnvWriter::~CnvWriter()
{
    try {
        close();
    } catch (const std::exception &) {
        // A destructor cannot report it; callers who care call close() themselves.
    }
}

void CnvWriter::add(const QStringList &values)
{
    const int record = m_records;
    for (int i = 0; i < int(m_fields.size()); ++i) {
        const QByteArray bytes = fieldBytes(m_fields[size_t(i)], i < values.size() ? values[i] : QString());
        if (!DBFWriteAttributeDirectly(m_handle->dbf, record, i, const_cast<char *>(bytes.constData())))
            fail(m_path, "cannot write a record");
    }
    ++m_records;
}

void CnvWriter::deleteLast()
{
    if (m_records > 0)
        DBFMarkRecordDeleted(m_handle->dbf, m_records - 1, 1);
}

void CnvWriter::close()
{
    if (!m_handle)
        return;
    DBFClose(m_handle->dbf);
    m_handle.reset();
    if (!QFile::rename(m_writingPath, m_path))
        fail(m_path, "cannot rename the written file");
}

std::vector<CnvWriter::Field> CnvWriter::candidateFields(bool directoryFields)
{
    std::vector<Field> fields = {
        {u"FREGNO"_s, 'C', 10},   {u"FNAME"_s, 'C', 60},     {u"FDEGREE"_s, 'C', 5},    {u"FSUBDEGREE"_s, 'C', 5},
        {u"FCOLLCODE"_s, 'C', 5}, {u"FCLASSDESC"_s, 'C', 4}, {u"FEXAMDATE"_s, 'C', 20}, {u"FYEAR"_s, 'C', 4},
        {u"FEXAMTYPE"_s, 'C', 1}, {u"FSEX"_s, 'C', 1},       {u"FCASTE"_s, 'C', 10},
    };
    if (directoryFields) {
        const std::vector<Field> more = {
            {u"FCLASSSHT"_s, 'C', 4}, {u"FCEXAM"_s, 'C', 40}, {u"FFATNAME"_s, 'C', 60}, {u"FMOTNAME"_s, 'C', 60},
            {u"FCYEAR"_s, 'C', 4},    {u"FCLMAX"_s, 'N', 5},  {u"FCLSEC"_s, 'N', 5},
        };
        fields.insert(fields.end(), more.begin(), more.end());
    }
    return fields;
}

std::vector<CnvWriter::Field> CnvWriter::degreeFields() { return {{u"FDEGREE"_s, 'C', 5}, {u"FDESCPN"_s, 'C', 100}}; }

std::vector<CnvWriter::Field> CnvWriter::collegeFields(bool withTown)
{
    std::vector<Field> fields = {{u"FCOLLCODE"_s, 'C', 5}, {u"FCOLLNAME"_s, 'C', 100}};
    if (withTown)
        fields.push_back({u"FTOWN"_s, 'C', 50});
    return fields;
}

} // namespace sw
