// SPDX-License-Identifier: GPL-3.0-or-later
// What a layout gets wrong is refused with a message naming the item, and no
// output file is left half written under its name.
#include "documenttesting.h"
#include "support/stoptext.h"

#include "shell/core/stoperror.h"
#include "shell/document/document.h"
#include "shell/document/documentjson.h"
#include "shell/document/documentoutput.h"
#include "shell/document/odtwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

const QString kRanThrough = u"(ran through)"_s;

class BadInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_picture = m_dir.filePath(u"vc.png"_s);
        test::writeSolidPicture(m_picture, 4, 4, Qt::black);
    }
    QTemporaryDir m_dir;
    QString m_picture;
};

TEST_F(BadInputTest, AMissingPictureIsNamedAndNothingIsWritten)
{
    Document doc;
    DocumentBuilder b(doc);
    b.type(u"x"_s);
    b.picture(m_dir.filePath(u"seal.jpg"_s), QRectF(10, 10, 20, 20));
    const QString pdf = m_dir.filePath(u"out.pdf"_s);
    const QString message = test::stopText([&] { documentoutput::writePdf(doc, pdf); });
    EXPECT_TRUE(message.contains(u"seal.jpg"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"does not exist"_s)) << message.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_NE(test::stopText([&] { OdtWriter::write(doc, m_dir.filePath(u"out.odt"_s)); }), kRanThrough);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(u"out.odt"_s)));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"vc.png"_s}) << "no temporary file left";
}

TEST_F(BadInputTest, AFileThatIsNoPictureIsRefused)
{
    const QString fake = m_dir.filePath(u"vcm.jpg"_s);
    QFile f(fake);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    Document doc;
    DocumentBuilder b(doc);
    b.headerPicture(fake, QRectF(10, 10, 20, 20));
    const QString message = test::stopText([&] { documentoutput::writePdf(doc, m_dir.filePath(u"x.pdf"_s)); });
    EXPECT_TRUE(message.contains(u"vcm.jpg"_s) && message.contains(u"cannot be read"_s)) << message.toStdString();
}

TEST_F(BadInputTest, ItemsOffThePageAreRefusedByName)
{
    const std::vector<QRectF> outside = {
        QRectF(-5, 10, 20, 20),  // left of the paper
        QRectF(10, -5, 20, 20),  // above it
        QRectF(580, 10, 20, 20), // past the right edge of A4 (595.3 pt)
        QRectF(10, 830, 20, 20), // past the bottom (841.9 pt)
        QRectF(10, 10, -20, 20), // negative size
    };
    for (const QRectF &r : outside) {
        Document doc;
        DocumentBuilder b(doc);
        b.picture(m_picture, r);
        const QString message = test::stopText([&] { documentoutput::writePng(doc, m_dir.filePath(u"png"_s)); });
        EXPECT_TRUE(message.contains(u"picture vc.png lies off the page"_s)) << message.toStdString();
    }
    // Text boxes too, and the edge itself is still on the page.
    Document box;
    DocumentBuilder b(box);
    b.beginTextBox(QRectF(500, 800, 200, 20));
    b.type(u"x"_s);
    b.endTextBox();
    EXPECT_TRUE(test::stopText([&] { OdtWriter::package(box); }).contains(u"text box 1 lies off the page"_s));
    Document edge;
    DocumentBuilder e(edge);
    e.picture(m_picture, QRectF(QPointF(0, 0), edge.page.pagePoints()));
    EXPECT_EQ(test::stopText([&] { OdtWriter::package(edge); }), kRanThrough);
}

