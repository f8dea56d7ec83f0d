#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the program's help page from the clerks' guide and the screen gallery.

    helppage.py GUIDE.md SCREENS_DIR OUT_DIR [CMARK]

GUIDE.md (docs/user-guide.md) goes into OUT_DIR/index.html (converted by cmark-gfm, GitHub
tables included). A heading ending in "{#N22 #N2F}" is the section F1 opens for those menu
codes: each becomes an anchor of the heading. The guide shows the screens' pictures itself
(`![caption](screens/PICTURE.png)`, the same path from docs/ and from OUT_DIR); every screen of
SCREENS_DIR/gallery.tsv (menu code, form name, caption, picture) it does not show follows it
with its picture, and its section links there. The pictures are copied to OUT_DIR/screens/.
Nothing else is read.
"""
import html
import pathlib
import re
import shutil
import subprocess
import sys

ANCHORED = re.compile(r"^(#{1,6}) (.*?)\s*\{((?:#[\w-]+\s*)+)\}\s*$")
# Pictures are shown no wider than this: the help window is narrower than a screenshot.
SHOT_WIDTH = 800


def anchored(guide: str, pictured: set) -> str:
    """Turns "### Student Entry {#N22}" into a heading that holds the anchor N22, followed
    by a link to the screen's picture when the gallery has one."""
    out = []
    for line in guide.splitlines():
        m = ANCHORED.match(line)
        if m:
            names = [n[1:] for n in m.group(3).split()]
            anchors = "".join(f'<a name="{n}" id="{n}"></a>' for n in names)
            line = f"{m.group(1)} {anchors}{m.group(2)}"
            shown = [n for n in names if n in pictured]
            if shown:
                line += f'\n\n[The screen, as it opens](#shot-{shown[0]})'
        out.append(line)
    return "\n".join(out) + "\n"


def gallery(screens: pathlib.Path) -> list:
    listing = screens / "gallery.tsv"
    if not listing.exists():
        return []
    rows = []
    for line in listing.read_text(encoding="utf-8").splitlines():
        parts = line.split("\t")
        if len(parts) == 4 and (screens / parts[3]).exists():
            rows.append(parts)
    return rows


def main() -> None:
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    guide, screens, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    cmark = sys.argv[4] if len(sys.argv) > 4 else "cmark-gfm"
    text = guide.read_text(encoding="utf-8")
    shown = set(re.findall(r"\]\(screens/([^)\s]+)\)", text))
    shots = [row for row in gallery(screens) if row[3] not in shown]
    markdown = anchored(text, {row[0] for row in shots})
    # --unsafe keeps the anchors; the guide is the project's own text.
    body = subprocess.run([cmark, "--unsafe", "--extension", "table", "--extension", "autolink"], input=markdown,
                          capture_output=True, text=True, check=True).stdout
    # The help window sizes a picture by its attribute, not by the style sheet.
    body = body.replace('<img src="screens/', f'<img width="{SHOT_WIDTH}" src="screens/')

    (out / "screens").mkdir(parents=True, exist_ok=True)
    for picture in screens.glob("*.png"):
        shutil.copyfile(picture, out / "screens" / picture.name)

    parts = ["<!DOCTYPE html>", '<html lang="en"><head><meta charset="utf-8">',
             "<title>Scrollwise: help</title>",
             "<style>body{font-family:sans-serif;max-width:1100px;margin:1em auto;padding:0 1em;line-height:1.4}"
             "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:.2em .5em;vertical-align:top}"
             "code{background:#f3f3f3}img{max-width:100%;border:1px solid #ccc}"
             "</style></head><body>",
             "<h1>Scrollwise: help</h1>",
             '<p><a href="#top">The guide</a>' + (' &nbsp; <a href="#screens">The screens</a>' if shots else "")
             + "</p>",
             '<div id="guide">', body, "</div>"]
    if shots:
        parts.append('<h2><a name="screens" id="screens"></a>The screens</h2>')
        parts.append("<p>Every screen of the menu as it opens on the demonstration folder.</p>")
        for code, _form, caption, picture in shots:
            title = html.escape(caption)
            anchor = html.escape(f"shot-{code}")
            # A heading and a paragraph, not a figure: the program's help window shows no figures.
            parts.append(f'<h3><a name="{anchor}" id="{anchor}"></a>{title}</h3>'
                         f'<p><img src="screens/{html.escape(picture)}" width="{SHOT_WIDTH}" alt="{title}"></p>')
    parts.append("</body></html>")
    (out / "index.html").write_text("\n".join(parts) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
