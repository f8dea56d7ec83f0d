#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the program's help page from the README's user guide and the screen gallery.

    helppage.py README.md SCREENS_DIR OUT_DIR [CMARK]

Every "## " section of the README preceded by the line "<!-- help -->" goes into
OUT_DIR/index.html (converted by cmark-gfm, GitHub tables included), followed by every
screen of SCREENS_DIR/gallery.tsv (menu code, form name, caption, picture) with its
picture. The pictures are copied to OUT_DIR/screens/. Nothing else is read.
"""
import html
import pathlib
import re
import shutil
import subprocess
import sys

MARKER = "<!-- help -->"


def guide_sections(readme: str) -> str:
    lines = readme.splitlines()
    out, taking, marked = [], False, False
    for line in lines:
        if line.startswith("## "):
            taking = marked
            marked = False
        elif line.startswith("# "):
            taking = False
        if line.strip() == MARKER:
            marked = True
            continue
        if taking:
            out.append(line)
    if not out:
        sys.exit("helppage.py: the README marks no section with " + MARKER)
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
    readme, screens, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    cmark = sys.argv[4] if len(sys.argv) > 4 else "cmark-gfm"
    markdown = guide_sections(readme.read_text(encoding="utf-8"))
    body = subprocess.run([cmark, "--extension", "table", "--extension", "autolink"], input=markdown,
                          capture_output=True, text=True, check=True).stdout
    # The README's pictures live in docs/screens/; the page's beside it in screens/.
    body = re.sub(r'src="docs/screens/', 'src="screens/', body)

    (out / "screens").mkdir(parents=True, exist_ok=True)
    for picture in screens.glob("*.png"):
        shutil.copyfile(picture, out / "screens" / picture.name)

    shots = gallery(screens)
    parts = ["<!DOCTYPE html>", '<html lang="en"><head><meta charset="utf-8">',
             "<title>Scrollwise: help</title>",
             "<style>body{font-family:sans-serif;max-width:1100px;margin:1em auto;padding:0 1em;line-height:1.4}"
             "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:.2em .5em;vertical-align:top}"
             "code{background:#f3f3f3}img{max-width:100%;border:1px solid #ccc}"
             "nav a{margin-right:1em}figure{margin:1.5em 0}</style></head><body>",
             "<h1>Scrollwise: help</h1>",
             '<nav><a href="#guide">The user guide</a><a href="#screens">The screens</a></nav>',
             '<div id="guide">', body, "</div>"]
    if shots:
        parts.append('<h2 id="screens">The screens</h2>')
        parts.append("<p>Every screen of the menu as it opens on the demonstration folder.</p>")
        for code, form, caption, picture in shots:
            title = html.escape(f"{caption} ({code}, {form})")
            parts.append(f'<figure id="{html.escape(code)}"><figcaption><b>{title}</b></figcaption>'
                         f'<img src="screens/{html.escape(picture)}" alt="{title}"></figure>')
    parts.append("</body></html>")
    (out / "index.html").write_text("\n".join(parts) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