TEST_F(BadInputTest, AnUnwritableFolderIsNamedAndAnEarlierFileIsKept)
{
    Document good;
    DocumentBuilder b(good);
    b.type(u"GOOD"_s);
    b.endParagraph();
    const QString missingFolder = m_dir.filePath(u"no/such/folder/out.pdf"_s);
    const QString message = test::stopText([&] { documentoutput::writePdf(good, missingFolder); });
    EXPECT_TRUE(message.contains(missingFolder)) << message.toStdString();

    // A failed render does not replace the file a previous one wrote.
    const QString pdf = m_dir.filePath(u"kept.pdf"_s);
    documentoutput::writePdf(good, pdf);
    const QByteArray before = [&] {
        QFile f(pdf);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    Document bad = good;
    DocumentBuilder(bad).picture(m_dir.filePath(u"gone.png"_s), QRectF(1, 1, 1, 1));
    EXPECT_NE(test::stopText([&] { documentoutput::writePdf(bad, pdf); }), kRanThrough);
    QFile after(pdf);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(BadInputTest, APrinterThatDoesNotExistIsNamed)
{
    Document doc;
    DocumentBuilder b(doc);
    b.type(u"x"_s);
    const QString message = test::stopText([&] { documentoutput::print(doc, u"Certificate Printer 9"_s); });
    EXPECT_TRUE(message.contains(u"\"Certificate Printer 9\" does not exist"_s)) << message.toStdString();
}

TEST_F(BadInputTest, JsonMistakesNameTheFileAndThePlace)
{
    auto message = [&](const QByteArray &json) {
        return test::stopText([&] { DocumentJson::parse(json, u"layout.json"_s, m_dir.path()); });
    };
    const QString syntax = message("{\n \"body\": [\n  {\"paragraph\": \"x\"},,\n ]\n}");
    EXPECT_TRUE(syntax.startsWith(u"layout.json: line 3, column 2"_s)) << syntax.toStdString();
    EXPECT_TRUE(message(R"({"body":[{"paragraph":{"text":"x","sise":12}}]})")
                    .startsWith(u"layout.json: body[0].paragraph: unknown key \"sise\""_s));
    EXPECT_EQ(message(R"({"body":[{"paragraph":{"runs":[{"text":"x","size":"big"}]}}]})"),
              u"layout.json: body[0].paragraph.runs[0].size: a number is expected."_s);
    EXPECT_EQ(message(R"({"body":[{"paragraph":{"text":"x","colour":"red"}}]})"),
              u"layout.json: body[0].paragraph.colour: an \"&H\" colour (blue, green, red) is expected."_s);
    EXPECT_TRUE(message(R"({"body":[{"picture":{"file":"a.png","x":1,"y":2,"width":3}}]})")
                    .contains(u"body[0].picture: \"height\" (points) is missing."_s));
    EXPECT_TRUE(message(R"({"body":[{"table":{"columns":[1],"rows":[["a","b"]]}}]})")
                    .contains(u"body[0].table.rows[0]: more cells than columns."_s));
    EXPECT_TRUE(message(R"({"page":{"paper":"A3"}})").contains(u"page.paper: unknown paper \"A3\""_s));
    EXPECT_TRUE(message(R"({"page":{"left":5,"right":4}})").contains(u"the margins leave no room"_s));
    EXPECT_TRUE(message(R"({"body":[{"chart":{}}]})").contains(u"body[0]: unknown item \"chart\""_s));
}

TEST(DocumentJsonTest, FormatsAreInheritedFromTheParagraphAndPicturesFoundBesideTheFile)
{
    const Document doc = DocumentJson::parse(
        R"({"page":{"paper":[8.5,11],"landscape":true,"left":0.5},
            "body":[{"paragraph":{"align":"centre","font":"Arial","size":18,"bold":true,"spaceAfter":6,
                      "runs":["Name: ",{"text":"RAMA","italic":true,"colour":"&HFF0000"}]}},
                    {"picture":{"file":"seal.jpg","x":1,"y":2,"width":3,"height":4}}]})",
        u"x.json"_s, u"/layouts"_s);
    EXPECT_TRUE(doc.page.landscape);
    EXPECT_EQ(doc.page.paperInches, QSizeF(8.5, 11));
    EXPECT_EQ(doc.page.leftInches, 0.5);
    ASSERT_EQ(doc.flow.size(), 1u);
    const auto &p = std::get<Paragraph>(doc.flow[0]);
    EXPECT_EQ(p.format.alignment, Alignment::Centre);
    EXPECT_EQ(p.format.spaceAfter, 6);
    ASSERT_EQ(p.runs.size(), 2u);
    EXPECT_EQ(p.runs[0].text, u"Name: "_s);
    EXPECT_EQ(p.runs[0].format.fontName, u"Arial"_s);
    EXPECT_TRUE(p.runs[0].format.bold);
    EXPECT_FALSE(p.runs[0].format.italic);
    EXPECT_EQ(p.runs[1].format.size, 18);
    EXPECT_TRUE(p.runs[1].format.bold);
    EXPECT_TRUE(p.runs[1].format.italic);
    EXPECT_EQ(p.runs[1].format.colour, QColor(0, 0, 255));
    ASSERT_EQ(doc.anchored.size(), 1u);
    EXPECT_EQ(doc.anchored[0].flowIndex, 1u);
    EXPECT_EQ(std::get<PictureItem>(doc.anchored[0].item).file, u"/layouts/seal.jpg"_s);
}

TEST(DocumentJsonTest, TheHeaderTakesParagraphsPicturesAndTheWatermark)
{
    const Document doc = DocumentJson::parse(
        R"({"header":{"paragraphs":[{"align":"right","runs":["Page ",{"field":"page"}," of ",{"field":"pages"}]}],
                      "pictures":[{"file":"logo.png","x":36,"y":20,"width":50,"height":50}],
                      "watermark":{"file":"img/mcwm.jpg","width":300,"height":200}},
            "body":[{"table":{"columns":[1,2],"minRowHeight":1.25,"rows":[["a",{"text":"b","bold":true}]]}}]})",
        u"x.json"_s, u"/app"_s);
    ASSERT_EQ(doc.header.paragraphs.size(), 1u);
    const auto &runs = doc.header.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[1].field, Run::Field::PageNumber);
    EXPECT_EQ(runs[3].field, Run::Field::PageCount);
    ASSERT_EQ(doc.header.pictures.size(), 1u);
    EXPECT_EQ(doc.header.pictures[0].file, u"/app/logo.png"_s);
    EXPECT_EQ(doc.header.pictures[0].points, QRectF(36, 20, 50, 50));
    EXPECT_EQ(doc.header.watermarkFile, u"/app/img/mcwm.jpg"_s);
    EXPECT_EQ(doc.header.watermarkPoints, QSizeF(300, 200));
    ASSERT_EQ(doc.flow.size(), 1u);
    const auto &table = std::get<Table>(doc.flow[0]);
    EXPECT_EQ(table.minRowInches, 1.25);
    EXPECT_TRUE(table.rows[0][1].runs[0].format.bold);
    EXPECT_FALSE(table.rows[0][0].runs[0].format.bold) << "a cell's format does not leak into the next";
}

} // namespace
