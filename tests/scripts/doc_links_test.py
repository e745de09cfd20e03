#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
# Every relative link and image in README.md and docs/*.md must name a file
# that exists and, with a #anchor, a heading of that file as GitHub anchors
# it, and every release file they name (kelvra_3.7.0-1_amd64.deb, ...) must
# carry the project's version. Prints FILE:LINE: LINK for each one that does not.
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parents[2]
pages = [root / "README.md", *sorted((root / "docs").glob("*.md"))]

# [text](target), ![alt](target) and <img src="target">; the text may wrap.
link = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)\)|<img [^>]*src=\"([^\"]+)\"")
fence = re.compile(r"^```.*?^```", re.M | re.S)
code = re.compile(r"`[^`\n]*`")
version = re.search(r"project\(kelvra VERSION ([\d.]+)", (root / "CMakeLists.txt").read_text()).group(1)
release = re.compile(r"kelvra(?:-obs_|_|-vdf-|-)(\d+\.\d+\.\d+)(?=-1_amd64\.deb|\.zip|\.tar\.gz)")


def anchor(heading):
    # GitHub: lowercase, punctuation but hyphens dropped, spaces to hyphens.
    text = re.sub(r"[^\w\- ]", "", heading.strip().lower())
    return text.replace(" ", "-")


def anchors(page):
    seen, found = {}, set()
    for line in fence.sub("", page.read_text()).splitlines():
        if match := re.match(r"#{1,6} +(.*?)#*$", line):
            name = anchor(match.group(1))
            count = seen.get(name, 0)
            seen[name] = count + 1
            found.add(name if count == 0 else f"{name}-{count}")
    return found


def blank(match):  # keeps offsets, so line numbers stay right
    return re.sub(r"[^\n]", " ", match.group(0))


broken = 0
for page in pages:
    raw = page.read_text()
    text = code.sub(blank, fence.sub(blank, raw))
    for match in link.finditer(text):
        target = match.group(1) or match.group(2)
        if re.match(r"[a-z]+:", target):
            continue
        path, _, name = target.partition("#")
        file = (page.parent / path).resolve() if path else page
        if not file.exists() or (name and (file.suffix != ".md" or name not in anchors(file))):
            line = text.count("\n", 0, match.start()) + 1
            print(f"{page.relative_to(root)}:{line}: {target}")
            broken += 1
    for match in release.finditer(raw):
        if match.group(1) != version:
            line = raw.count("\n", 0, match.start()) + 1
            print(f"{page.relative_to(root)}:{line}: {match.group(0)} (the project is {version})")
            broken += 1
sys.exit(1 if broken else 0)
