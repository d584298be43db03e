#!/usr/bin/env python3
"""Makes the user guide into one self-contained HTML file for the release: the Markdown is
converted by cmark (Debian's package of the CommonMark reference converter) and every picture
it shows is put inside the page as a data: URI, so that the file opens the same anywhere, without
a network or the images folder.

    guide_html.py docs/guide.ko.md dist/Tovrix-guide.html

Fails (non-zero, with the reason) when cmark is missing or a picture cannot be read.
"""
import base64
import html
import mimetypes
import os
import re
import subprocess
import sys

STYLE = """
body { font-family: "Malgun Gothic", "맑은 고딕", Gulim, sans-serif; max-width: 52em; margin: 2em auto;
       padding: 0 1em; line-height: 1.6; color: #222; }
h1, h2 { border-bottom: 1px solid #ccc; padding-bottom: .2em; }
img { max-width: 100%; border: 1px solid #ccc; margin: .5em .5em .5em 0; vertical-align: top; }
code { background: #f2f2f2; padding: 0 .2em; }
"""


def embed_pictures(body, base):
    def data_uri(match):
        source = html.unescape(match.group(2))
        if source.startswith("data:"):
            return match.group(0)
        path = os.path.join(base, source)
        with open(path, "rb") as f:
            data = base64.b64encode(f.read()).decode("ascii")
        kind = mimetypes.guess_type(path)[0] or "application/octet-stream"
        return '%sdata:%s;base64,%s"' % (match.group(1), kind, data)

    return re.sub(r'(<img\s[^>]*?src=")([^"]*)"', data_uri, body)


def main(source, target):
    try:
        body = subprocess.run(["cmark", "--to", "html", source], check=True, capture_output=True).stdout.decode("utf-8")
    except FileNotFoundError:
        sys.exit("guide_html.py: cmark is not installed (Debian package cmark)")
    body = embed_pictures(body, os.path.dirname(os.path.abspath(source)))
    heading = re.search(r"<h1>(.*?)</h1>", body)
    title = re.sub(r"<[^>]+>", "", heading.group(1)) if heading else "Tovrix"
    page = ("<!DOCTYPE html>\n<html lang=\"ko\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>%s</title>\n<style>%s</style>\n</head>\n<body>\n%s</body>\n</html>\n") % (title, STYLE, body)
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(page)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
