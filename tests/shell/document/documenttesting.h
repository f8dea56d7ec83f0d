// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the composer's tests: pictures to place, and poppler's tools that
// look at what was written (python3 is support/python.h's).

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace sw::test {

inline void writeSolidPicture(const QString &path, int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
}

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline ToolRun runTool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(120000))
        return {-1, {}, QStringLiteral("timed out or did not start: ") + program};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

inline bool haveTool(const QString &name) { return !QStandardPaths::findExecutable(name).isEmpty(); }

struct Word
{
    int page; // 1-based
    double xMin, yMin, xMax, yMax;
    QString text;
};

// Every word of a PDF with its box in points from the page's top-left corner, as pdftotext -bbox gives it.
inline std::vector<Word> pdfWords(const QString &pdf)
{
    const ToolRun r = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    std::vector<Word> words;
    static const QRegularExpression page(QStringLiteral("<page "));
    static const QRegularExpression word(QString::fromLatin1(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    int pageNumber = 0;
    for (const QString &line : r.out.split(u'\n')) {
        if (line.contains(page))
            ++pageNumber;
        const auto m = word.match(line);
        if (m.hasMatch()) {
            QString text = m.captured(5);
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&apos;"), QStringLiteral("'"));
            words.push_back({pageNumber, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                             m.captured(4).toDouble(), text});
        }
    }
    return words;
}

inline const Word *findWord(const std::vector<Word> &words, const QString &text, int page = 0)
{
    for (const Word &w : words)
        if (w.text == text && (page == 0 || w.page == page))
            return &w;
    return nullptr;
}

// The smallest rectangle holding every pixel darker than `threshold` inside `area`.
inline QRect darkBounds(const QImage &image, const QRect &area, int threshold = 128)
{
    QRect bounds;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (qGray(image.pixel(x, y)) < threshold)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace sw::test
