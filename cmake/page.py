#!/usr/bin/env python3
"""Makes the one-file web page from web/raizes.html.

Usage: page.py TEMPLATE MODULE VERSION OUTPUT

Each <link rel="stylesheet" href="NAME"> and <script src="NAME"></script> of
TEMPLATE is replaced by the file's text, inline: raizes.js is MODULE, the
build's, and any other NAME is read beside TEMPLATE. The page's
Content-Security-Policy then allows exactly those scripts and styles, by
their SHA-256 (@SCRIPTS@ and @STYLES@), and @VERSION@ becomes VERSION.
"""
import base64
import hashlib
import pathlib
import re
import sys


def main():
    template, module, version, output = sys.argv[1:]
    folder = pathlib.Path(template).parent
    hashes = {"script": [], "style": []}

    def text(name):
        path = pathlib.Path(module) if name == "raizes.js" else folder / name
        return path.read_text(encoding="utf-8").strip()

    def inline(kind, content):
        # Nothing in it may end its element early.
        if re.search(rf"</{kind}|<!--", content, re.IGNORECASE):
            sys.exit(f"page.py: {kind} would end early in the page")
        digest = base64.b64encode(hashlib.sha256(content.encode()).digest()).decode()
        hashes[kind].append(f"'sha256-{digest}'")
        return f"<{kind}>{content}</{kind}>"

    page = pathlib.Path(template).read_text(encoding="utf-8")
    page = re.sub(r'<link rel="stylesheet" href="([^"]+)">',
                  lambda m: inline("style", text(m[1])), page)
    page = re.sub(r'<script src="([^"]+)"></script>', lambda m: inline("script", text(m[1])), page)
    page = (page.replace("@SCRIPTS@", " ".join(hashes["script"]))
            .replace("@STYLES@", " ".join(hashes["style"])).replace("@VERSION@", version))
    pathlib.Path(output).write_text(page, encoding="utf-8", newline="\n")


if __name__ == "__main__":
    main()
