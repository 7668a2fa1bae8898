#!/usr/bin/env python3
"""Makes the web page from web/raizes.html: the one-file page, or the folder
of the offline app.

Usage: page.py TEMPLATE MODULE VERSION OUTPUT
       page.py --app TEMPLATE MODULE VERSION FOLDER ICONS

Each <link rel="stylesheet" href="NAME"> and <script src="NAME"></script> of
TEMPLATE is replaced by the file's text, inline: raizes.js is MODULE, the
build's, and any other NAME is read beside TEMPLATE. The page's
Content-Security-Policy then allows exactly those scripts and styles, by
their SHA-256 (@SCRIPTS@ and @STYLES@), and @VERSION@ becomes VERSION.

The elements marked data-app belong to the offline app alone: the one-file
page, opened from its file, can have no manifest or service worker, and
goes without them. With --app, FOLDER gets the page as index.html, with
those elements and a policy that allows the manifest and the worker
(@APP_POLICY@); the manifest, with the icons (read from ICONS) inside it as
data: addresses, which the policy's img-src data: allows; and the service
worker, whose cache (@CACHE@) is named after a hash of the other files.
"""
import base64
import hashlib
import json
import pathlib
import re
import sys

APP_POLICY = "; manifest-src 'self'; worker-src 'self'"


def page(template, module, version, app):
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
    page = re.sub(r"\n<[^\n]* data-app>(</script>)?(?=\n)", lambda m: m[0].replace(" data-app", "") if app else "",
                  page)
    page = re.sub(r'<link rel="stylesheet" href="([^"]+)">',
                  lambda m: inline("style", text(m[1])), page)
    page = re.sub(r'<script src="([^"]+)"></script>', lambda m: inline("script", text(m[1])), page)
    return (page.replace("@SCRIPTS@", " ".join(hashes["script"]))
            .replace("@STYLES@", " ".join(hashes["style"])).replace("@VERSION@", version)
            .replace("@APP_POLICY@", APP_POLICY if app else ""))


def main():
    app = sys.argv[1] == "--app"
    template, module, version, output, *icons = sys.argv[1 + app:]
    text = page(template, module, version, app)
    if not app:
        pathlib.Path(output).write_text(text, encoding="utf-8", newline="\n")
        return
    out = pathlib.Path(output)
    (out / "index.html").write_text(text, encoding="utf-8", newline="\n")
    web = pathlib.Path(template).parent
    manifest = json.loads((web / "manifest.webmanifest").read_text(encoding="utf-8"))
    for icon in manifest["icons"]:
        png = base64.b64encode((pathlib.Path(icons[0]) / icon["src"]).read_bytes()).decode()
        icon["src"] = f"data:image/png;base64,{png}"
    (out / "manifest.webmanifest").write_text(json.dumps(manifest, ensure_ascii=False, indent=2) + "\n",
                                              encoding="utf-8", newline="\n")
    kept = hashlib.sha256()
    for name in ("index.html", "manifest.webmanifest"):
        kept.update(name.encode() + b"\0" + (out / name).read_bytes())
    worker = (web / "service-worker.js").read_text(encoding="utf-8").replace("@CACHE@", f"raizes-{kept.hexdigest()[:16]}")
    (out / "service-worker.js").write_text(worker, encoding="utf-8", newline="\n")


if __name__ == "__main__":
    main()
