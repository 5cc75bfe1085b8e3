// Fields: page number and page count, mail-merge fields and tables of
// contents, each one complete field group with an instruction and a result.
#include <algorithm>
#include <cstdio>

#include "core/document.h"
#include "core/field_instruction.h"
#include "core/sequence_rules.h"
#include "dox.h"

using namespace dox;

namespace {

// "{\field" and its extra word (or null), then "{\fldinst " and the
// instruction text, "}", then "{\fldrslt " and the result text, leaving the
// result group open. The writes of the two texts are not checked.
int32_t OpenField(Document *doc, OutputStream *s, const char *fieldWord,
                  const char *instruction, const char *instructionTail, const char *result) {
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "field")) return 0;
  if (fieldWord && !PutWordNamed(doc, s, fieldWord)) return 0;
  if (!OpenGroup(doc, s) || !PutFieldInstructionWord(doc, s)) return 0;
  PutText(doc, s, instruction);
  PutText(doc, s, instructionTail);
  if (!CloseGroup(doc, s)) return 0;
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "fldrslt")) return 0;
  PutText(doc, s, result);
  return 1;
}

// Closes the result group and the field.
int32_t CloseField(Document *doc, OutputStream *s) {
  return CloseGroup(doc, s) && CloseGroup(doc, s);
}

}  // namespace

extern "C" {

DOXEXPORT int32_t DOXAPI DoxInsertPageField(DOXDOC handle, int32_t page) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::InsertPageField)) return 0;
  OutputStream *s = doc->Stream;
  // Readers show "1" for both kinds until they update the field.
  return OpenField(doc, s, nullptr, page ? "PAGE" : "NUMPAGES", nullptr, "1") &&
         CloseField(doc, s);
}

DOXEXPORT int32_t DOXAPI DoxInsertMergeField(DOXDOC handle, const char *name,
                                             const char *result) {
  Document *doc = FromHandle(handle);
  // A field without a name is not written, and not reported either.
  if (!doc || !name || !*name) return 0;
  if (!EnsureTextPosition(doc, rules::InsertMergeField)) return 0;
  OutputStream *s = doc->Stream;
  // Locked, so readers keep the given result instead of updating it.
  return OpenField(doc, s, "fldlock", "MERGEFIELD ", name, result) && CloseField(doc, s);
}

DOXEXPORT int32_t DOXAPI DoxInsertTocField(DOXDOC handle, int32_t firstLevel,
                                           int32_t lastLevel) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  // Headings go down to level 9; a first level beyond the last is cut to it.
  int32_t last = std::min(lastLevel, 9);
  int32_t first = std::min(std::max(firstLevel, 1), last);
  if (!EnsureTextPosition(doc, rules::InsertTocField)) return 0;
  char instruction[48];
  std::snprintf(instruction, sizeof instruction, "TOC \\o %c%ld-%ld%c ", '"',
                static_cast<long>(first), static_cast<long>(last), '"');
  OutputStream *s = doc->Stream;
  if (!OpenField(doc, s, "fldedit", instruction, nullptr,
                 "Update this field to view Table-of-Content.") ||
      !PutWord(doc, s, "par"))
    return 0;
  doc->AtParaStart = 1;
  return CloseField(doc, s);
}

}  // extern "C"
