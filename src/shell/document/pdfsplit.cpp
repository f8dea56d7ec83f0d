// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/pdfsplit.h"

#include "shell/core/stoperror.h"
#include "shell/document/sharedoutlines.h"

#include <QCryptographicHash>
#include <QString>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <cstdio>
#include <map>
#include <set>
#include <string>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// An object of the batch as every file writes it: its text, cut where it refers to another
// object (whose number differs from file to file), and a stream's data as it was compressed.
struct ObjectText
{
    std::vector<std::string> texts; // texts[i] stands before refs[i]; the last text after the last ref
    std::vector<QPDFObjGen> refs;
    std::shared_ptr<Buffer> data; // a stream's data, not decoded; null for any other object

    void append(const std::string &text) { texts.back() += text; }
    void refer(QPDFObjGen to)
    {
        refs.push_back(to);
        texts.emplace_back();
    }
};

// The texts of the batch's objects, each made once however many files write it. libqpdf
// reads the batch and writes every value; this class only strings them together.
class BatchObjects
{
public:
    BatchObjects(QPDF &pdf, QPDFObjGen pagesRoot)
        : m_pdf(pdf)
        , m_pagesRoot(pagesRoot)
    {
    }

    const ObjectText &text(QPDFObjGen object)
    {
        auto found = m_texts.find(object);
        if (found != m_texts.end())
            return found->second;
        ObjectText &made = m_texts[object];
        made.texts.emplace_back();
        QPDFObjectHandle handle = m_pdf.getObjectByObjGen(object);
        if (handle.isStream()) {
            made.data = handle.getRawStreamData();
            // The length the data has, not the batch's length object: that stays behind.
            putDictionary(handle.getDict(), made, false, "/Length");
            made.append(" /Length " + std::to_string(made.data->getSize()) + " >>");
        } else {
            put(handle, made, true);
        }
        return made;
    }

    // The pages node of one file: `root`'s own keys (its inherited attributes were given
    // to the pages themselves), but `kids` for its kids and their count.
    ObjectText pagesNode(QPDFObjectHandle root, const std::vector<QPDFObjGen> &kids)
    {
        ObjectText node;
        node.texts.emplace_back("<< /Type /Pages /Count " + std::to_string(kids.size()) + " /Kids [");
        for (const QPDFObjGen kid : kids) {
            node.append(" ");
            node.refer(kid);
        }
        node.append(" ]");
        for (const std::string &key : root.getKeys()) {
            if (key == "/Type" || key == "/Count" || key == "/Kids" || key == "/Parent")
                continue;
            node.append(" " + QPDFObjectHandle::newName(key).unparse() + " ");
            put(root.getKey(key), node, false);
        }
        node.append(" >>");
        return node;
    }

private:
    void put(QPDFObjectHandle value, ObjectText &out, bool top)
    {
        if (!top && value.isIndirect()) {
            if (value.isNull())
                out.append("null"); // a reference to no object reads as null
            else
                out.refer(value.getObjGen());
            return;
        }
        if (value.isDictionary()) {
            putDictionary(value, out, value.isPageObject(), {});
            out.append(" >>");
        } else if (value.isArray()) {
            out.append("[");
            for (const QPDFObjectHandle &item : value.getArrayAsVector()) {
                out.append(" ");
                put(item, out, false);
            }
            out.append(" ]");
        } else {
            out.append(value.unparse());
        }
    }

    // The dictionary's keys and values, without its closing brackets and without `skipped`.
    // A page's parent is the pages of its own file, whatever node of the batch's tree held it.
    void putDictionary(QPDFObjectHandle dict, ObjectText &out, bool page, const std::string &skipped)
    {
        out.append("<<");
        for (const std::string &key : dict.getKeys()) {
            if (key == skipped)
                continue;
            out.append(" " + QPDFObjectHandle::newName(key).unparse() + " ");
            if (page && key == "/Parent")
                out.refer(m_pagesRoot);
            else
                put(dict.getKey(key), out, false);
        }
    }

    QPDF &m_pdf;
    QPDFObjGen m_pagesRoot;
    std::map<QPDFObjGen, ObjectText> m_texts;
};

// One file: the catalog, the document's own pages under a pages node of their own, and
// every object they reach, numbered from 1 in the order they are reached.
class FileWriter
{
public:
    FileWriter(BatchObjects &objects, const std::set<QPDFObjGen> &allPages, QPDFObjGen pagesRoot)
        : m_objects(objects)
        , m_allPages(allPages)
        , m_pagesRoot(pagesRoot)
    {
    }

