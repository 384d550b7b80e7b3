#!/usr/bin/python3
"""Generates pages that test tree construction where it decides a page's
colors (two bodies, template, noscript, comments, CDATA, scripts, character
references, encodings) and compares the body element's color attributes that
our reader's parser builds (the pagebody tool) with those of html5lib, an
independent HTML5 parser, run with scripting on as a browser runs.

    pagecorpus.py PAGEBODY [--pages N] [--seed S] [--keep DIR]
"""
import argparse
import json
import os
import random
import subprocess
import sys
import tempfile

import html5lib

NAMES = ["bgcolor", "text", "link", "vlink", "alink", "background"]

# Characters each encoding can hold, besides ASCII.
ENCODINGS = {
    # label in the page -> (Python codec writing the bytes, extra characters)
    "utf-8": ("utf-8", "é€あ한中ſ\u00a0"),
    "UTF-8": ("utf-8", "é€"),
    "utf8": ("utf-8", "ü"),
    "windows-1252": ("cp1252", "é€ü"),
    "iso-8859-1": ("cp1252", "é€"),
    "latin1": ("cp1252", "ü"),
    "ascii": ("cp1252", "é"),
    "shift_jis": ("shift_jis", "あ日本"),
    "Shift_JIS": ("shift_jis", "カナ"),
    "euc-kr": ("euc_kr", "한국"),
    "gbk": ("gbk", "中文"),
    "gb2312": ("gbk", "中"),
    "euc-jp": ("euc_jp", "あ"),
    "koi8-r": ("koi8_r", "ж"),
    "windows-1251": ("cp1251", "ж"),
    "iso-8859-2": ("iso8859_2", "ł"),
    "utf-16": ("utf-8", "é"),  # a UTF-16 label in a META means UTF-8
    "utf-16le": ("utf-8", "ü"),
    "bogus-label": ("cp1252", "é"),
    None: ("cp1252", "éü"),  # nothing declared: windows-1252
}

COLORS = ["red", "Blue", "#abc", "#A0B1C2", "00ff00", "chucknorris", "transparent", "", " ", "tran\u017fparent",
          "\ufeffff0000", "f\r\nf", "f\rf", "&num;abc", "&#35;123", "&#x23;fed", "ff&amp", "ff&amp;00", "&NewLine;red",
          "&lpar;1&rpar;", "#1\x002", "&notit;", "&not", "a&ampb", "&amp=x", "rgb(1,2,3)", "\t navy \n", "&#0;f",
          "&#x80;", "&eacute;", "&Eacute", "&zwnj;ff", "x&lt;y", "&#128512;", "\x01ff", "a\x7fb\x1f", "\u0085c"]

def value(rnd, extra):
    v = rnd.choice(COLORS)
    if rnd.random() < 0.3:
        v += rnd.choice(extra)
    return v

def attr(rnd, extra, names=NAMES):
    name = rnd.choice(names)
    if rnd.random() < 0.2:
        name = name.upper()
    v = value(rnd, extra)
    quote = rnd.choice(['"', "'", ""])
    if quote == "" and (not v or any(c in v for c in " \t\r\n\"'=<>`")):
        quote = '"'
    if quote and quote in v:
        quote = '"' if quote == "'" else "'"
        if quote in v:
            v = v.replace(quote, "")
    return f"{name}={quote}{v}{quote}" if rnd.random() > 0.05 else name

def body(rnd, extra, tag="body"):
    attrs = " ".join(attr(rnd, extra) for _ in range(rnd.randint(0, 4)))
    return f"<{tag} {attrs}>" if attrs else f"<{tag}>"

def piece(rnd, extra):
    """Something that may or may not hide a BODY tag from the parser."""
    b = lambda: body(rnd, extra, rnd.choice(["body", "BODY", "Body"]))
    kinds = [
        lambda: f"<template>{b()}</template>",
        lambda: f"<noscript>{b()}</noscript>",
        lambda: f"<!-- {b()} -->",
        lambda: f"<!-- x --!>{b()}",
        lambda: f"<!-->{b()}",
        lambda: f"<!--->{b()}",
        lambda: f"<!-- a -- b -->{b()}",
        lambda: f"<script>document.write('{b()}')</script>",
        lambda: f"<script><!--<script>{b()}</script>-->{b()}</script>",
        lambda: f"<script><!--<script></script>{b()}</script>",
        lambda: f"<script>x</\u017fcript>{b()}</script>",
        lambda: f"<svg><![CDATA[ > {b()} ]]></svg>",
        lambda: f"<svg><style>{b()}</style></svg>",
        lambda: f"<math><mi>{b()}</mi></math>",
        lambda: f"<p title='{b()}'>x</p>",
        lambda: f"</p title='>'{b()}>",
        lambda: f"</p a='>'>{b()}",
        lambda: f"<textarea>{b()}</textarea>",
        lambda: f"<title>{b()}</title>",
        lambda: f"<xmp>{b()}</xmp>",
        lambda: f"<iframe>{b()}</iframe>",
        lambda: f"<noframes>{b()}</noframes>",
        lambda: f"<noembed>{b()}</noembed>",
        lambda: f"<style>{b()}</style>",
        lambda: f"<table>{b()}<tr><td>x</table>",
        lambda: f"<table><tr><td>{b()}</td></tr></table>",
        lambda: f"<select>{b()}</select>",
        lambda: f"<frameset>{b()}</frameset>",
        lambda: f"<plaintext>{b()}",
        lambda: f"<div>text &amp; more {b()}</div>",
        lambda: f"<p>{b()}",
        lambda: f"<template><template>{b()}</template>{b()}</template>",
        lambda: f"<head><noscript>{b()}</noscript></head>",
        lambda: f"<![CDATA[{b()}]]>",
        lambda: f"<?php {b()} ?>",
        lambda: f"<!DOCTYPE html>{b()}",
        lambda: f"<html {attr(rnd, extra)}>{b()}",
        lambda: f"\x00{b()}",
        lambda: f"<b><i>{b()}</b></i>",
        lambda: f"<a href=x>{b()}</a>",
        lambda: f"<{b()[1:]}",
        lambda: f"<body{rnd.choice(['/', '//', ' / '])}{attr(rnd, extra)}>",
        lambda: f"<body {attr(rnd, extra)} {attr(rnd, extra)} {attr(rnd, extra)}>",
        lambda: f"<body\n{attr(rnd, extra)}\r\n{attr(rnd, extra)}>",
        lambda: b(),
        lambda: b(),
        lambda: "<p>" + rnd.choice(extra) * 3 + "</p>",
    ]
    return rnd.choice(kinds)()

