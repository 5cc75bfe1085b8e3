#!/usr/bin/env python3
"""LibreOffice reads back what the content calls wrote: PNG and JPEG pictures
at the requested size and at the size their resolution gives, a UTF-8
paragraph character for character, links to a URL and to a bookmark.
    content_facts.py WORKDIR DOXRUN IMAGES_DIR
IMAGES_DIR holds facts.png (96x48 pixels, 144 dpi) and facts.jpg (64x32, 72 dpi)."""
import os, shutil, subprocess, sys
import xml.etree.ElementTree as ET

work, doxrun, images = sys.argv[1:4]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
TEXT = "Latin: Grüße. Greek: Ελληνικά. CJK: 中文. Emoji: 😀"
with open(f"{work}/facts.dox", "w", encoding="utf-8") as f:
    f.write(f'''DoxInsertImageFile "{images}/facts.png" 2880 1440
DoxInsertImageFile "{images}/facts.png" 0 0
InsertImageDataOf "{images}/facts.jpg" 1440 0
InsertImageDataOf "{images}/facts.jpg" 0 0
DoxInsertUtf8Text "\\r\\n{TEXT}\\r\\n"
DoxInsertBookmark "Intro" 1
DoxInsertText "Introduction"
DoxInsertBookmark "Intro" 0
DoxInsertUtf8Text "\\n"
DoxInsertHyperlink "https://example.com/a?b=1" "Example site" 0
DoxInsertHyperlink "Intro" "the introduction" 1
''')
subprocess.run([doxrun, "-o", f"{work}/facts.rtf", f"{work}/facts.dox"], check=True)
subprocess.run(["soffice", f"-env:UserInstallation=file://{work}/profile", "--headless",
                "--norestore", "--convert-to", "fodt", "--outdir", work, f"{work}/facts.rtf"],
               check=True, capture_output=True)
ns = {n: f"urn:oasis:names:tc:opendocument:xmlns:{u}:1.0" for n, u in
      [("draw", "drawing"), ("text", "text"), ("svg", "svg-compatible")]}
ns["xlink"] = "http://www.w3.org/1999/xlink"
q = lambda n, a: f"{{{ns[n]}}}{a}"
body = ET.parse(f"{work}/facts.fodt").getroot()
TWIPS = {"in": 1440, "cm": 1440 / 2.54, "mm": 144 / 2.54, "pt": 20}

def twips(length):
    unit = length.lstrip("0123456789.")
    return round(float(length[:-len(unit)]) * TWIPS[unit])

def shown(i, mime, width, height):  # within 2 twips (the reader's rounding)
    m, w, h = frames[i] if i < len(frames) else (None, 0, 0)
    return m == mime and abs(w - width) <= 2 and abs(h - height) <= 2

frames = [(f.find("draw:image", ns).get(q("draw", "mime-type")),
           twips(f.get(q("svg", "width"))), twips(f.get(q("svg", "height"))))
          for f in body.iter(q("draw", "frame"))]
links = {a.get(q("xlink", "href")): "".join(a.itertext()) for a in body.iter(q("text", "a"))}
paragraphs = ["".join(p.itertext()) for p in body.iter(q("text", "p"))]
facts = [
    # requested 2 x 1 inches; 96 x 48 pixels at 144 dpi = 960 x 480 twips
    ("PNG shown at the requested size", shown(0, "image/png", 2880, 1440)),
    ("PNG shown at its resolution's size", shown(1, "image/png", 960, 480)),
    # 1440 wide keeps 64:32; 64 x 32 pixels at 72 dpi = 1280 x 640 twips
    ("JPEG shown at the requested width", shown(2, "image/jpeg", 1440, 720)),
    ("JPEG shown at its resolution's size", shown(3, "image/jpeg", 1280, 640)),
    ("UTF-8 paragraph reads back the same", TEXT in paragraphs),
    ("link to a URL", links.get("https://example.com/a?b=1") == "Example site"),
    ("link to a bookmark", links.get("#Intro") == "the introduction"),
]
print("\n".join(("ok:   " if ok else "FAIL: ") + name for name, ok in facts))
if not all(ok for _, ok in facts):
    print("frames:", frames, "\nlinks:", links, "\nparagraphs:", paragraphs)
    sys.exit(1)
