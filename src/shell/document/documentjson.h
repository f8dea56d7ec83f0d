// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QByteArray>
#include <QString>

namespace sw {

// A document described in a small JSON form, for people designing layouts and for
// tests. Picture files are relative to `baseFolder` unless absolute.
//
// {
//   "page":   {"paper": "A4" | "Letter" | "Legal" | [8.27, 11.69], "landscape": false,
//              "top": 1, "bottom": 1, "left": 1, "right": 1, "header": 0.5},      (inches)
//   "header": {"paragraphs": [P...], "pictures": [PIC...],
//              "watermark": {"file": "wm.png", "width": 300, "height": 300}},  (points)
//   "body":   [ {"paragraph": P} | {"table": {"columns": [2, 3.5], "borders": true, "minRowHeight": 0,
//                                             "rows": [[P or "text", ...], ...]}}
//             | {"pageBreak": true} | {"picture": PIC}
//             | {"textBox": {"x": 72, "y": 72, "width": 200, "height": 40, "paragraphs": [P...]}} ]
// }
// P   = {"text": "..." | "runs": [R...], "align": "left|centre|right|justify",
//        "lineSpacing": 1, "spaceAfter": 0 (points), and the font keys of R as the default}
// R   = {"text": "...", "field": "page" | "pages", "font": "Arial", "size": 12,
//        "bold": false, "italic": false, "colour": "&H0000FF"}
// PIC = {"file": "seal.jpg", "x": 72, "y": 144, "width": 90, "height": 90}  (points from the corner)
//
// Every object's keys are checked: an unknown key, a wrong type or bad JSON throws
// StopError naming the file and the place ("body[2].paragraph.runs[0].size").
class DocumentJson
{
public:
    static Document parse(const QByteArray &json, const QString &sourceName, const QString &baseFolder);
    static Document read(const QString &path);
};

} // namespace sw