def page(rnd):
    label = rnd.choice(list(ENCODINGS))
    codec, extra = ENCODINGS[label]
    bom = b""
    head = ""
    if label is not None:
        head = rnd.choice([f'<meta charset="{label}">', f"<meta charset={label}>",
                           f'<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset={label}">',
                           f"<meta content='text/html;charset={label}' http-equiv=content-type>"])
    elif rnd.random() < 0.15:
        bom, codec, extra = b"\xef\xbb\xbf", "utf-8", "é€あ"
    parts = []
    if rnd.random() < 0.5:
        parts.append("<!DOCTYPE html>")
    parts.append("<html><head>" if rnd.random() < 0.6 else "")
    parts.append(head)
    parts.append("<title>t</title>" if rnd.random() < 0.5 else "")
    for _ in range(rnd.randint(0, 2)):
        parts.append(piece(rnd, extra))
    parts.append("</head>" if rnd.random() < 0.5 else "")
    if rnd.random() < 0.8:
        parts.append(body(rnd, extra))
    for _ in range(rnd.randint(0, 4)):
        parts.append(piece(rnd, extra))
    if rnd.random() < 0.5:
        parts.append(body(rnd, extra))
    parts.append(rnd.choice(["", "</body></html>", "</html>", "</body>"]))
    text = "".join(parts)
    return bom + text.encode(codec, errors="xmlcharrefreplace")

def html5lib_parser():
    """html5lib 1.1 predates one rule of today's HTML standard: a BODY start
    tag is ignored while a template element is open. It is added here."""
    parser = html5lib.HTMLParser(namespaceHTMLElements=False)
    in_body = type(parser.phases["inBody"])
    handlers = in_body.__dict__["startTagHandler"]
    if not getattr(in_body, "_template_rule", False):
        previous = dict.__getitem__(handlers, "body")

        def start_tag_body(phase, token):
            if any(e.name == "template" for e in phase.tree.openElements):
                phase.parser.parseError("unexpected-start-tag", {"name": "body"})
                return None
            return previous(phase, token)

        dict.__setitem__(handlers, "body", start_tag_body)
        in_body._template_rule = True
    return parser

def theirs(data):
    doc = html5lib_parser().parse(data, useChardet=False, scripting=True)
    root = doc if doc.tag == "html" else doc.find("html")
    for child in root:
        if child.tag == "frameset":
            return {}
        if child.tag == "body":
            return {k: v for k, v in child.attrib.items() if k in NAMES}
    return {}

def main():
    args = argparse.ArgumentParser()
    args.add_argument("pagebody")
    args.add_argument("--pages", type=int, default=2500)
    args.add_argument("--seed", type=int, default=25)
    args.add_argument("--keep")
    a = args.parse_args()
    rnd = random.Random(a.seed)
    folder = a.keep or tempfile.mkdtemp(prefix="pagecorpus.")
    os.makedirs(folder, exist_ok=True)
    files = []
    for n in range(a.pages):
        path = os.path.join(folder, f"page{n:05}.htm")
        with open(path, "wb") as f:
            f.write(page(rnd))
        files.append(path)
    ours = {}
    for start in range(0, len(files), 400):
        out = subprocess.run([a.pagebody] + files[start:start + 400], check=True, capture_output=True, text=True)
        for line in filter(None, out.stdout.split("\n")):
            record = json.loads(line)
            ours[record["file"]] = record["attributes"]
    differ = []
    for path in files:
        with open(path, "rb") as f:
            data = f.read()
        expected = theirs(data)
        if ours.get(path) != expected:
            differ.append((path, data, ours.get(path), expected))
    agree = len(files) - len(differ)
    print(f"pagecorpus: {len(files)} pages, body attributes agree on {agree} ({100.0 * agree / len(files):.2f} %)")
    for path, data, got, expected in differ[:15]:
        print(f"  {os.path.basename(path)}: {data[:300]!r}\n    ours   {got}\n    theirs {expected}")
    if not a.keep:
        for path in files:
            os.remove(path)
        os.rmdir(folder)
    return 1 if differ else 0

if __name__ == "__main__":
    sys.exit(main())
