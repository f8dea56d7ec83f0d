// SPDX-License-Identifier: GPL-3.0-or-later
// scrollwise-batch render, fonts and printers as a user runs them: one JSON page
// out as PDF, PNG and ODT, the same page in each.
#include "documenttesting.h"
#include "shell/document/fonttable.h"
#include "support/pdftext.h"
#include "support/python.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

test::ToolRun batch(const QStringList &arguments)
{
    return test::runTool(QStringLiteral(SCROLLWISE_BATCH_PATH), arguments);
}

const QByteArray kCertificate = R"({
  "page": {"paper": "A4", "top": 1, "bottom": 1, "left": 1, "right": 1},
  "header": {"paragraphs": [{"align": "right", "font": "DejaVu Sans", "size": 9,
                             "runs": ["Page ", {"field": "page"}]}]},
  "body": [
    {"paragraph": {"text": "DEGREE CERTIFICATE", "align": "centre", "font": "DejaVu Serif", "size": 20,
                   "bold": true, "spaceAfter": 12}},
    {"paragraph": {"font": "DejaVu Serif", "size": 14,
                   "runs": ["Certify that ", {"text": "RAMA KRISHNA", "bold": true}]}},
    {"picture": {"file": "seal.png", "x": 72, "y": 360, "width": 36, "height": 36}},
    {"textBox": {"x": 300, "y": 500, "width": 200, "height": 40,
                 "paragraphs": [{"text": "BOXED", "font": "DejaVu Sans", "size": 12}]}},
    {"table": {"columns": [2, 3], "rows": [["Reg. No.", "U01AB123"]]}},
    {"pageBreak": true},
    {"paragraph": {"text": "SECOND PAGE", "font": "DejaVu Sans"}}
  ]
})";

const QString kOdtText = uR"PY(
import json, sys, zipfile
import xml.etree.ElementTree as ET
z = zipfile.ZipFile(sys.argv[1])
root = ET.fromstring(z.read('content.xml'))
print(json.dumps({'text': ' '.join(''.join(e.itertext()) for e in root.iter('{urn:oasis:names:tc:opendocument:xmlns:text:1.0}p'))}))
)PY"_s;

class RenderCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::writeSolidPicture(m_dir.filePath(u"seal.png"_s), 8, 8, Qt::black);
        m_json = m_dir.filePath(u"certificate.json"_s);
        QFile f(m_json);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kCertificate);
    }
    QTemporaryDir m_dir;
    QString m_json;
};

TEST_F(RenderCommandTest, OneDocumentComesOutTheSameAsPdfPngAndOdt)
{
    const QString pdf = m_dir.filePath(u"out.pdf"_s);
    const QString png = m_dir.filePath(u"pages"_s);
    const QString odt = m_dir.filePath(u"out.odt"_s);
    const test::ToolRun r =
        batch({u"render"_s, m_json, u"--pdf"_s, pdf, u"--png"_s, png, u"--dpi"_s, u"100"_s, u"--odt"_s, odt});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"written: "_s + pdf));

    // Two pages in each form.
    const auto words = test::pdfWords(pdf);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words.back().page, 2);
    EXPECT_EQ(QDir(png).entryList({u"*.png"_s}, QDir::Files, QDir::Name),
              (QStringList{u"page-1.png"_s, u"page-2.png"_s}));
    const QString odtText = test::runPython(kOdtText, {odt})[u"text"_s].toString();
    for (const QString &word : {u"DEGREE"_s, u"KRISHNA"_s, u"BOXED"_s, u"U01AB123"_s, u"SECOND"_s}) {
        EXPECT_TRUE(test::findWord(words, word)) << word.toStdString();
        EXPECT_TRUE(odtText.contains(word)) << word.toStdString() << " missing from " << odtText.toStdString();
    }
    EXPECT_EQ(test::findWord(words, u"SECOND"_s)->page, 2);
    // Read as laid out, a table row stays one line and the pages are apart.
    const QString layout = test::pdfLayoutText(pdf);
    const QStringList pages = layout.split(u'\f');
    ASSERT_GE(pages.size(), 2);
    const QStringList lines = pages[0].split(u'\n');
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString &l) {
        return l.contains(u"Reg. No."_s) && l.contains(u"U01AB123"_s);
    })) << layout.toStdString();
    EXPECT_TRUE(pages[1].contains(u"SECOND PAGE"_s));
    EXPECT_FALSE(pages[0].contains(u"SECOND PAGE"_s));

    // The picture at 72,360 pt is at the same pixels in the PNG (100 dpi: 100,500).
    const QImage page1(png + u"/page-1.png"_s);
    ASSERT_EQ(page1.width(), qRound(210 / 25.4 * 100));
    const QRect seal = test::darkBounds(page1, QRect(80, 480, 90, 90));
    EXPECT_NEAR(seal.left(), 100, 1);
    EXPECT_NEAR(seal.top(), 500, 1);
    EXPECT_NEAR(seal.width(), 50, 1);
    // The PDF's text box word is where the PNG has ink.
    const test::Word *boxed = test::findWord(words, u"BOXED"_s);
    ASSERT_TRUE(boxed);
    const QRect ink = test::darkBounds(page1, QRect(int(boxed->xMin * 100 / 72) - 10, int(boxed->yMin * 100 / 72) - 10,
                                                    int((boxed->xMax - boxed->xMin) * 100 / 72) + 20,
                                                    int((boxed->yMax - boxed->yMin) * 100 / 72) + 20));
    EXPECT_FALSE(ink.isNull());
    EXPECT_NEAR(ink.left(), boxed->xMin * 100 / 72, 3);
}

