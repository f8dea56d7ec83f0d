// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/layouts/certificatepdf.h"

#include "certificates/layouts/certificaterow.h"
#include "shell/core/filewrite.h"
#include "shell/core/stoperror.h"
#include "shell/document/documentoutput.h"
#include "shell/document/documentrenderer.h"
#include "shell/signing/pdfsignature.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace sw::certificatepdf {

namespace {

// `lines`, each stamped and ended already: a batch's lines are appended at once.
void appendLog(const AppFolder &folder, const QString &lines)
{
    if (lines.isEmpty())
        return;
    QFile log(logPath(folder));
    // A log that cannot be written must not cost the certificate its copy.
    if (log.open(QIODevice::Append | QIODevice::Text))
        log.write(lines.toUtf8());
}

// The watermark over the page and the number in its box at the top right.
void stampCopy(const AppFolder &folder, Document &certificate, const QString &stamp)
{
    DocumentBuilder b(certificate);
    const QString watermark = folder.findFileAnyCase(u"img/mcwm.jpg"_s);
    if (!watermark.isEmpty()) {
        // 8.5 by 11.69 inches, centred on the page: on A4 it runs a little past both edges.
        b.watermark(watermark, QSizeF(8.5 * kPointsPerInch, 11.69 * kPointsPerInch));
    }
    b.beginTextBox(numberBox(certificate.page));
    b.setFont(u"Cambria"_s, 15, true, true);
    b.setColour(QColor(Qt::black));
    b.setAlignment(Alignment::Left);
    b.setLineSpacing(1.0);
    b.setSpaceAfter(0);
    b.type(stamp);
    b.endTextBox();
}

} // namespace

QString logPath(const AppFolder &folder) { return folder.filePath(u"mcverifypdf.log"_s); }

QRectF numberBox(const PageSetup &page)
{
    // The box is 1.5 inches wide from 7 inches in; on A4 that would pass the
    // sheet's edge, so it ends at the edge instead.
    const double left = 7 * kPointsPerInch;
    const double width = std::min(1.5 * kPointsPerInch, page.pagePoints().width() - left);
    return QRectF(left, 0.14 * kPointsPerInch, width, 30);
}

std::vector<CopyCheck> verifySignedCopies(const AppFolder &folder)
{
    const SignatureSettings settings = SignatureSettings::load(folder);
    const QDir dir(folder.filePath(u"CSV/DCPDF"_s));
    std::vector<CopyCheck> checks;
    for (const QString &name : dir.entryList({u"*.pdf"_s, u"*.PDF"_s}, QDir::Files, QDir::Name)) {
        if (settings.isSignedName(name))
            checks.push_back({name, verifyPdfSignature(dir.filePath(name), settings.database)});
    }
    return checks;
}

QString pdfPath(const AppFolder &folder, const QString &instCode, const CertificateRow &row)
{
    return folder.filePath(u"CSV/DCPDF/DC_"_s + instCode.trimmed() + u'_' + row.regno + u"_F_"_s + row.year + u'_'
                           + row.examType + u".pdf"_s);
}

void save(const AppFolder &folder, Document certificate, const QString &stamp, const QString &path)
{
    CopyWriter writer(folder, 1);
    writer.add(std::move(certificate), stamp, path);
    writer.flush();
}

CopyWriter::CopyWriter(AppFolder folder, int batchSize)
    : m_folder(std::move(folder))
    , m_batchSize(std::max(1, batchSize))
    , m_workers(std::make_unique<QThreadPool>())
{
    // The threads live as long as the writer: each keeps the fonts it has opened.
    m_workers->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    m_workers->setExpiryTimeout(-1);
}

CopyWriter::~CopyWriter() = default;

// The visible signature box is drawn over the page when the copy is signed: a box placed
// over the text of the layout (the address block, a long name) stops the run before the
// first copy, naming the setting to move.
static void checkSignatureBoxIsClear(const Document &copy, const SignatureSettings &settings)
{
    const QRectF &inches = settings.boxInches;
    const QRectF box(inches.x() * kPointsPerInch, inches.y() * kPointsPerInch, inches.width() * kPointsPerInch,
                     inches.height() * kPointsPerInch);
    const QRectF covered = DocumentRenderer(copy).textUnder(box, settings.page - 1);
    if (covered.isEmpty())
        return;
    throw StopError(
        u"The signature box of Institution.ini ([SIGNING] BoxLeft, BoxTop, BoxWidth, BoxHeight: "_s
            + QString::number(inches.x()) + u", "_s + QString::number(inches.y()) + u", "_s
            + QString::number(inches.width()) + u", "_s + QString::number(inches.height())
            + u" inches) would cover the text at "_s + QString::number(covered.top() / kPointsPerInch, 'f', 2)
            + u" inches down, "_s + QString::number(covered.left() / kPointsPerInch, 'f', 2) + u" to "_s
            + QString::number(covered.right() / kPointsPerInch, 'f', 2) + u" inches across: move the box."_s,
        PromptIcon::Exclamation);
}

void CopyWriter::add(Document certificate, const QString &stamp, const QString &path)
{
    stampCopy(m_folder, certificate, stamp);
    if (m_signer)
        checkSignatureBoxIsClear(certificate, m_signer->settings());
    m_queue.push_back({std::move(certificate), path});
    if (int(m_queue.size()) >= m_batchSize)
        flush();
}

