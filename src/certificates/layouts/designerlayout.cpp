// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/layouts/designerlayout.h"

#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/document/documentjson.h"
#include "shell/document/documentrenderer.h"
#include "shell/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const char *const kLabelFields[] = {"{fname}", "{fregno}", "{fclassdesc}", "{fdate}", "{fspecial}"};

void fill(std::vector<Paragraph> &paragraphs, const std::vector<std::pair<QString, QString>> &fields)
{
    for (Paragraph &p : paragraphs) {
        for (Run &run : p.runs) {
            for (const auto &[key, value] : fields)
                run.text.replace(key, value);
        }
    }
}

bool holds(const std::vector<Paragraph> &paragraphs, const QString &field)
{
    for (const Paragraph &p : paragraphs) {
        for (const Run &run : p.runs) {
            if (run.text.contains(field))
                return true;
        }
    }
    return false;
}

} // namespace

QString DesignerLayout::relativePath(const QString &type) { return u"Layouts/CONVO"_s + type.trimmed() + u".json"_s; }

QStringList DesignerLayout::writeStarterLayouts(const AppFolder &folder)
{
    QStringList written;
    QDir().mkpath(folder.filePath(u"Layouts"_s));
    for (int type = 1; type <= 4; ++type) {
        const QString path = folder.filePath(relativePath(QString::number(type)));
        if (QFileInfo::exists(path))
            continue;
        // Label positions in points from the sheet's corner, as the stationery leaves room for them.
        auto box = [](int y, const QString &text, int size, bool bold = true) {
            return QJsonObject{
                {u"textBox"_s, QJsonObject{{u"x"_s, 72},
                                           {u"y"_s, y},
                                           {u"width"_s, 451},
                                           {u"height"_s, size * 2},
                                           {u"paragraphs"_s, QJsonArray{QJsonObject{{u"text"_s, text},
                                                                                    {u"align"_s, u"centre"_s},
                                                                                    {u"font"_s, u"Times New Roman"_s},
                                                                                    {u"size"_s, size},
                                                                                    {u"bold"_s, bold}}}}}}};
        };
        QJsonArray body{box(300, u"{fname}"_s, 18), box(340, u"Register No. {fregno}"_s, 12, false),
                        box(380, u"{fdescpn}"_s, 16)};
        if (type == 2)
            body.append(box(410, u"({fspecial})"_s, 12));
        // A doctorate is awarded without a class.
        if (type != 3)
            body.append(box(450, u"{fclassdesc}"_s, 12, false));
        body.append(box(490, u"{fexamdate}"_s, 12, false));
        body.append(box(530, u"{fdate}"_s, 12, false));
        const QJsonObject layout{{u"page"_s, QJsonObject{{u"paper"_s, u"A4"_s}}}, {u"body"_s, body}};
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw StopError(u"The layout file "_s + path + u" cannot be written: "_s + file.errorString());
        file.write(QJsonDocument(layout).toJson());
        written << path;
    }
    return written;
}

DesignerLayout::DesignerLayout(const AppFolder &folder, const QString &type)
{
    const QString path = folder.findFileAnyCase(relativePath(type));
    if (path.isEmpty())
        throw StopError(u"The certificate layout file "_s + folder.filePath(relativePath(type))
                            + u" is missing: copy the layout of certificate type "_s + type.trimmed()
                            + u" into the application folder."_s,
                        PromptIcon::Exclamation);
    m_path = path;
    m_template = DocumentJson::read(path);
    checkLaysOut(QString());
}

// Laid out once now, so a box placed off the sheet (by the file or by a typed
// position) is reported with the file's name before any sheet is used, not as a
// nameless box in the middle of a run.
void DesignerLayout::checkLaysOut(const QString &moved) const
{
    try {
        const DocumentRenderer check(m_template);
    } catch (const StopError &e) {
        throw StopError(m_path + u": "_s + moved + e.text(), e.icon(), e.title());
    }
}

