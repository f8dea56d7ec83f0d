// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/invalidsheetfiles.h"

#include "certificates/layouts/certificatepdf.h"
#include "certificates/layouts/certificaterow.h"
#include "certificates/printing/sheetdestination.h"
#include "shell/db/database.h"
#include "shell/session.h"
#include "shell/signing/pdfsignature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

InvalidSheetFiles::InvalidSheetFiles(const Session &session, Why why, QString sheetsFolder)
    : m_session(session)
    , m_why(why)
    , m_sheetsFolder(sheetsFolder.isEmpty() ? SheetDestination::remembered(session).folder : std::move(sheetsFolder))
{
}

QString InvalidSheetFiles::subfolderName(Why why) { return why == Why::Spoiled ? u"Spoiled"_s : u"Cancelled"_s; }

void InvalidSheetFiles::noteSheet(const QString &certNo) { m_noted.push_back({certNo.trimmed(), {}}); }

void InvalidSheetFiles::note(const QString &certNo)
{
    Noted noted{certNo.trimmed(), {}};
    // Only a degree certificate keeps a PDF copy; its name comes from the candidate.
    Rows rows =
        m_session.db().query(u"select fregno, fyear, fexamtype from convo where fcertno = ? and fconvocode = ?"_s,
                             {noted.certNo, m_session.convoCode});
    if (rows.next()) {
        CertificateRow row;
        row.regno = rows.text(0).trimmed();
        row.year = rows.text(1).trimmed();
        row.examType = rows.text(2).trimmed();
        noted.copyPath = certificatepdf::pdfPath(m_session.folder, m_session.instCode, row);
    }
    m_noted.push_back(std::move(noted));
}

void InvalidSheetFiles::moveIntoSubfolder(const QString &path, Why why, Moved &into, const QString &newName)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists())
        return;
    const QString subfolder = subfolderName(why);
    const QDir dir = file.dir();
    const QString target = dir.filePath(subfolder + u'/' + (newName.isEmpty() ? file.fileName() : newName));
    const QString shown = QDir::toNativeSeparators(subfolder + u'/' + QFileInfo(target).fileName());
    if (!dir.mkpath(subfolder) || (QFile::exists(target) && !QFile::remove(target)) || !QFile::rename(path, target))
        into.failed << u"The file "_s + QDir::toNativeSeparators(path) + u" could not be moved to "_s + shown
                           + u": move it there by hand, it is not valid."_s;
    else
        into.moved << file.fileName() + u" moved to "_s + shown + u" in "_s + QDir::toNativeSeparators(dir.path());
}

InvalidSheetFiles::Moved InvalidSheetFiles::moveAside()
{
    Moved done;
    const SignatureSettings signing = SignatureSettings::load(m_session.folder);
    for (const Noted &noted : m_noted) {
        if (!m_sheetsFolder.isEmpty()) {
            const QDir sheets(m_sheetsFolder);
            for (const QString &name : sheets.entryList({noted.certNo + u"_*.pdf"_s}, QDir::Files, QDir::Name))
                moveIntoSubfolder(sheets.filePath(name), m_why, done);
        }
        if (noted.copyPath.isEmpty())
            continue;
        for (const QString &copy : {noted.copyPath, signing.signedPath(noted.copyPath)}) {
            const QFileInfo info(copy);
            moveIntoSubfolder(copy, m_why, done, info.completeBaseName() + u'_' + noted.certNo + u'.' + info.suffix());
        }
    }
    m_noted.clear();
    return done;
}

} // namespace sw