    QByteArray write(const std::string &version, QPDFObjGen catalog, QPDFObjGen info, const ObjectText &pages,
                     const std::vector<QPDFObjGen> &ownPages)
    {
        m_pages = &pages;
        m_ownPages.insert(ownPages.begin(), ownPages.end());
        reach(catalog);
        if (info.isIndirect())
            reach(info);

        QByteArray file;
        file.reserve(qsizetype(m_bytes) + 1024);
        file.append("%PDF-").append(version.c_str()).append("\n%\xBF\xF7\xA2\xFE\n");
        std::vector<qsizetype> offsets;
        offsets.reserve(m_order.size());
        for (std::size_t i = 0; i < m_order.size(); ++i) {
            offsets.push_back(file.size());
            file.append(QByteArray::number(qsizetype(i + 1))).append(" 0 obj\n");
            const ObjectText &object = textOf(m_order[i]);
            for (std::size_t p = 0; p < object.texts.size(); ++p) {
                file.append(object.texts[p].data(), qsizetype(object.texts[p].size()));
                if (p < object.refs.size())
                    appendReference(file, object.refs[p]);
            }
            if (object.data) {
                file.append("\nstream\n");
                file.append(reinterpret_cast<const char *>(object.data->getBuffer()),
                            qsizetype(object.data->getSize()));
                file.append("\nendstream");
            }
            file.append("\nendobj\n");
        }
        const qsizetype xref = file.size();
        file.append("xref\n0 ").append(QByteArray::number(qsizetype(m_order.size() + 1))).append("\n");
        file.append("0000000000 65535 f \n");
        char entry[21];
        for (const qsizetype offset : offsets) {
            std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offset));
            file.append(entry, 20);
        }
        const QByteArray id = idOf(ownPages);
        file.append("trailer\n<< /Size ").append(QByteArray::number(qsizetype(m_order.size() + 1)));
        file.append(" /Root ").append(QByteArray::number(m_number.at(catalog))).append(" 0 R");
        if (info.isIndirect())
            file.append(" /Info ").append(QByteArray::number(m_number.at(info))).append(" 0 R");
        file.append(" /ID [ <").append(id).append("> <").append(id).append("> ] >>\nstartxref\n");
        file.append(QByteArray::number(xref)).append("\n%%EOF\n");
        return file;
    }

private:
    const ObjectText &textOf(QPDFObjGen object) { return object == m_pagesRoot ? *m_pages : m_objects.text(object); }

    // Numbers `from` and everything it reaches; another document's page is not followed.
    void reach(QPDFObjGen from)
    {
        std::vector<QPDFObjGen> stack{from};
        while (!stack.empty()) {
            const QPDFObjGen object = stack.back();
            stack.pop_back();
            if (m_number.count(object) || (m_allPages.count(object) && !m_ownPages.count(object)))
                continue;
            m_number.emplace(object, int(m_order.size() + 1));
            m_order.push_back(object);
            const ObjectText &text = textOf(object);
            if (text.data)
                m_bytes += text.data->getSize();
            for (auto ref = text.refs.rbegin(); ref != text.refs.rend(); ++ref)
                stack.push_back(*ref);
        }
    }

    void appendReference(QByteArray &file, QPDFObjGen to) const
    {
        const auto number = m_number.find(to);
        if (number == m_number.end()) {
            file.append("null"); // another document's page
            return;
        }
        file.append(QByteArray::number(number->second)).append(" 0 R");
    }

    // The file's identifier: its pages' content, which names the certificate, hashed.
    QByteArray idOf(const std::vector<QPDFObjGen> &ownPages)
    {
        QCryptographicHash hash(QCryptographicHash::Md5);
        for (const QPDFObjGen page : ownPages) {
            const ObjectText &text = m_objects.text(page);
            for (const std::string &part : text.texts)
                hash.addData(QByteArrayView(part.data(), qsizetype(part.size())));
            for (const QPDFObjGen ref : text.refs) {
                const ObjectText &used = textOf(ref);
                if (used.data && used.data->getSize() < 65536)
                    hash.addData(QByteArrayView(reinterpret_cast<const char *>(used.data->getBuffer()),
                                                qsizetype(used.data->getSize())));
            }
        }
        return hash.result().toHex();
    }

    BatchObjects &m_objects;
    const std::set<QPDFObjGen> &m_allPages;
    std::set<QPDFObjGen> m_ownPages;
    QPDFObjGen m_pagesRoot;
    const ObjectText *m_pages = nullptr;
    std::map<QPDFObjGen, int> m_number;
    std::vector<QPDFObjGen> m_order;
    std::size_t m_bytes = 0;
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
        document.pushInheritedAttributesToPage();
        const std::vector<QPDFPageObjectHelper> pages = document.getAllPages();
        QPDFObjectHandle root = source.getRoot();
        QPDFObjectHandle tree = root.getKey("/Pages");
        const QPDFObjGen treeId = tree.getObjGen();
        std::set<QPDFObjGen> allPages;
        for (const QPDFPageObjectHelper &page : pages)
            allPages.insert(page.getObjectHandle().getObjGen());
        QPDFObjectHandle info = source.getTrailer().getKey("/Info");
        const QPDFObjGen infoId = info.isIndirect() ? info.getObjGen() : QPDFObjGen();

        // Each file is written straight from the texts of the batch's objects: a reference
        // renumbered, a stream copied as Qt (or the outlines) compressed it.
        BatchObjects objects(source, treeId);
        std::vector<QByteArray> files;
        files.reserve(pageCounts.size());
        std::size_t next = 0;
        for (const int count : pageCounts) {
            std::vector<QPDFObjGen> own;
            for (int i = 0; i < count && next < pages.size(); ++i)
                own.push_back(pages[next++].getObjectHandle().getObjGen());
            const ObjectText node = objects.pagesNode(tree, own);
            FileWriter writer(objects, allPages, treeId);
            files.push_back(writer.write(source.getPDFVersion(), root.getObjGen(), infoId, node, own));
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
