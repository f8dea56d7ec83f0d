// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/pdfsplit.h"

#include "shell/core/stoperror.h"
#include "shell/document/sharedoutlines.h"

#include <QString>

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// A file written straight into the bytes it is handed back in.
class BytesPipeline final : public Pipeline
{
public:
    explicit BytesPipeline(QByteArray &bytes)
        : Pipeline("copy", nullptr)
        , m_bytes(bytes)
    {
    }
    void write(unsigned char const *data, size_t length) override
    {
        m_bytes.append(reinterpret_cast<const char *>(data), qsizetype(length));
    }
    void finish() override { }

private:
    QByteArray &m_bytes;
};

} // namespace

std::vector<QByteArray> splitPdf(const QByteArray &pdf, const std::vector<int> &pageCounts,
                                 const SharedOutlines &outlines)
{
    try {
        QPDF source;
        source.setSuppressWarnings(true);
        source.processMemoryFile("documents", pdf.constData(), std::size_t(pdf.size()));
        if (!outlines.empty())
            outlines.applyTo(source);
        QPDFPageDocumentHelper document(source);
        // Each file is the batch written with its page tree cut down to the document's own
        // pages: the writer takes only what those pages reach, and nothing is copied from
        // one PDF into another.
        document.pushInheritedAttributesToPage();
        const std::vector<QPDFPageObjectHelper> pages = document.getAllPages();
        QPDFObjectHandle tree = source.getRoot().getKey("/Pages");
        std::vector<QByteArray> files;
        std::size_t next = 0;
        for (const int count : pageCounts) {
            QPDFObjectHandle kids = QPDFObjectHandle::newArray();
            for (int i = 0; i < count && next < pages.size(); ++i) {
                QPDFObjectHandle page = pages[next++].getObjectHandle();
                page.replaceKey("/Parent", tree);
                kids.appendItem(page);
            }
            tree.replaceKey("/Kids", kids);
            tree.replaceKey("/Count", QPDFObjectHandle::newInteger(kids.getArrayNItems()));
            QByteArray &file = files.emplace_back();
            file.reserve(pdf.size() / qsizetype(pageCounts.size()) * 2);
            BytesPipeline output(file);
            QPDFWriter writer(source);
            writer.setOutputPipeline(&output);
            // Every stream is written as it stands, compressed already: Qt's as Qt wrote them,
            // the outlines' forms as applyTo() compressed them (left to itself, the writer would
            // compress those again in every file, since their data was replaced).
            writer.setDecodeLevel(qpdf_dl_none);
            writer.setCompressStreams(false);
            writer.write();
        }
        if (files.size() != pageCounts.size() || next != pages.size())
            throw StopError(u"The PDF of the batch has "_s + QString::number(pages.size()) + u" pages, not the "_s
                            + QString::number(next) + u" its documents need."_s);
        return files;
    } catch (const StopError &) {
        throw;
    } catch (const std::exception &e) {
        throw StopError(u"The PDF of the batch cannot be split: "_s + QString::fromLocal8Bit(e.what()));
    }
}

} // namespace sw
