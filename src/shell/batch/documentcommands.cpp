// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/batch/documentcommands.h"

#include "shell/batch/batchcommand.h"
#include "shell/document/documentjson.h"
#include "shell/document/documentoutput.h"
#include "shell/document/fonttable.h"
#include "shell/document/odtwriter.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

int runFonts(BatchContext &c)
{
    for (const QString &family : FontTable::layoutFonts()) {
        c.out << family << u": "_s;
        const FontTable::Resolution face = FontTable::resolve(family);
        if (FontTable::isInstalled(family))
            c.out << u"installed"_s;
        else if (FontTable::readsAsUnicode(family) && !FontTable::unicodeKannadaFamily().isEmpty())
            c.out << u"missing (Kannada shown through Unicode in "_s << FontTable::unicodeKannadaFamily() << u')';
        else if (face.source == FontTable::Source::Table)
            c.out << u"drawn in "_s << face.drawn << (face.bold ? u" bold"_s : QString()) << u" (font table)"_s;
        else
            c.out << u"missing (drawn in "_s << face.drawn << u", and named by the check before a run)"_s;
        c.out << Qt::endl;
    }
    const QString notice = FontTable::kannadaNotice();
    if (!notice.isEmpty())
        c.out << notice << Qt::endl;
    return batchexit::kOk;
}

int runPrinters(BatchContext &c)
{
    const QString fallback = documentoutput::defaultPrinterName();
    const QStringList names = documentoutput::printerNames();
    if (names.isEmpty())
        c.out << u"no printers are installed"_s << Qt::endl;
    for (const QString &name : names)
        c.out << name << (name == fallback ? u" (default)"_s : QString{}) << Qt::endl;
    return batchexit::kOk;
}

int runRender(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"render needs the document file: scrollwise-batch render FILE.json --pdf OUT.pdf"_s);
    const QStringList outputs{u"pdf"_s, u"png"_s, u"odt"_s, u"print"_s};
    if (std::none_of(outputs.begin(), outputs.end(), [&c](const QString &o) { return c.args.has(o); }))
        throw UsageError(u"render needs one of --pdf OUT.pdf, --png DIR, --odt OUT.odt, --print"_s);
    const Document document = DocumentJson::read(c.args.positionals.first());
    std::vector<QString> used = document.fontNames();
    const QString warning = FontTable::warning(QStringList(used.begin(), used.end()));
    if (!warning.isEmpty())
        c.err << warning << Qt::endl;
    if (c.args.has(u"pdf"_s)) {
        documentoutput::writePdf(document, c.args.value(u"pdf"_s));
        c.out << u"written: "_s << c.args.value(u"pdf"_s) << Qt::endl;
    }
    if (c.args.has(u"png"_s)) {
        bool ok = true;
        const double dpi = c.args.value(u"dpi"_s, u"150"_s).toDouble(&ok);
        if (!ok || dpi < 10 || dpi > 2400)
            throw UsageError(u"--dpi takes a resolution between 10 and 2400"_s);
        for (const QString &file : documentoutput::writePng(document, c.args.value(u"png"_s), dpi))
            c.out << u"written: "_s << file << Qt::endl;
    }
    if (c.args.has(u"odt"_s)) {
        const QString path = c.args.value(u"odt"_s);
        OdtWriter::write(document, path);
        c.out << u"written: "_s << path << Qt::endl;
        if (c.args.has(u"show"_s) && !documentoutput::showFile(path))
            c.out << u"no desktop to open it on: "_s << path << Qt::endl;
    }
    if (c.args.has(u"print"_s)) {
        documentoutput::print(document, c.args.value(u"printer"_s));
        c.out << u"printed"_s << Qt::endl;
    }
    return batchexit::kOk;
}

} // namespace

void addDocumentCommands(BatchTool &tool)
{
    tool.add({.name = u"fonts"_s,
              .summary = u"Lists the fonts the layouts name and whether each is installed."_s,
              .run = runFonts});
    tool.add(
        {u"printers"_s, {}, u"Lists the printers documents can be printed on."_s, {}, {}, false, false, runPrinters});
    tool.add({.name = u"render"_s,
              .arguments = u"FILE.json"_s,
              .summary = u"Renders a document described in JSON (see src/shell/document/documentjson.h)."_s,
              .options = {{u"pdf"_s, u"OUT.pdf"_s, u"write a PDF file"_s},
                          {u"png"_s, u"DIR"_s, u"write one PNG per page into DIR (page-1.png, ...)"_s},
                          {u"dpi"_s, u"N"_s, u"resolution of the PNG pages (150 when not given)"_s},
                          {u"odt"_s, u"OUT.odt"_s, u"write an OpenDocument text file"_s},
                          {u"show"_s, {}, u"open the .odt with the desktop's default application"_s},
                          {u"print"_s, {}, u"print on the default printer or on --printer"_s},
                          {u"printer"_s, u"NAME"_s, u"the printer to print on (see: printers)"_s}},
              .run = runRender});
}

} // namespace sw
