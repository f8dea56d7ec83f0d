// SPDX-License-Identifier: GPL-3.0-or-later
// The .odt package read back by python3's zipfile and XML parser: what a word
// processor opening it would find. Converted by LibreOffice when it is installed.
#include "documenttesting.h"
#include "support/pdftext.h"
#include "support/python.h"

#include "shell/core/legacytext.h"
#include "shell/document/document.h"
#include "shell/document/odtwriter.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

const QString kReadOdt = uR"PY(
import json, sys, zipfile
import xml.etree.ElementTree as ET
NS = {
 'office': 'urn:oasis:names:tc:opendocument:xmlns:office:1.0',
 'style': 'urn:oasis:names:tc:opendocument:xmlns:style:1.0',
 'text': 'urn:oasis:names:tc:opendocument:xmlns:text:1.0',
 'table': 'urn:oasis:names:tc:opendocument:xmlns:table:1.0',
 'draw': 'urn:oasis:names:tc:opendocument:xmlns:drawing:1.0',
 'fo': 'urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0',
 'svg': 'urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0',
 'xlink': 'http://www.w3.org/1999/xlink',
}
def q(tag):
    p, t = tag.split(':')
    return '{%s}%s' % (NS[p], t)
z = zipfile.ZipFile(sys.argv[1])
infos = z.infolist()
content = ET.fromstring(z.read('content.xml'))
styles = ET.fromstring(z.read('styles.xml'))
manifest = z.read('META-INF/manifest.xml').decode()
body = content.find('office:body/office:text', NS)
def text_of(e):
    out = e.text or ''
    for c in e:
        if c.tag == q('text:s'):
            out += ' ' * int(c.get(q('text:c'), '1'))
        else:
            out += text_of(c)
        out += c.tail or ''
    return out
paragraphs = [text_of(p) for p in body.iter(q('text:p'))]
auto = {s.get(q('style:name')): s for s in content.find('office:automatic-styles', NS)}
spans = []
for s in body.iter(q('text:span')):
    st = auto[s.get(q('text:style-name'))].find('style:text-properties', NS)
    spans.append({'text': text_of(s), 'font': st.get(q('style:font-name')), 'size': st.get(q('fo:font-size')),
                  'bold': st.get(q('fo:font-weight')), 'colour': st.get(q('fo:color'))})
breaks = []
for p in body.iter(q('text:p')):
    pp = auto[p.get(q('text:style-name'))].find('style:paragraph-properties', NS)
    if pp.get(q('fo:break-before')) == 'page':
        breaks.append(text_of(p))
frames = []
for f in body.findall('draw:frame', NS):
    img = f.find('draw:image', NS)
    frames.append({'page': f.get(q('text:anchor-page-number')), 'x': f.get(q('svg:x')), 'y': f.get(q('svg:y')),
                   'width': f.get(q('svg:width')), 'anchor': f.get(q('text:anchor-type')),
                   'image': img.get(q('xlink:href')) if img is not None else None,
                   'text': text_of(f)})
cells = [[text_of(c) for c in r.findall('table:table-cell', NS)] for r in body.iter(q('table:table-row'))]
layout = styles.find('office:automatic-styles/style:page-layout/style:page-layout-properties', NS)
header = styles.find('office:master-styles/style:master-page/style:header', NS)
print(json.dumps({
  'first': infos[0].filename, 'firstStored': infos[0].compress_type == zipfile.ZIP_STORED,
  'mimetype': z.read('mimetype').decode(),
  'names': [i.filename for i in infos],
  'paragraphs': paragraphs, 'spans': spans, 'breaks': breaks, 'frames': frames, 'cells': cells,
  'pageWidth': layout.get(q('fo:page-width')), 'pageHeight': layout.get(q('fo:page-height')),
  'marginLeft': layout.get(q('fo:margin-left')),
  'headerText': text_of(header) if header is not None else None,
  'headerPageNumber': header is not None and header.find('.//text:page-number', NS) is not None,
  'manifest': manifest,
}))
)PY"_s;

class OdtTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_seal = m_dir.filePath(u"seal.png"_s);
        test::writeSolidPicture(m_seal, 12, 12, Qt::darkRed);
    }
    Document letter() const
    {
        Document doc;
        doc.page.leftInches = 1.25;
        DocumentBuilder b(doc);
        b.beginHeader();
        b.setFont(u"DejaVu Sans"_s, 9);
        b.type(u"Page "_s);
        b.typeField(Run::Field::PageNumber);
        b.endParagraph();
        b.endHeader();
        b.setFont(u"DejaVu Serif"_s, 14, true);
        b.setColour(u"&H0000FF"_s);
        b.type(u"To the Principal"_s);
        b.endParagraph();
        b.setFont(u"Nudi 01 e"_s, 13);
        b.setColour(u"&H000000"_s);
        b.type(legacytext::fromBytes("\xAB\xE6\xC4  \xC0"));
        b.endParagraph();
        b.picture(m_seal, QRectF(400, 600, 72, 72));
        b.beginTable({2, 3});
        b.cell(0, 0, u"Reg. No."_s);
        b.cell(0, 1, u"U01AB123"_s);
        b.endTable();
        b.pageBreak();
        b.beginTextBox(QRectF(100, 100, 200, 30));
        b.type(u"IN THE BOX"_s);
        b.endTextBox();
        b.type(u"Second page"_s);
        b.endParagraph();
        return doc;
    }
    QTemporaryDir m_dir;
    QString m_seal;
};

