#!/usr/bin/env python3
"""An IDML reader of its own, written from the format's description and sharing
nothing with the adapter: checks a package's structure and lists, for each
spread in order, its pages' names and the boxes of the rectangles on the
spread, in points from the spread's first page's top-left corner.

Prints "spread N", "page NAME", "rect TOP LEFT BOTTOM RIGHT" lines; exits 1
with "problem: ..." lines when the package breaks a rule of the format."""

import sys
import zipfile
import xml.etree.ElementTree as ET

problems = []


def problem(text):
    problems.append(text)


def matrix(text):
    a, b, c, d, tx, ty = (float(v) for v in text.split())
    return (a, b, c, d, tx, ty)


def compose(outer, inner):
    a, b, c, d, tx, ty = outer
    ia, ib, ic, id_, itx, ity = inner
    return (a * ia + c * ib, b * ia + d * ib, a * ic + c * id_, b * ic + d * id_,
            a * itx + c * ity + tx, b * itx + d * ity + ty)


def apply(m, x, y):
    a, b, c, d, tx, ty = m
    return (a * x + c * y + tx, b * x + d * y + ty)


def invert(m):
    a, b, c, d, tx, ty = m
    det = a * d - b * c
    return (d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det)


def rectangles(node, outer, out):
    for child in node:
        if child.get("ItemTransform") is None or child.tag == "Page":
            continue
        m = compose(outer, matrix(child.get("ItemTransform")))
        if child.tag == "Rectangle":
            points = [apply(m, *(float(v) for v in p.get("Anchor").split()))
                      for p in child.iter("PathPointType")]
            xs = [p[0] for p in points]
            ys = [p[1] for p in points]
            out.append((min(ys), min(xs), max(ys), max(xs)))
        rectangles(child, m, out)


def main(path):
    archive = zipfile.ZipFile(path)
    infos = archive.infolist()
    names = [i.filename for i in infos]
    if not infos or infos[0].filename != "mimetype":
        problem("mimetype is not the first entry")
    elif infos[0].compress_type != zipfile.ZIP_STORED:
        problem("mimetype is compressed")
    elif archive.read("mimetype") != b"application/vnd.adobe.indesign-idml-package":
        problem("mimetype is wrong")
    if len(set(names)) != len(names):
        problem("an entry is listed twice")
    design = ET.fromstring(archive.read("designmap.xml"))
    package = "{http://ns.adobe.com/AdobeInDesign/idml/1.0/packaging}"
    spreads = [e.get("src") for e in design if e.tag == package + "Spread"]
    stories = [e.get("src") for e in design if e.tag == package + "Story"]
    story_ids = set()
    for src in spreads + stories:
        if src not in names:
            problem("designmap.xml lists %s, which is missing" % src)
    for src in stories:
        story = ET.fromstring(archive.read(src)).find("Story")
        story_ids.add(story.get("Self"))
    for listed in design.get("StoryList", "").split():
        if listed not in story_ids and "Stories/Story_%s.xml" % listed in names:
            problem("story %s is in the story list but not listed as a part" % listed)
    seen = set()
    frames = {}
    total_pages = 0
    sections = [s for s in design if s.tag == "Section"]
    for number, src in enumerate(spreads):
        spread = ET.fromstring(archive.read(src)).find("Spread")
        for element in spread.iter():
            self_id = element.get("Self")
            if self_id is not None:
                if self_id in seen:
                    problem("the id %s is used twice" % self_id)
                seen.add(self_id)
            if element.tag == "TextFrame":
                frames[self_id] = element
        pages = spread.findall("Page")
        total_pages += len(pages)
        if int(spread.get("PageCount", len(pages))) != len(pages):
            problem("spread %s counts its pages wrongly" % src)
        print("spread", number)
        for page in pages:
            print("page", page.get("Name"))
        first = pages[0]
        if first.get("GeometricBounds") is None or first.get("ItemTransform") is None:
            continue  # InDesign CS4: the page's place is not written down
        top, left = (float(v) for v in first.get("GeometricBounds").split()[:2])
        to_page = compose((1, 0, 0, 1, -left, -top), invert(matrix(first.get("ItemTransform"))))
        found = []
        rectangles(spread, to_page, found)
        for box in found:
            print("rect %.9f %.9f %.9f %.9f" % box)
    for frame in frames.values():
        if frame.get("ParentStory") not in story_ids:
            problem("text frame %s shows a story that is not there" % frame.get("Self"))
        for thread in ("PreviousTextFrame", "NextTextFrame"):
            if frame.get(thread, "n") != "n" and frame.get(thread) not in frames:
                problem("text frame %s is threaded to a missing frame" % frame.get("Self"))
    if sum(int(s.get("Length", 0)) for s in sections) not in (0, total_pages):
        problem("the sections do not count every page")
    for text in problems:
        print("problem:", text)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
