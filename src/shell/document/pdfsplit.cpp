// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/pdfsplit.h"

#include "shell/core/stoperror.h"
#include "shell/document/sharedoutlines.h"

#include <QString>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

using namespace Qt::StringLiterals;

namespace sw {

std::vector<QByteArray> splitPdf(const QByteArray &pdf, const std::vector<int> &pageCounts,
                                 const SharedOutlines &outlines)
{
    try {
        QPDF source;
        source.setSuppressWarnings(true);
        source.processMemoryFile("documents", pdf.constData(), std::size_t(pdf.size()));
        if (!outlines.empty())
            outlines.applyTo(source);
        const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(source).getAllPages();
        QPDFObjectHandle info = source.getTrailer().getKey("/Info");
        std::vector<QByteArray> files;
        std::size_t next = 0;
        for (const int count : pageCounts) {
            QPDF single;
            single.emptyPDF();
            QPDFPageDocumentHelper target(single);
            for (int i = 0; i < count && next < pages.size(); ++i)
                target.addPage(pages[next++], false);
            if (info.isDictionary())
                single.getTrailer().replaceKey("/Info", single.copyForeignObject(info));
            QPDFWriter writer(single);
            writer.setOutputMemory();
            writer.setDecodeLevel(qpdf_dl_none);
            writer.write();
            const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
            files.emplace_back(reinterpret_cast<const char *>(buffer->getBuffer()), qsizetype(buffer->getSize()));
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
