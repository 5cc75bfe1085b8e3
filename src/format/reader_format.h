// Reader-friendly mode in paragraph and character formatting: the style
// sheet's words repeated where a style is applied, and paragraph shading as
// a mixed background colour. Every routine does nothing outside the mode and
// returns 0 only when the stream fails.
#pragma once

#include <cstdint>

namespace dox {

struct Document;

// styles_modern.cpp. Readers apply "\sN" and "\csN" but let the paragraph's
// and the text's own (default) properties win, so the style's words follow.
void BeginStyleRecord(Document *doc, int32_t paraStyle, int32_t styleId);
// Before the item's name: records its words; "\outlinelevel" for "heading N".
int32_t EndStyleRecord(Document *doc, const char *name);
// After "\sN": the paragraph style's paragraph words, "\plain" and its
// character words.
int32_t RepeatParaStyle(Document *doc, int32_t styleId);
// After "\csN": the character style's words.
int32_t RepeatCharStyle(Document *doc, int32_t styleId);
// After "\plain": the character words of the paragraph's style.
int32_t RepeatPlainStyle(Document *doc);

// lists_modern.cpp. DoxParaBullet as a Word 97 list paragraph: "\lsN\ilvlN"
// and a "\listtext" fallback; the lists go to Reader.ListTables.
int32_t WriteListParagraph(Document *doc, int32_t kind, int32_t style, int32_t level,
                           int32_t start, const char *textBefore, const char *textAfter,
                           uint32_t flags);

// shading_modern.cpp. After "\pard": no shading, no style.
void ResetReaderParagraph(Document *doc);
// Instead of "\shadingN" or "\cbpatN": "\cbpatN" of the mixed colour.
int32_t WriteMixedShading(Document *doc, int32_t percent, uint32_t color);

}  // namespace dox