TEST_F(OdtTest, ThePackageHoldsTheTextFormatsTablesAndAnchoredItems)
{
    const QString odt = m_dir.filePath(u"letter.odt"_s);
    OdtWriter::write(letter(), odt);
    const QJsonObject o = test::runPython(kReadOdt, {odt});
    ASSERT_FALSE(o.isEmpty()) << "python3 could not read the package";
    EXPECT_EQ(o[u"first"_s].toString(), u"mimetype"_s);
    EXPECT_TRUE(o[u"firstStored"_s].toBool());
    EXPECT_EQ(o[u"mimetype"_s].toString(), u"application/vnd.oasis.opendocument.text"_s);
    EXPECT_EQ(o[u"pageWidth"_s].toString(), u"8.2677in"_s);
    EXPECT_EQ(o[u"pageHeight"_s].toString(), u"11.6929in"_s);
    EXPECT_EQ(o[u"marginLeft"_s].toString(), u"1.2500in"_s);

    const QJsonArray paragraphs = o[u"paragraphs"_s].toArray();
    QStringList texts;
    for (const auto &p : paragraphs)
        texts << p.toString();
    EXPECT_TRUE(texts.contains(u"To the Principal"_s));
    // Legacy bytes stay the same characters; runs of spaces survive.
    EXPECT_TRUE(texts.contains(legacytext::fromBytes("\xAB\xE6\xC4  \xC0"))) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(u"Second page"_s));

    const QJsonArray spans = o[u"spans"_s].toArray();
    bool sawTitle = false, sawLegacy = false;
    for (const auto &s : spans) {
        const QJsonObject span = s.toObject();
        if (span[u"text"_s].toString() == u"To the Principal"_s) {
            sawTitle = true;
            EXPECT_EQ(span[u"font"_s].toString(), u"DejaVu Serif"_s);
            EXPECT_EQ(span[u"size"_s].toString(), u"14.00pt"_s);
            EXPECT_EQ(span[u"bold"_s].toString(), u"bold"_s);
            EXPECT_EQ(span[u"colour"_s].toString(), u"#ff0000"_s);
        }
        if (span[u"font"_s].toString() == u"Nudi 01 e"_s)
            sawLegacy = true;
    }
    EXPECT_TRUE(sawTitle);
    EXPECT_TRUE(sawLegacy);
    EXPECT_EQ(o[u"breaks"_s].toArray(), QJsonArray{u"Second page"_s});

    const QJsonArray cells = o[u"cells"_s].toArray();
    ASSERT_EQ(cells.size(), 1);
    EXPECT_EQ(cells[0].toArray(), (QJsonArray{u"Reg. No."_s, u"U01AB123"_s}));

    const QJsonArray frames = o[u"frames"_s].toArray();
    ASSERT_EQ(frames.size(), 2);
    const QJsonObject seal = frames[0].toObject();
    EXPECT_EQ(seal[u"anchor"_s].toString(), u"page"_s);
    EXPECT_EQ(seal[u"page"_s].toString(), u"1"_s);
    EXPECT_EQ(seal[u"x"_s].toString(), u"400.00pt"_s);
    EXPECT_EQ(seal[u"y"_s].toString(), u"600.00pt"_s);
    const QString href = seal[u"image"_s].toString();
    EXPECT_TRUE(o[u"names"_s].toArray().contains(href)) << href.toStdString();
    EXPECT_TRUE(o[u"manifest"_s].toString().contains(href));
    const QJsonObject box = frames[1].toObject();
    EXPECT_EQ(box[u"page"_s].toString(), u"2"_s) << "added after the page break";
    EXPECT_EQ(box[u"text"_s].toString(), u"IN THE BOX"_s);

    EXPECT_EQ(o[u"headerText"_s].toString(), u"Page 1"_s);
    EXPECT_TRUE(o[u"headerPageNumber"_s].toBool());
}

TEST_F(OdtTest, LibreOfficeConvertsItToTheSameText)
{
    if (!test::haveTool(u"soffice"_s))
        GTEST_SKIP() << "LibreOffice is not installed; the package itself is checked by the test above";
    const QString odt = m_dir.filePath(u"letter.odt"_s);
    OdtWriter::write(letter(), odt);
    const test::ToolRun r =
        test::runTool(u"soffice"_s, {u"--headless"_s, u"--convert-to"_s, u"pdf"_s, u"--outdir"_s, m_dir.path(), odt});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString text = test::pdfText(m_dir.filePath(u"letter.pdf"_s));
    for (const QString &word : {u"To the Principal"_s, u"U01AB123"_s, u"IN THE BOX"_s})
        EXPECT_TRUE(text.contains(word)) << word.toStdString();
}

} // namespace
