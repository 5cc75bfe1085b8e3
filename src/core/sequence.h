// Call-sequence checking: which begin/end brackets must or must not be open
// for a call, and the automatic opening of the section and its text.
#pragma once

#include <cstdint>

#include "core/document.h"

namespace dox {

// Tests StateBits: no bit of `alreadyMask` (the bracket this call opens), at
// least one bit of `requiredMask` (unless 0) and no bit of `forbiddenMask`.
// Opens the section or its text when `requiredMask` asks for them; a refusal
// is reported under `caption` (code 48 listing `requiredMask`, or the code of
// the bracket that decides). Returns 1 to proceed, 0 when refused.
int32_t CheckCallSequence(Document *doc, const char *caption, uint32_t alreadyMask,
                          uint32_t requiredMask, uint32_t forbiddenMask);

// Initialises the section ("\sectd"), as DoxInitSect does.
int32_t OpenSection(Document *doc);
// Begins the section text (initialising the section first), as DoxBeginSectText does.
int32_t OpenSectionText(Document *doc);

// Composes the text of code 48 listing the begin calls of `brackets`: into
// `out` (kComposedMessageSize bytes), or as the text of code 48.
void ComposeSequenceMessage(uint32_t brackets, char *out);
void ComposeSequenceMessage(uint32_t brackets);

enum class AutoOpen : uint8_t { None, Section, SectionText };

// The condition under which an export proceeds.
struct SequenceRule {
  const char *caption;     // reported under this name
  uint32_t anyOf;          // at least one of these brackets is open
  uint32_t noneOf;         // none of these is open
  AutoOpen opening;        // tried once when the condition fails
  uint32_t listed;         // the brackets named in message 48
  bool (*extra)(const Document *);  // a further condition, or null
};

// Tests `rule`, opening the section or its text when the rule says so, and
// reports code 48 under the rule's caption when the call still may not
// proceed. Returns 1 to proceed, 0 when refused.
int32_t EnsureTextPositionSlowly(Document *doc, const SequenceRule &rule);
// The usual case, decided inline: the call may proceed as things stand. (The
// rules are constants, so a further condition is known here and inlined.)
inline bool AllowedNow(const Document *doc, const SequenceRule &rule) {
  return (doc->StateBits & rule.anyOf) && !(doc->StateBits & rule.noneOf) &&
         (!rule.extra || rule.extra(doc));
}
inline int32_t EnsureTextPosition(Document *doc, const SequenceRule &rule) {
  return AllowedNow(doc, rule) ? 1 : EnsureTextPositionSlowly(doc, rule);
}

}  // namespace dox
