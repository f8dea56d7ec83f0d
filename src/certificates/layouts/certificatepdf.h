// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/document/document.h"
#include "shell/signing/pdfsignature.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QThreadPool;

namespace sw {

struct CertificateRow;

// The PDF copies of certificates that the depository export uploads.
namespace certificatepdf {

// CSV/DCPDF/DC_<institution>_<regno>_F_<year>_<exam type>.pdf under the application folder.
QString pdfPath(const AppFolder &folder, const QString &instCode, const CertificateRow &row);

// Writes `certificate` as the PDF copy: the washed-out watermark img/mcwm.jpg over
// the whole page when it exists, and `stamp` (the certificate number) in a text box
// at the top right. Each outcome is appended to mcverifypdf.log; a failure throws
// StopError "Error Creating PDF" after logging why.
void save(const AppFolder &folder, Document certificate, const QString &stamp, const QString &path);

QString logPath(const AppFolder &folder);

// Where the copy's number is printed (its text box at the top right), in points.
QRectF numberBox(const PageSetup &page);

// The signature check of one signed copy.
struct CopyCheck
{
    QString fileName;
    SignatureCheck check;
};
// Every signed copy in CSV/DCPDF (by the signed name of Institution.ini), checked
// against the certificate database there, in name order.
std::vector<CopyCheck> verifySignedCopies(const AppFolder &folder);

// Writes the copies of a run in batches. A batch is made on every core, in one piece
// per core; the certificates of a piece are drawn as one PDF, so the fonts and the
// pictures every certificate carries (seal, signature, watermark) are embedded once,
// and split into one file per certificate (documentoutput::pdfsOf): each file is
// complete on its own and reads exactly as if it had been written alone. A file is written under a temporary name and
// renamed, so a stop never leaves a partial copy; the copies of a batch are forced to the disk together, not one by
// one.
class CopyWriter
{
public:
    // A batch of 500 takes about 130 MB while it is made; the fonts, pictures and Kannada
    // wording they share are written and compressed once a batch.
    explicit CopyWriter(AppFolder folder, int batchSize = 500);
    ~CopyWriter();
    CopyWriter(const CopyWriter &) = delete;
    CopyWriter &operator=(const CopyWriter &) = delete;

    // Each copy written from now on is also signed into the signer's signed name
    // beside it; the log says SIGNED or why not, and a failure stops with "Error
    // Signing PDF". The signer is opened already and outlives the writer.
    void setSigner(const PdfSigner *signer) { m_signer = signer; }
    // Called on the caller's thread at once and every tenth of a second while a batch is made
    // on the other threads: a screen keeps answering through a batch of hundreds of copies.
    // Without it, the caller's thread makes a piece of each batch itself.
    void setWhileWaiting(std::function<void()> whileWaiting) { m_whileWaiting = std::move(whileWaiting); }
    int signedCopies() const { return m_signed; }

    // Stamps the certificate and queues it; writes the batch when it is full.
    void add(Document certificate, const QString &stamp, const QString &path);
    // Writes what is queued. A file that cannot be written is logged and stops
    // with "Error Creating PDF"; the files before it stay written.
    void flush();
    int written() const { return m_written; }
    int pending() const { return int(m_queue.size()); }

private:
    struct Copy
    {
        Document certificate;
        QString path;
    };
    struct Signed
    {
        QByteArray bytes;
        QString problem; // why it could not be signed
    };
    // One copy made: its file, its signed file, or why it could not be made.
    struct Made
    {
        QByteArray bytes;
        Signed signature;
        QString failure;
    };
    void makeCopies(const std::vector<Copy> &batch, std::size_t from, std::size_t to, std::vector<Made> &made) const;
    void writeMade(const std::vector<Copy> &batch, const std::vector<Made> &made);

    AppFolder m_folder;
    int m_batchSize;
    std::vector<Copy> m_queue;
    int m_written = 0;
    const PdfSigner *m_signer = nullptr;
    std::function<void()> m_whileWaiting;
    int m_signed = 0;
    bool m_warmedUp = false;
    std::unique_ptr<QThreadPool> m_workers;
};

} // namespace certificatepdf
} // namespace sw
