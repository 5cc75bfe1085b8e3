// Checks shared by the fuzz targets and the hardening tests.
#pragma once

#include <cstddef>

#include "core/document.h"

namespace doxfuzz {

// RTF groups: outside escapes (a backslash and the character after it) "{"
// opens and "}" closes one. True when the text is one group: it starts with
// "{", never closes more than it opened and only its last character closes
// the first group.
inline bool OneBalancedGroup(const char *text, size_t n) {
  if (n == 0 || text[0] != '{') return false;
  long depth = 0;
  for (size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c == '\\') {
      ++i;  // the escaped character, or the first letter of a control word
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth < 0 || (depth == 0 && i + 1 != n)) return false;
    }
  }
  return depth == 0;
}

// The blocks a document holds: its record, stream, tables, body and the cell
// blocks of open rows. DoxEndDoc must release exactly these.
inline long DocumentBlocks(const dox::Document *doc) {
  long n = 2;  // the record and the stream
  n += doc->Colors != nullptr;
  n += doc->Fonts != nullptr;
  n += doc->Stream->Body != nullptr;
  for (const dox::RowRecord &row : doc->Tables.Rows) n += row.cellDefsHandle != nullptr;
  const dox::ReaderState &r = doc->Reader;  // reader-friendly mode's blocks
  for (const dox::ReaderBuffer *b : {&r.Styles, &r.Words, &r.Lists, &r.ListTables}) n += b->Handle != nullptr;
  return n;
}

}  // namespace doxfuzz
