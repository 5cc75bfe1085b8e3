// Character formatting: plain text, font, size and style bits, character
// styles and colours. Fonts and colours go into the document's tables; only
// their index is written here.
#include <cstdint>
#include <cstring>

#include "core/document.h"
#include "core/font_lookup.h"
#include "core/sequence_rules.h"
#include "format/reader_format.h"
#include "dox.h"

using namespace dox;

namespace dox {
namespace {

// The style bits in the order their words are written (not bit order).
// Raising and lowering carry a distance in half-points, the others an
// explicit 0 when switched off.
struct StyleWord {
  uint32_t bit;
  std::string_view word;
  bool shift;  // "\up"/"\dn": 6 when on, 0 when off
};

constexpr StyleWord kStyleWords[] = {
    {CHAR_UNDERLINE, "ul", false},     {CHAR_BOLD, "b", false},
    {CHAR_ITALIC, "i", false},         {CHAR_HIDDEN, "v", false},
    {CHAR_KLHLINK, "klhlink", false},  {CHAR_STRIKE, "strike", false},
    {CHAR_PROTECT, "protect", false},  {CHAR_DBL_UNDERLINE, "uldb", false},
    {CHAR_SUBSCRIPT, "dn", true},      {CHAR_SUPERSCRIPT, "up", true},
    {CHAR_CAPS, "caps", false},        {CHAR_SMALL_CAPS, "scaps", false},
};

constexpr uint32_t kAllStyleBits = [] {
  uint32_t all = 0;
  for (const StyleWord &w : kStyleWords) all |= w.bit;
  return all;
}();

constexpr int32_t kScriptShift = 6;  // half-points

// Font index (negative: none), size (points > 0, half-points < 0, 0: none)
// and style bits switched on or off, composed. At most 92 bytes: the
// composer never writes on the way.
void ComposeCharProps(WordRun &run, int32_t font, int32_t size, uint32_t style, int32_t on) {
  if (font >= 0) run.Add("f", font);
  if (size != 0) {
    // In 32-bit arithmetic, as the value is passed: huge sizes wrap around.
    auto u = static_cast<uint32_t>(size);
    run.Add("fs", static_cast<int32_t>(size > 0 ? 2u * u : 0u - u));
  }
  uint32_t left = style;
  for (const StyleWord &w : kStyleWords) {
    if (!left) break;
    if (!(style & w.bit)) continue;
    left &= ~w.bit;
    if (w.shift)
      run.Add(w.word, on ? kScriptShift : 0);
    else if (on)
      run.Add(w.word);
    else
      run.Add(w.word, 0);
  }
}

// The slot for words of this size, style bits and on/off.
inline ComposedCharWords &SlotFor(Document *doc, int32_t size, uint32_t style, int32_t on) {
  const uint32_t key = (static_cast<uint32_t>(size) * 31 + style) * 2 + static_cast<uint32_t>(on);
  return doc->CharWords.Slots[key * 0x9E3779B1u >> (32 - kComposedCharBits)];
}

// Looks the font up (none without a face), then composes its words, keeps
// them in their slot when they fit and writes them. Returns 1, also when a
// word could not be written.
__attribute__((noinline)) int32_t LookUpAndCompose(Document *doc, const char *face, int32_t charset,
                                                   int32_t size, uint32_t style, int32_t on) {
  ComposedCharWords &slot = SlotFor(doc, size, style, on);
  const int32_t font = face ? FindOrAddTextFont(doc, face, charset) : -1;
  WordRun run(doc, doc->Stream);
  ComposeCharProps(run, font, size, style, on);
  const std::string_view words = run.Composed();
  if (!words.empty() && words.size() <= sizeof slot.Words) {
    slot = {font, charset, size, style, on, static_cast<int32_t>(words.size()), {}};
    std::memcpy(slot.Words, words.data(), words.size());
  }
  run.Put();
  return 1;
}

// Kept words that no longer fit on the line, through PutWords; returns 1.
__attribute__((noinline)) int32_t PutLongKeptWords(Document *doc, const ComposedCharWords &slot) {
  PutWords(doc, doc->Stream, slot.Words, slot.Length);
  return 1;
}

// DoxTextFont2 once the call may proceed. The words are kept by size, style
// bits and on/off, with the font entry they name and the character set it
// was looked up with: a call alike whose face has that entry's very bytes
// writes them again. That entry is the one a lookup would find: it was the
// first match for a name that the face now matches as well. Returns 1, also
// when a word could not be written. (Everything else is a tail call, so that
// the usual case saves no registers.)
inline int32_t TextFontAllowed(Document *doc, const char *face, int32_t size, uint32_t style,
                               int32_t charset, int32_t on) {
  style &= kAllStyleBits;
  on = style && on ? 1 : 0;  // on/off only matters to style words
  const ComposedCharWords &slot = SlotFor(doc, size, style, on);
  if (!face || !*face) face = nullptr;
  if (!(slot.Length && slot.Size == size && slot.Style == style && slot.On == on &&
        (face ? slot.Font >= 0 && slot.Charset == charset && doc->Fonts &&  // (lost if it could not grow)
                    SameFontBytes(doc->Fonts[slot.Font].Name, face)
              : slot.Font < 0)))
    return LookUpAndCompose(doc, face, charset, size, style, on);
  return PutKeptWordsInLine(doc->Stream, slot.Words, slot.Length) ? 1 : PutLongKeptWords(doc, slot);
}

// TextFontAllowed after the call-order check's slow path.
__attribute__((noinline)) int32_t TextFontSlowly(Document *doc, const char *face, int32_t size,
                                                 uint32_t style, int32_t charset, int32_t on) {
  if (!EnsureTextPositionSlowly(doc, rules::TextFont)) return 0;
  return TextFontAllowed(doc, face, size, style, charset, on);
}

// DoxTextFont2, for both exports.
inline int32_t TextFont(DOXDOC handle, const char *face, int32_t size, uint32_t style,
                        int32_t charset, int32_t on) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  if (!AllowedNow(doc, rules::TextFont)) return TextFontSlowly(doc, face, size, style, charset, on);
  return TextFontAllowed(doc, face, size, style, charset, on);
}

}  // namespace
}  // namespace dox

extern "C" {

DOXEXPORT int32_t DOXAPI DoxResetTextProp(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ResetTextProp)) return 0;
  return PutWord(doc, doc->Stream, "plain") && RepeatPlainStyle(doc);
}

DOXEXPORT int32_t DOXAPI DoxTextFont(DOXDOC handle, const char *face, int32_t size,
                                     uint32_t style, int32_t on) {
  return TextFont(handle, face, size, style, -1, on);
}

DOXEXPORT int32_t DOXAPI DoxTextFont2(DOXDOC handle, const char *face, int32_t size,
                                      uint32_t style, int32_t charset, int32_t on) {
  return TextFont(handle, face, size, style, charset, on);
}

DOXEXPORT int32_t DOXAPI DoxCharStyleId(DOXDOC handle, int32_t styleId) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::CharStyleId)) return 0;
  return PutWordValue(doc, doc->Stream, "cs", styleId) && RepeatCharStyle(doc, styleId);
}

DOXEXPORT int32_t DOXAPI DoxTextColor(DOXDOC handle, uint32_t color, int32_t foreground) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::TextColor)) return 0;
  return PutWordValue(doc, doc->Stream, foreground ? "cf" : "highlight",
                      FindOrAddColor(doc, color));
}

}  // extern "C"