void CopyWriter::flush()
{
    if (m_queue.empty())
        return;
    std::vector<Copy> batch;
    batch.swap(m_queue);
    std::vector<Made> made(batch.size());
    // The first copy of a run is made alone: the libraries' shared tables (fonts, PoDoFo's
    // encodings, NSS) are set up by it before any other thread starts.
    std::size_t from = 0;
    if (!m_warmedUp) {
        makeCopies(batch, 0, 1, made);
        m_warmedUp = true;
        from = 1;
    }
    // Each copy is a computation of its own: the rest of the batch is made in one piece
    // per core, each drawn into one PDF (fonts and pictures embedded once), split and signed.
    const std::size_t rest = batch.size() - from;
    const std::size_t pieces = std::min<std::size_t>(std::max(1, QThread::idealThreadCount()), rest);
    // Without a caller to keep answering, this thread makes the first piece itself.
    const std::size_t first = m_whileWaiting ? 0 : 1;
    for (std::size_t p = first; p < pieces; ++p)
        m_workers->start([&, p] { makeCopies(batch, from + rest * p / pieces, from + rest * (p + 1) / pieces, made); });
    if (first == 1 && pieces > 0)
        makeCopies(batch, from, from + rest / pieces, made);
    if (m_whileWaiting) {
        do
            m_whileWaiting();
        while (!m_workers->waitForDone(100));
    }
    m_workers->waitForDone();
    writeMade(batch, made);
}

void CopyWriter::writeMade(const std::vector<Copy> &batch, const std::vector<Made> &made)
{
    // Written in the run's order and forced to the disk together: a copy that could not be
    // made, signed or written stops the run after the files before it are written, naming why.
    struct Written
    {
        std::size_t copy;
        bool signedFile;
    };
    std::vector<WholeFile> files;
    std::vector<Written> what;
    std::optional<std::size_t> unmade, unsignable;
    QString madeFolder;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (!made[i].failure.isEmpty()) {
            unmade = i;
            break;
        }
        if (const QString folder = QFileInfo(batch[i].path).absolutePath(); folder != madeFolder) {
            QDir().mkpath(folder); // the copies of a run share a folder: made once, not once a copy
            madeFolder = folder;
        }
        files.push_back({batch[i].path, made[i].bytes});
        what.push_back({i, false});
        if (!m_signer)
            continue;
        if (!made[i].signature.problem.isEmpty()) {
            unsignable = i;
            break;
        }
        files.push_back({m_signer->settings().signedPath(batch[i].path), made[i].signature.bytes});
        what.push_back({i, true});
    }
    const WholeFilesWritten written = writeWholeFiles(files);
    QString log;
    const QString now = QDateTime::currentDateTime().toString(u"dd/MM/yyyy hh:mm:ss"_s) + u' ';
    for (int f = 0; f < written.count; ++f) {
        log +=
            now + (what[std::size_t(f)].signedFile ? u"SIGNED "_s : u"CREATED "_s) + files[std::size_t(f)].path + u'\n';
        if (what[std::size_t(f)].signedFile)
            ++m_signed;
        else
            ++m_written;
    }
    appendLog(m_folder, log);
    if (written.count < int(files.size())) {
        const bool signedFile = what[std::size_t(written.count)].signedFile;
        const QString &path = files[std::size_t(written.count)].path;
        appendLog(m_folder,
                  now + (signedFile ? u"NOT SIGNED "_s : u"FAILED "_s) + path + u": "_s + written.failure + u'\n');
        throw StopError((signedFile ? u"Error Signing PDF"_s : u"Error Creating PDF"_s) + u"\n"_s + written.failure,
                        PromptIcon::Critical);
    }
    if (unmade) {
        appendLog(m_folder, now + u"FAILED "_s + batch[*unmade].path + u": "_s + made[*unmade].failure + u'\n');
        throw StopError(u"Error Creating PDF"_s + u"\n"_s + made[*unmade].failure);
    }
    if (unsignable) {
        const QString signedPath = m_signer->settings().signedPath(batch[*unsignable].path);
        appendLog(m_folder,
                  now + u"NOT SIGNED "_s + signedPath + u": "_s + made[*unsignable].signature.problem + u'\n');
        throw StopError(u"Error Signing PDF"_s + u"\n"_s + made[*unsignable].signature.problem);
    }
}

// The copies [from, to) of `batch` into `made`. One certificate that spoils the PDF of
// the piece is found by making the piece's copies one by one.
void CopyWriter::makeCopies(const std::vector<Copy> &batch, std::size_t from, std::size_t to,
                            std::vector<Made> &made) const
{
    if (from >= to)
        return;
    // The certificates of a piece share their layout's wording: each paragraph laid out once.
    const LayoutReuse layouts;
    std::vector<const Document *> documents;
    for (std::size_t i = from; i < to; ++i)
        documents.push_back(&batch[i].certificate);
    std::vector<QByteArray> files;
    try {
        files = documentoutput::pdfsOf(documents);
    } catch (const StopError &e) {
        if (documents.size() == 1) {
            made[from].failure = e.text();
            return;
        }
        for (std::size_t i = from; i < to; ++i)
            makeCopies(batch, i, i + 1, made);
        return;
    }
    for (std::size_t i = from; i < to; ++i) {
        made[i].bytes = std::move(files[i - from]);
        if (!m_signer)
            continue;
        try {
            made[i].signature.bytes = m_signer->sign(made[i].bytes);
        } catch (const StopError &e) {
            made[i].signature.problem = e.text();
        }
    }
}

} // namespace sw::certificatepdf