void DesignerLayout::place(Label label, const LabelPlacement &placement)
{
    const QString field = QString::fromLatin1(kLabelFields[label]);
    for (AnchoredItem &anchored : m_template.anchored) {
        auto *box = std::get_if<TextBoxItem>(&anchored.item);
        if (!box || !holds(box->paragraphs, field))
            continue;
        bool ok = false;
        if (const double top = placement.top.toDouble(&ok); ok)
            box->points.moveTop(top * kPointsPerInch);
        if (const double left = placement.left.toDouble(&ok); ok)
            box->points.moveLeft(left * kPointsPerInch);
        if (const double size = placement.size.toDouble(&ok); ok && size > 0) {
            for (Paragraph &p : box->paragraphs) {
                for (Run &run : p.runs)
                    run.format.size = size;
            }
        }
    }
    checkLaysOut(u"the position typed for "_s + field + u" (top "_s + placement.top + u", left "_s + placement.left
                 + u") moves its box off the sheet. "_s);
}

LabelPlacement DesignerLayout::placement(Label label) const
{
    const QString field = QString::fromLatin1(kLabelFields[label]);
    for (const AnchoredItem &anchored : m_template.anchored) {
        const auto *box = std::get_if<TextBoxItem>(&anchored.item);
        if (!box || !holds(box->paragraphs, field))
            continue;
        LabelPlacement p;
        p.top = QString::number(box->points.top() / kPointsPerInch, 'f', 2);
        p.left = QString::number(box->points.left() / kPointsPerInch, 'f', 2);
        for (const Paragraph &paragraph : box->paragraphs) {
            if (!paragraph.runs.empty()) {
                p.size = QString::number(paragraph.runs.front().format.size);
                break;
            }
        }
        return p;
    }
    return {};
}

QStringList DesignerLayout::fields() const
{
    static const QRegularExpression field(u"\\{f[a-z]+\\}"_s);
    QStringList found;
    auto collect = [&](const std::vector<Paragraph> &paragraphs) {
        for (const Paragraph &p : paragraphs) {
            for (const Run &run : p.runs) {
                for (auto it = field.globalMatch(run.text); it.hasNext();)
                    found << it.next().captured();
            }
        }
    };
    collect(m_template.header.paragraphs);
    for (const Block &block : m_template.flow) {
        if (const auto *p = std::get_if<Paragraph>(&block))
            collect({*p});
    }
    for (const AnchoredItem &anchored : m_template.anchored) {
        if (const auto *box = std::get_if<TextBoxItem>(&anchored.item))
            collect(box->paragraphs);
    }
    found.removeDuplicates();
    return found;
}

Document DesignerLayout::compose(const CertificateRow &row, const QString &certNo) const
{
    return compose(row, certNo, nullptr);
}

QStringList DesignerLayout::overflows(const CertificateRow &row) const
{
    QStringList fields;
    compose(row, u"A000000"_s, &fields);
    return fields;
}

Document DesignerLayout::compose(const CertificateRow &row, const QString &certNo, QStringList *overflowing) const
{
    const std::vector<std::pair<QString, QString>> fields = {
        {u"{fregno}"_s, row.regno},     {u"{fname}"_s, row.name},         {u"{fcollname}"_s, row.collName},
        {u"{fdescpn}"_s, row.descpn},   {u"{fyear}"_s, row.year},         {u"{fclassdesc}"_s, row.classDesc},
        {u"{fspecial}"_s, row.special}, {u"{fexamdate}"_s, row.examDate}, {u"{fdate}"_s, row.convoDate},
        {u"{fcertno}"_s, certNo}};
    Document doc = m_template;
    fill(doc.header.paragraphs, fields);
    for (Block &block : doc.flow) {
        if (auto *p = std::get_if<Paragraph>(&block)) {
            std::vector<Paragraph> one{*p};
            fill(one, fields);
            *p = one.front();
        }
    }
    for (AnchoredItem &anchored : doc.anchored) {
        if (auto *box = std::get_if<TextBoxItem>(&anchored.item)) {
            const std::vector<Paragraph> designed = box->paragraphs;
            fill(box->paragraphs, fields);
            if (!fitTextBox(*box)) {
                // The box grew down to hold its wrapped lines: never past the foot of the sheet.
                const double foot = doc.page.pagePoints().height();
                if (box->points.bottom() > foot)
                    box->points.setBottom(std::max(box->points.top(), foot));
                if (overflowing) {
                    for (const auto &[field, value] : fields)
                        if (holds(designed, field))
                            *overflowing << field;
                }
            }
        }
    }
    return doc;
}

} // namespace sw
