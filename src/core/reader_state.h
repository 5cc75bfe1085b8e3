// What reader-friendly mode remembers while a document is built: page
// defaults to repeat after each "\sectd", the current paragraph shading,
// the style items' words, the lists and the text of an open text box. Part
// of the zero-filled document record; the growable blocks are allocated on
// first use and released with the document.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace dox {

struct Document;

// A growable byte block (through the platform layer).
struct ReaderBuffer {
  plat::MemHandle Handle;
  char *Data;
  int32_t Length;
  int32_t Capacity;
};

struct ReaderState {
  int32_t HeaderY, FooterY;        // document-wide distances, valid when Has... is set
  int32_t HasHeaderY, HasFooterY;
  int32_t SectionsEnded;           // "\sect" words written so far
  int32_t ShadePercent;            // the paragraph's shading; 0 none
  uint32_t ShadeColor;             // the paragraph's background colour
  int32_t HasShadeColor;
  int32_t ParaStyle;               // index + 1 of the paragraph's style record; 0 none
  int32_t ItemStart;               // stream position after a style item's number
  int32_t ItemIsPara, ItemId;
  int32_t TextBoxStart;            // stream position where a text box's text begins
  int32_t TextBoxPage, TextBoxZ, TextBoxDirection;  // the open text box's opening
  ReaderBuffer Styles;             // ReaderStyle records
  ReaderBuffer Words;              // the style records' words and the lists' texts
  ReaderBuffer Lists;              // list records (format/lists_modern.cpp)
  int32_t NumberList;              // index + 1 of the list numbering continues in; 0 none
  ReaderBuffer ListTables;         // "\listtable" and "\listoverridetable", ready to deliver
};

// Appends n bytes; false (reported) when the block cannot grow.
bool BufferAppend(Document *doc, ReaderBuffer &b, const void *data, int32_t n);
// Frees every block of the reader state.
void ReleaseReaderState(Document *doc);

// The number of bytes written to the stream so far.
int32_t StreamPosition(const Document *doc);
// Appends to `out` what the stream holds from `from` on, line ends included.
bool CopyStreamSince(Document *doc, int32_t from, ReaderBuffer &out);
// Starts a new line and copies bytes into the body as they are, ending them
// with a line end (which also ends a control word they may end with).
int32_t PutRawBytes(Document *doc, const char *data, int32_t n);
// True while the document holds only what DoxNewDoc wrote.
bool DocumentUntouched(const Document *doc);
// DoxSetFlags on a document: the flags to apply. Switching FLAG_READER_FRIENDLY
// on or off once the document is no longer untouched is refused (code 47
// under "DoxSetFlags") and the bit is dropped from `flags`.
uint32_t AdmitReaderFlag(Document *doc, int32_t set, uint32_t flags);

}  // namespace dox