TEST_F(RenderCommandTest, WithoutADesktopShowPrintsThePath)
{
    const QString odt = m_dir.filePath(u"letter.odt"_s);
    const test::ToolRun r = batch({u"render"_s, m_json, u"--odt"_s, odt, u"--show"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"no desktop to open it on: "_s + odt)) << r.out.toStdString();
}

TEST_F(RenderCommandTest, ABadDocumentStopsWithItsMessageAndWritesNothing)
{
    QFile f(m_json);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(R"({"body":[{"picture":{"file":"vc.jpg","x":1,"y":1,"width":10,"height":10}}]})");
    f.close();
    const QString pdf = m_dir.filePath(u"out.pdf"_s);
    const test::ToolRun r = batch({u"render"_s, m_json, u"--pdf"_s, pdf});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"vc.jpg"_s)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    EXPECT_EQ(batch({u"render"_s, m_json}).exitCode, 2) << "an output is required";
    EXPECT_EQ(batch({u"render"_s, u"--pdf"_s, pdf}).exitCode, 2) << "the file is required";
}

TEST_F(RenderCommandTest, AMissingFontIsNamedInOneWarningAndTheRunGoesOn)
{
    QFile f(m_json);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(R"({"body":[{"paragraph":{"text":"abc","font":"Garamond Premier"}},
                        {"paragraph":{"text":"def","font":"Garamond Premier"}},
                        {"paragraph":{"text":"jkl","font":"Nudi 01 e"}},
                        {"paragraph":{"text":"ghi","font":"Calibri"}}]})");
    f.close();
    const test::ToolRun r = batch({u"render"_s, m_json, u"--pdf"_s, m_dir.filePath(u"out.pdf"_s)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Only the family the font table cannot resolve is named, once, with the face drawn instead.
    EXPECT_EQ(r.err.count(u"Garamond Premier"_s), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"drawn in Liberation Serif"_s)) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(u"Calibri"_s));
    EXPECT_FALSE(r.err.contains(u"Nudi 01 e"_s)) << "drawn through its Unicode reading";
}

TEST(FontsCommandTest, ListsEveryLayoutFontAndWhetherItIsInstalled)
{
    const test::ToolRun r = batch({u"fonts"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The legacy Kannada fonts are missing here: their lines and one notice say Kannada is read through Unicode.
    const QString unicodeFont = FontTable::unicodeKannadaFamily();
    if (unicodeFont.isEmpty()) {
        EXPECT_TRUE(r.out.contains(u"Nudi 01 e: missing (printed in "_s)) << r.out.toStdString();
    } else {
        EXPECT_TRUE(r.out.contains(u"Nudi 01 e: missing (Kannada shown through Unicode in "_s + unicodeFont + u')'))
            << r.out.toStdString();
        EXPECT_EQ(r.out.count(u"Kannada is shown through Unicode"_s), 1) << r.out.toStdString();
    }
    EXPECT_TRUE(r.out.contains(u"BRH Kannada: "_s));
    EXPECT_TRUE(r.out.contains(u"Times New Roman: "_s));
    const test::ToolRun printers = batch({u"printers"_s});
    EXPECT_EQ(printers.exitCode, 0);
}

} // namespace
