#!/usr/bin/env python3
# Opens reader_facts.dox in LibreOffice in both modes and checks what a reader sees
# (the content calls: pictures, UTF-8 text and links, hold in both).
#   reader_facts.py WORKDIR DOXRUN
# The document is written by doxrun with and without --reader-friendly, converted
# with soffice to flat ODT XML and read back: in reader-friendly mode every fact
# must hold; in the default mode each fact marked as a loss must not (otherwise
# the fact proves nothing about the mode).
import os, shutil, subprocess, sys
import xml.etree.ElementTree as ET

NS = {p: f'urn:oasis:names:tc:opendocument:xmlns:{u}' for p, u in [
    ('office', 'office:1.0'), ('style', 'style:1.0'), ('text', 'text:1.0'),
    ('fo', 'xsl-fo-compatible:1.0'), ('draw', 'drawing:1.0'), ('svg', 'svg-compatible:1.0')]}
NS['xlink'] = 'http://www.w3.org/1999/xlink'


# Text in a symbol font comes back in the private use area (U+F020-U+F0FF):
# read it as the characters it was written with, to find the paragraph.
SYMBOL_TEXT = {0xF000 + c: c for c in range(0x20, 0x100)}


def text_of(element):  # a line break as a line feed
    parts = [element.text or '']
    for child in element:
        parts += ['\n' if child.tag == q('text:line-break') else text_of(child), child.tail or '']
    return ''.join(parts).translate(SYMBOL_TEXT)


def q(name):
    prefix, local = name.split(':')
    return f'{{{NS[prefix]}}}{local}'


class Fodt:
    def __init__(self, path):
        root = ET.parse(path).getroot()
        self.styles = {(s.get(q('style:family')), s.get(q('style:name'))): s
                       for s in root.iter(q('style:style'))}
        self.lists = {l.get(q('style:name')): l for l in root.iter(q('text:list-style'))}
        self.layout = next(p for p in root.iter(q('style:page-layout-properties')) if p.get(q('fo:margin-top')))
        self.paras = []  # (text, element, list style, list level)
        self._walk(next(root.iter(q('office:text'))), None, 0)
        self.frames = list(root.iter(q('draw:frame')))
        self.shapes = [e for e in root.iter() if e.tag in (q('draw:rect'), q('draw:custom-shape'))]
        self.spans = list(root.iter(q('text:span')))
        self.links = {a.get(q('xlink:href')): text_of(a) for a in root.iter(q('text:a'))}

    def image(self, i):  # the i-th picture: its type and size, in tens of twips
        pictures = [f for f in self.frames if f.find(q('draw:image')) is not None]
        if i >= len(pictures):
            return None
        tens = lambda v: round(float(v[:-2]) * {'in': 144, 'cm': 144 / 2.54}[v[-2:]])
        f = pictures[i]
        return f"{f.find(q('draw:image')).get(q('draw:mime-type'))} {tens(f.get(q('svg:width')))}0 x {tens(f.get(q('svg:height')))}0"

    def _walk(self, node, list_style, depth):
        for child in node:
            if child.tag == q('text:list'):
                self._walk(child, list_style or child.get(q('text:style-name')), depth + 1)
            elif child.tag in (q('text:p'), q('text:h')):
                self.paras.append((text_of(child), child, list_style, depth))
            else:
                self._walk(child, list_style, depth)

    def prop(self, family, name, attr):  # from the style's properties or its parents'
        while name:
            style = self.styles.get((family, name))
            if style is None:
                return None
            for props in style:
                if props.get(q(attr)) is not None:
                    return props.get(q(attr))
            name = style.get(q('style:parent-style-name'))
        return None

    def para(self, text):
        return next((p for p in self.paras if p[0] == text), None)

    def para_prop(self, text, attr):
        p = self.para(text)
        return p and self.prop('paragraph', p[1].get(q('text:style-name')), attr)

    def text_prop(self, text, attr):
        span = next((s for s in self.spans if text_of(s) == text), None)
        value = span is not None and self.prop('text', span.get(q('text:style-name')), attr)
        return value or self.para_prop(text, attr)

    def level(self, text, *attrs):
        p = self.para(text)
        if not p or not p[2]:
            return None
        for lvl in self.lists[p[2]]:
            if lvl.get(q('text:level')) == str(p[3]):
                font = [t.get(q('fo:font-family')) or t.get(q('style:font-name')) for t in lvl
                        if t.tag == q('style:text-properties')]
                values = {'level': str(p[3]), 'font': font[0] if font else None}
                return ' '.join(str(values.get(a) or lvl.get(q(a)) or '-') for a in attrs)

    def frame_prop(self, text, attr):
        f = next((f for f in self.frames if text in text_of(f)), None)
        return f is not None and self.prop('graphic', f.get(q('draw:style-name')), attr)

    def next_para(self, text):
        i = next((i for i, p in enumerate(self.paras) if p[0] == text), None)
        return None if i is None or i + 1 >= len(self.paras) else self.paras[i + 1][0]


UTF8 = 'Latin: Grüße. Greek: Ελληνικά. CJK: 中文. Emoji: 😀'
NUMBER = ('style:num-format', 'style:num-prefix', 'style:num-suffix', 'text:start-value', 'level')
BULLET = ('text:bullet-char', 'font')
# name, value read from the document, expected value in reader-friendly mode,
# lost in the default mode (True) or the same in both (False).
FACTS = [
    ('default font of body text', lambda d: d.text_prop('Plain body text', 'style:font-name'), 'Times New Roman', True),
    ('highlight at colour 0', lambda d: d.text_prop('Highlighted', 'fo:background-color'), '#003080', True),
    ('background at colour 0', lambda d: d.para_prop('Coloured background', 'fo:background-color'), '#003080', True),
    ('paragraph shading 15%', lambda d: d.para_prop('Shaded 15 percent', 'fo:background-color'), '#d8d8d8', True),
    ('heading colour', lambda d: d.text_prop('Styled heading', 'fo:color'), '#003080', True),
    ('heading size', lambda d: d.text_prop('Styled heading', 'fo:font-size'), '16pt', True),
    ('heading outline level', lambda d: d.para('Styled heading') and d.para('Styled heading')[1].get(q('text:outline-level')), '1', True),
    ('indented body style', lambda d: d.para_prop('Indented body', 'fo:margin-left'), '0.5in', True),
    ('header distance', lambda d: d.layout.get(q('fo:margin-top')), '0.25in', True),
] + [  # the round bullet (0) is the one every bullet style shows today
    (f'bullet style {i}', lambda d, i=i: d.level(f'Bullet {i}', *BULLET), glyph, i > 0) for i, glyph in enumerate(
    ['· Symbol', '¨ Symbol', '§ Wingdings', 'q Wingdings', 'v Wingdings', 'Ø Wingdings', 'ü Wingdings'])
] + [
    ('decimal numbers', lambda d: d.level('Decimal', *NUMBER), '1 - . - 1', True),
    ('upper letters, (text), start 3, level 2', lambda d: d.level('Upper letters from C', *NUMBER), 'A ( ) 3 2', True),
    ('lower roman, level 3', lambda d: d.level('Lower roman', *NUMBER), 'i - . - 3', True),
    ('upper roman', lambda d: d.level('Upper roman', *NUMBER), 'I - - - 1', True),
    ('lower letters', lambda d: d.level('Lower letters', *NUMBER), 'a - ) - 1', True),
    ('text box fill', lambda d: f"{d.frame_prop('Box text', 'draw:fill-color')} {d.frame_prop('Box text', 'draw:opacity')}", '#c0ffc0 100%', True),
    ('text box line width', lambda d: (d.frame_prop('Box text', 'fo:border') or '').split(' ')[0], '0.99pt', True),
    ('text box vertical text', lambda d: d.frame_prop('Box text', 'style:writing-mode'), 'tb-rl', True),
    ('transparent rectangle', lambda d: d.shapes and d.prop('graphic', d.shapes[0].get(q('draw:style-name')), 'draw:fill'), 'none', True),
    ('no empty paragraph after Unicode CR LF', lambda d: d.next_para('Unicode line'), 'After the Unicode line', True),
    ('page break in a continuous first section', lambda d: d.para_prop('After the page break', 'fo:break-before'), 'page', True),
    ('PNG at the requested size', lambda d: d.image(0), 'image/png 2880 x 1440', False),
    ('PNG at its resolution', lambda d: d.image(1), 'image/png 960 x 480', False),
    ('JPEG at the requested width', lambda d: d.image(2), 'image/jpeg 1440 x 720', False),
    ('JPEG at its resolution', lambda d: d.image(3), 'image/jpeg 1280 x 640', False),
    ('UTF-8 paragraph', lambda d: d.para(UTF8) and UTF8, UTF8, False),
    ('link to a URL', lambda d: d.links.get('https://example.com/a?b=1'), 'Example site', False),
    ('link to a bookmark', lambda d: d.links.get('#Intro'), 'the introduction', False),
]


def main():
    work, doxrun = sys.argv[1], sys.argv[2]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'reader_facts.dox')
    modes = {'reader': ['--reader-friendly'], 'default': []}
    for name, args in modes.items():
        subprocess.run([doxrun, *args, '-o', f'{work}/{name}.rtf', script], check=True,
                       cwd=os.path.dirname(script))  # the pictures beside it
    subprocess.run(['soffice', f'-env:UserInstallation=file://{work}/profile', '--headless', '--norestore',
                    '--convert-to', 'fodt', '--outdir', work] + [f'{work}/{n}.rtf' for n in modes],
                   check=True, capture_output=True)
    docs = {name: Fodt(f'{work}/{name}.fodt') for name in modes}
    failed = 0
    for name, read, expected, lost in FACTS:
        got = {mode: str(read(doc)) for mode, doc in docs.items()}
        ok = got['reader'] == expected and (got['default'] != expected) == lost
        failed += not ok
        print(f"{'ok  ' if ok else 'FAIL'} {name}: reader-friendly {got['reader']!r}, default {got['default']!r}"
              + ('' if ok else f', expected {expected!r}'))
    print(f'{len(FACTS) - failed} passed, {failed} failed')
    return 1 if failed else 0


sys.exit(main())
