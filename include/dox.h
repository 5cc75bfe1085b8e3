/*
 * dox.h - build Rich Text Format documents in memory through a plain C interface.
 *
 * Usable from C89 and C++. Every export uses the DOXAPI calling convention
 * (__stdcall on 32-bit Windows, the platform default elsewhere).
 *
 * Conventions
 *   - Building calls take the document handle from DoxNewDoc first and return
 *     non-zero on success, 0 on failure.
 *   - Failures are reported: by default as a message box (outside Windows: the
 *     message sink, see DoxSetMessageSink); with FLAG_NO_MSG_BOX the code and the
 *     caption are recorded for DoxGetLastMessage instead.
 *   - Colours are 0x00BBGGRR.
 *   - Lengths are twips (1/1440 inch) unless a comment says otherwise; font
 *     sizes are points or half-points as DoxTextFont2 says; shading is percent.
 *   - Memory handles (DOXHMEM) are movable global memory blocks: HGLOBAL on
 *     Windows. The DoxMem* helpers work on them on every platform.
 *
 * Each export's comment gives its parameters, its result, the reports it can
 * make (code DOX_ERR_* and caption: the export's name unless another is
 * quoted) and an example. Two kinds of report are named by one word:
 *   order  - the call is out of place: code 48 DOX_ERR_NEEDS_CALL, whose
 *            message lists the calls that would make it valid (the bracket in
 *            parentheses). Text and formatting calls first open the section and
 *            its text themselves; an opening that is refused reports under
 *            "DoxInitSect" or "DoxBeginSectText" as well (codes 31-48).
 *   memory - the document could not grow: 23 DOX_ERR_OUT_OF_MEMORY under
 *            "OurRealloc" (following the library's flags), then under the
 *            routine that needed the room; once the body is lost, the next
 *            calls report 23 under "FlushRtfLine".
 */
#ifndef DOX_H
#define DOX_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define DOXAPI __stdcall
#else
#define DOXAPI
#endif

#if defined(DOX_BUILDING_LIBRARY)
#if defined(_WIN32)
#define DOXEXPORT
#else
#define DOXEXPORT __attribute__((visibility("default")))
#endif
#else
#define DOXEXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The version of this header. DoxVersion returns the version of the library
   actually loaded. The shared library's SONAME carries the major number, which
   changes only when the binary interface breaks. */
#define DOX_VERSION_MAJOR 0
#define DOX_VERSION_MINOR 1
#define DOX_VERSION_PATCH 0
#define DOX_VERSION_STRING "0.1.0"

/* A document: the opaque, pointer-sized handle that DoxNewDoc returns. */
typedef struct DoxDocumentTag *DOXDOC;
/* A movable global memory block (HGLOBAL on Windows). */
typedef void *DOXHMEM;

/* Error-reporting flags (DoxSetFlags). */
#define FLAG_NO_MSG_BOX 1u  /* record errors for DoxGetLastMessage, show nothing */
#define FLAG_ONE_MSG_BOX 2u /* show only the first message box of a document */
/* Reader-friendly RTF (see the README): set before the document's first
   building call, or with doc 0 for documents created later. */
#define FLAG_READER_FRIENDLY 0x100u

/* Report codes: the code a report carries (the message sink's code, the
   result of DoxGetLastMessage), indexing the library's message table. The
   comment gives each code's message text. */
#define DOX_ERR_NONE 0                 /* No User Error */
#define DOX_ERR_INVALID_BITMAP 1       /* Invalid Bitmap File */
#define DOX_ERR_FILE_NOT_FOUND 2       /* File Does Not Exist, Create a New File? */
#define DOX_ERR_CREATE_DIB 3           /* Error Creating Device Independent Bitmap! */
#define DOX_ERR_FILE_LENGTH 4          /* Error getting file length */
#define DOX_ERR_OPEN_FILE 5            /* Could Not Open the File. */
#define DOX_ERR_FILE_READ 6            /* File Read Error */
#define DOX_ERR_FILE_SEEK 7            /* Error in file seek */
#define DOX_ERR_FILE_WRITE 8           /* Error writing to file */
#define DOX_ERR_CREATE_FONT 9          /* Error Creating Font */
#define DOX_ERR_SELECT_FONT 10         /* Unable to select the font. */
#define DOX_ERR_INIT_BITMAP 11         /* Error Initializing the Bitmap */
#define DOX_ERR_BUFFER_LOCK 12         /* Could Not Obtain Buffer Lock. */
#define DOX_ERR_METAFILE_DATA 13       /* Error accessing meta file data */
#define DOX_ERR_INVALID_METAFILE 14    /* Invalid Windows Metafile File */
#define DOX_ERR_COPY_METAFILE 15       /* Error copying metafile */
#define DOX_ERR_METAFILE_DC 16         /* Error creating metafile DC */
#define DOX_ERR_READ_METAFILE 17       /* Can not Read the Metafile */
#define DOX_ERR_RECREATE_METAFILE 18   /* Error recreating meta file */
#define DOX_ERR_PICTURE_FORMAT 19      /* Invalid Picture File Format! */
#define DOX_ERR_OPEN_PICTURE 20        /* Can not Open the picture File */
#define DOX_ERR_READ_PICTURE 21        /* Error reading the picture file */
#define DOX_ERR_LINE_TOO_LONG 22       /* Line Too Long! */
#define DOX_ERR_OUT_OF_MEMORY 23       /* Ran Out of Memory */
#define DOX_ERR_READ_ABORTED 24        /* Read aborted */
#define DOX_ERR_REPLACE_STRING 25      /* Replace This String? */
#define DOX_ERR_SAVE_INCOMPLETE 26     /* Save not complete! */
#define DOX_ERR_UNEXPECTED_EOF 27      /* Unexpected End of File */
#define DOX_ERR_ACCESS_FILE 28         /* Unable to access the file */
#define DOX_ERR_ENH_METAFILE_HEADER 29 /* Error accessing enhanced metafile header. */
#define DOX_ERR_ENH_METAFILE_DATA 30   /* Error retrieving enhanced metafile data. */
/* Call order: NAME_OPEN when the call would open a bracket already open,
   IN_NAME when the call is not allowed while that bracket is open. */
#define DOX_ERR_SECT_INIT_OPEN 31      /* DoxInitSect() already called */
#define DOX_ERR_IN_SECT_INIT 32        /* ...not allowed between DoxInitSect() and ... */
#define DOX_ERR_SECT_TEXT_OPEN 33      /* DoxBeginSectText() already called */
#define DOX_ERR_IN_SECT_TEXT 34        /* ...not allowed after calling DoxBeginSectText() */
#define DOX_ERR_STYLE_ITEM_OPEN 35     /* DoxBeginStyleItem() already called */
#define DOX_ERR_IN_STYLE_ITEM 36       /* ...not allowed after calling DoxBeginStyleItem() */
#define DOX_ERR_STYLE_SHEET_OPEN 37    /* DoxBeginStylesheet() already called */
#define DOX_ERR_IN_STYLE_SHEET 38      /* ...not allowed after calling DoxBeginStylesheet() */
#define DOX_ERR_TABLE_ROW_OPEN 39      /* DoxBeginTableRow() already called */
#define DOX_ERR_IN_TABLE_ROW 40        /* ...not allowed after calling DoxBeginTableRow() */
#define DOX_ERR_FRAME_OPEN 41          /* DoxBeginFrame() already called */
#define DOX_ERR_IN_FRAME 42            /* ...not allowed after calling DoxBeginFrame() */
#define DOX_ERR_TEXT_BOX_OPEN 43       /* DoxBeginTextBox() already called */
#define DOX_ERR_IN_TEXT_BOX 44         /* ...not allowed after calling DoxBeginTextBox() */
#define DOX_ERR_HDR_FTR_OPEN 45        /* DoxBeginHdrFtr() already called */
#define DOX_ERR_IN_HDR_FTR 46          /* ...not allowed between DoxBeginHdrFtr() */
#define DOX_ERR_INVALID_SEQUENCE 47    /* Invalid Function Sequence! */
#define DOX_ERR_NEEDS_CALL 48          /* valid only if one of the following has been called: ... */
#define DOX_ERR_CELL_TEXT_OPEN 49      /* DoxBeginCellText() already called */
#define DOX_ERR_IN_CELL_TEXT 50        /* ...not allowed between DoxBeginCellText() */
#define DOX_ERR_NO_CELL_INFO 51        /* DoxBeginCellText before any DoxNextCellInfo of the row */
#define DOX_ERR_NO_CELL_LEFT 52        /* more DoxBeginCellText than DoxNextCellInfo calls */
#define DOX_ERR_EMPTY_ROW 53           /* Must have at least one cell in a table row. */
#define DOX_ERR_CELL_TEXT_MISSING 54   /* a row ended with cells lacking their DoxBeginCellText */
#define DOX_ERR_CLIPBOARD_IN_USE 55    /* Clipboard in use by another application */
#define DOX_ERR_CLIPBOARD_DATA 56      /* Error retrieving the clipboard data */
#define DOX_ERR_CLIPBOARD_FORMAT 57    /* Clipboard does not contain Specified Formatted Data */
#define DOX_ERR_SCRIPT_STYLE_OPEN 58   /* DoxBeginScriptStyle() already called */
#define DOX_ERR_IN_SCRIPT_STYLE 59     /* ...not allowed between DoxBeginScriptStyle() and ... */

/* ---- Document lifetime and flags ---------------------------------------- */

/* Creates an empty document with the default flags (DoxSetFlags with doc 0).
   Returns: the document handle; 0 when memory runs out.
   Reports: 23 "OurAlloc" (library flags, sink document 0).
   Example: DOXDOC doc = DoxNewDoc(); */
DOXEXPORT DOXDOC DOXAPI DoxNewDoc(void);
/* Frees the document and everything it owns; doc must not be used again. A null doc is ignored.
   Returns: 1 always. Reports: none.
   Example: DoxEndDoc(doc); */
DOXEXPORT int32_t DOXAPI DoxEndDoc(DOXDOC doc);
/* Sets (set != 0) or clears (set 0) the FLAG_* bits flags on doc, or with doc 0
   the default flags of documents created later.
   Returns: the resulting flag set. Reports: none.
   Example: DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX); */
DOXEXPORT uint32_t DOXAPI DoxSetFlags(DOXDOC doc, int32_t set, uint32_t flags);

/* ---- Delivery ----------------------------------------------------------- */

/* The whole RTF text, NUL-terminated, in a new memory block the caller owns
   (free it with DoxMemFree). sizeOut (may be null) receives the text length + 1
   in bytes. The document stays open and can grow further.
   Returns: the block; 0 when memory runs out or the body was lost earlier.
   Reports: 23 "DoxSave" when the block cannot be made.
   Example: DOXHMEM rtf = DoxGetData(doc, &size); */
DOXEXPORT DOXHMEM DOXAPI DoxGetData(DOXDOC doc, uint32_t *sizeOut);
/* Writes the RTF text to fileName (created or replaced). With a null or empty
   name it delivers into memory as DoxGetData (without the size).
   Returns: 1 (a file) or the block (no name); 0 on failure.
   Reports: 5 DOX_ERR_OPEN_FILE "DoxSave" when the file cannot be written; 23 "DoxSave".
   Example: if (!DoxSaveFile(doc, "out.rtf")) puts("not saved"); */
DOXEXPORT DOXHMEM DOXAPI DoxSaveFile(DOXDOC doc, const char *fileName);

/* ---- Messages and start-up ---------------------------------------------- */

/* Reads the last report recorded silently (FLAG_NO_MSG_BOX): copies its message
   text (at most 300 characters + NUL) to messageOut and its caption (at most 99
   + NUL) to captionOut, each when not null.
   Returns: its code (DOX_ERR_*; 0 DOX_ERR_NONE when none). Reports: none.
   Example: char msg[301], cap[100]; int32_t code = DoxGetLastMessage(msg, cap); */
DOXEXPORT int32_t DOXAPI DoxGetLastMessage(char *messageOut, char *captionOut);
/* Clears the recorded report (code 0, message "No User Error", empty caption).
   Returns: 1. Reports: none.
   Example: DoxResetLastMessage(); */
DOXEXPORT int32_t DOXAPI DoxResetLastMessage(void);
/* Legacy exit procedure kept for old hosts; exitCode is ignored.
   Returns: 1. Reports: none.
   Example: WEP(0); */
DOXEXPORT int32_t DOXAPI WEP(int32_t exitCode);

/* A report that would show a message box goes to the sink instead when one is
   installed: the document the report is about (0 when it concerns none: the
   calls without a document, an allocation for a document not yet made), the
   code (DOX_ERR_*), the message text and the caption (null for the reports
   that carry no caption of their own), and the user pointer given here. Outside
   Windows the default sink writes one line to standard error; on Windows it
   is MessageBoxA. Pass a null sink to restore the default. Returns 1. Makes
   no report.
   Example: DoxSetMessageSink(MySink, &myState); */
typedef void(DOXAPI *DoxMessageSink)(DOXDOC doc, int32_t code, const char *text,
                                     const char *caption, void *user);
DOXEXPORT int32_t DOXAPI DoxSetMessageSink(DoxMessageSink sink, void *user);

/* The version of the library loaded, "MAJOR.MINOR.PATCH" (a static string,
   never freed): DOX_VERSION_STRING of the dox.h it was built with. Makes no
   report. A host built against this header can compare the two.
   Example: if (strcmp(DoxVersion(), DOX_VERSION_STRING) != 0) puts("other dox"); */
DOXEXPORT const char *DOXAPI DoxVersion(void);

/* ---- Font enumeration callback ------------------------------------------ */

/* Called back by the system's font enumeration while a font is registered
   (logFont: a LOGFONTA, textMetric: a TEXTMETRICA, fontType: the system's font
   type bits, user: the document). Not for direct use.
   Returns: 0 (ends the enumeration). Reports: none.
   Example: (called by the system only) */
DOXEXPORT int32_t DOXAPI DoxEnumFont(const void *logFont, const void *textMetric,
                                     uint32_t fontType, intptr_t user);

/* ---- Handle and string utilities ---------------------------------------- */

/* A new memory block holding size bytes copied from source.
   Returns: the block (the caller frees it with DoxMemFree); 0 when source is
   null or memory runs out.
   Reports: 23 (no caption; always shown, whatever the flags) when memory runs out.
   Example: DOXHMEM h = DoxStrToHandle("abc", 4); */
DOXEXPORT DOXHMEM DOXAPI DoxStrToHandle(const void *source, int32_t size);
/* Copies chunkSize bytes of source into a block of totalSize bytes at offset
   (bytes). The first call (offset 0) allocates the block and returns it; pass
   that handle to the later calls.
   Returns: the block; 0 when the chunk is empty, source is null or memory runs out.
   Reports: 23 (no caption; always shown, whatever the flags) when memory runs out.
   Example: h = DoxStrToHandleInChunks(part, 1000, 0, 0, 500); */
DOXEXPORT DOXHMEM DOXAPI DoxStrToHandleInChunks(const void *source, int32_t totalSize,
                                                DOXHMEM handle, int32_t offset,
                                                int32_t chunkSize);
/* Copies size bytes out of the block into target, then frees the block.
   Returns: 1; 0 when target is null or the block cannot be locked.
   Reports: 23 (no caption; always shown) when the block cannot be locked.
   Example: DoxHandleToStr(buffer, (int32_t)size, rtf); */
DOXEXPORT int32_t DOXAPI DoxHandleToStr(void *target, int32_t size, DOXHMEM handle);
/* Copies chunkSize bytes out of the block at offset (bytes) into target; frees
   the block once offset + chunkSize reaches totalSize.
   Returns: 1; 0 when the chunk is empty, target is null or the block cannot be
   locked. Reports: 23 (no caption; always shown) when the block cannot be locked.
   Example: DoxHandleToStrInChunks(buffer, total, rtf, 0, 4096); */
DOXEXPORT int32_t DOXAPI DoxHandleToStrInChunks(void *target, int32_t totalSize,
                                                DOXHMEM handle, int32_t offset,
                                                int32_t chunkSize);
/* Interleaves lead bytes (when the ANSI code page is multibyte) and count
   characters into target, NUL-terminated. target needs 2 * count + 1 bytes.
   Returns: the bytes written without the NUL; 0 when a buffer is null. Reports: none.
   Example: n = DoxMakeMbcs(out, chars, leads, 3); */
DOXEXPORT int32_t DOXAPI DoxMakeMbcs(char *target, const char *chars, const char *leadBytes,
                                     int32_t count);

/* A zero-filled movable memory block of size bytes (GlobalAlloc on Windows).
   Returns: the block; 0 on failure. Reports: none.
   Example: DOXHMEM h = DoxMemAlloc(64); */
DOXEXPORT DOXHMEM DOXAPI DoxMemAlloc(uint32_t size);
/* Locks the block and gives its address (GlobalLock).
   Returns: the address; null for an invalid handle. Reports: none.
   Example: char *p = (char *)DoxMemLock(h); */
DOXEXPORT void *DOXAPI DoxMemLock(DOXHMEM handle);
/* Undoes one DoxMemLock (GlobalUnlock).
   Returns: non-zero while the block stays locked, 0 once unlocked. Reports: none.
   Example: DoxMemUnlock(h); */
DOXEXPORT int32_t DOXAPI DoxMemUnlock(DOXHMEM handle);
/* The size of the block in bytes (GlobalSize).
   Returns: the size; 0 for an invalid handle. Reports: none.
   Example: uint32_t n = DoxMemSize(h); */
DOXEXPORT uint32_t DOXAPI DoxMemSize(DOXHMEM handle);
/* Frees the block (GlobalFree).
   Returns: 0 on success; the handle itself on failure. Reports: none.
   Example: DoxMemFree(h); */
DOXEXPORT DOXHMEM DOXAPI DoxMemFree(DOXHMEM handle);
/* Gives back the memory kept for later documents. On Linux and other POSIX
   systems the bodies of large documents and the blocks of large documents
   delivered into memory (1 to 256 MB, at most four, 512 MB in all) are kept
   when the document ends or the host frees the block, so that the next large
   document, on any thread, is built and delivered in memory already in
   place; a host that is done with large documents, or makes them rarely,
   calls this to free them (documents still open and blocks the host holds
   are not touched). Windows keeps none.
   Returns: the bytes freed, at most 512 MB; 0 when none were kept. Reports: none.
   Example: DoxEndDoc(d); DoxTrimMemory(); */
DOXEXPORT int32_t DOXAPI DoxTrimMemory(void);

/* ---- Raw RTF ------------------------------------------------------------ */

/* Writes text into the body unchanged, after ending the current line; checks
   no call order (braces in text make the caller's own groups).
   Returns: 1; 0 on failure. Reports: memory.
   Example: DoxInsertRaw(doc, "{\\field{\\*\\fldinst DATE}}"); */
DOXEXPORT int32_t DOXAPI DoxInsertRaw(DOXDOC doc, const char *text);
/* Starts a group on a new line: "{", then "\*" when starred != 0, then "\word"
   (no word when null or empty).
   Returns: 1; 0 on failure. Reports: memory.
   Example: DoxBeginGroup(doc, "comment", 1); */
DOXEXPORT int32_t DOXAPI DoxBeginGroup(DOXDOC doc, const char *word, int32_t starred);
/* Closes a group with "}" and ends the line.
   Returns: 1; 0 on failure. Reports: memory.
   Example: DoxEndGroup(doc); */
DOXEXPORT int32_t DOXAPI DoxEndGroup(DOXDOC doc);
/* Writes the control word "\word", followed by value when hasValue != 0.
   Returns: 1; 0 when word is null or empty (no report) or on failure.
   Reports: memory.
   Example: DoxInsertControl(doc, "fs", 1, 24);   (a 12-point font: half-points) */
DOXEXPORT int32_t DOXAPI DoxInsertControl(DOXDOC doc, const char *word, int32_t hasValue,
                                          int32_t value);

/* ---- Sections ----------------------------------------------------------- */

/* Starts a section ("\sectd"); DoxSectInfo, DoxPaper, DoxMargin and headers or
   footers may follow before DoxBeginSectText.
   Returns: 1; 0 when refused.
   Reports: 31 DOX_ERR_SECT_INIT_OPEN (twice), 34 (section text begun), 38 (in the
   style sheet); memory.
   Example: DoxInitSect(doc); */
DOXEXPORT int32_t DOXAPI DoxInitSect(DOXDOC doc);
/* Begins the text of the section, initialising the section first when needed.
   Returns: 1; 0 when refused.
   Reports: "DoxInitSect" reports of the automatic DoxInitSect, then 48 listing
   DoxInitSect; 47 DOX_ERR_INVALID_SEQUENCE inside the style sheet; memory.
   Example: DoxBeginSectText(doc); */
DOXEXPORT int32_t DOXAPI DoxBeginSectText(DOXDOC doc);
/* @section-layout (paper, margins, section info, breaks, headers/footers) */

/* Paper width and height in twips (1440 a inch; values of 0 or less are not
   written) and landscape (non-zero: "\landscape"): for the whole document before
   DoxInitSect, for the section between DoxInitSect and DoxBeginSectText.
   Returns: 1; 0 when refused.
   Reports: 34 (section text begun), 38 (in the style sheet), 46 (in a header or
   footer); memory.
   Example: DoxPaper(doc, 11906, 16838, 0);   (A4 portrait) */
DOXEXPORT int32_t DOXAPI DoxPaper(DOXDOC doc, int32_t width, int32_t height, int32_t landscape);
/* Left, right, top and bottom margins and the header and footer distances from
   the page edge, in twips (negative: not written); placed as DoxPaper.
   Returns: 1; 0 when refused. Reports: as DoxPaper.
   Example: DoxMargin(doc, 1440, 1440, 1440, 1440, 720, 720); */
DOXEXPORT int32_t DOXAPI DoxMargin(DOXDOC doc, int32_t left, int32_t right, int32_t top,
                                   int32_t bottom, int32_t headerPos, int32_t footerPos);
/* Section properties: columns (written when more than 1) and the space between
   them in twips, newPage (non-zero: the section starts on a new page) and the
   page number to restart with (0 or less: numbering continues).
   Returns: 1; 0 when refused. Reports: order (section initialised); memory.
   Example: DoxSectInfo(doc, 2, 720, 1, 0); */
DOXEXPORT int32_t DOXAPI DoxSectInfo(DOXDOC doc, int32_t columns, int32_t columnSpace,
                                     int32_t newPage, int32_t firstPage);
/* Writes a break of kind BREAK_*; BREAK_SECTION ends the section (the next text
   opens a new one). Not inside a table row, frame or text box.
   Returns: 1; 0 when refused. Reports: order (section text); memory.
   Example: DoxInsertBreak(doc, BREAK_PAGE); */
DOXEXPORT int32_t DOXAPI DoxInsertBreak(DOXDOC doc, int32_t kind);
/* Opens a header or footer of kind HDRFTR_* for the section; its text follows.
   Only before the section text begins.
   Returns: 1; 0 when refused. Reports: order (section initialised); memory.
   Example: DoxBeginHdrFtr(doc, HDRFTR_FOOTER); */
DOXEXPORT int32_t DOXAPI DoxBeginHdrFtr(DOXDOC doc, int32_t kind);
/* Closes the open header or footer.
   Returns: 1; 0 when refused. Reports: order (header/footer); memory.
   Example: DoxEndHdrFtr(doc); */
DOXEXPORT int32_t DOXAPI DoxEndHdrFtr(DOXDOC doc);

/* Break kinds (DoxInsertBreak). */
#define BREAK_SECTION 0 /* ends the section ("\sect") */
#define BREAK_COLUMN 1  /* "\column" */
#define BREAK_PAGE 2    /* "\page" */

/* Header and footer kinds (DoxBeginHdrFtr). */
#define HDRFTR_HEADER 1       /* header on all pages */
#define HDRFTR_HEADER_FIRST 2 /* header on the first page (adds "\titlepg") */
#define HDRFTR_HEADER_LEFT 3  /* header on left pages (adds "\facingp") */
#define HDRFTR_HEADER_RIGHT 4 /* header on right pages (adds "\facingp") */
#define HDRFTR_FOOTER 5       /* footer on all pages */
#define HDRFTR_FOOTER_FIRST 6 /* footer on the first page (adds "\titlepg") */
#define HDRFTR_FOOTER_LEFT 7  /* footer on left pages (adds "\facingp") */
#define HDRFTR_FOOTER_RIGHT 8 /* footer on right pages (adds "\facingp") */

/* ---- Text --------------------------------------------------------------- */

/* Inserts NUL-terminated ANSI text: CR becomes a paragraph mark ("\par"), LF is
   dropped, TAB a tab, "\", "{", "}" escaped, bytes 128-255 hex escapes.
   Returns: 1; 0 when refused. Reports: order (text); memory.
   Example: DoxInsertText(doc, "Hello, world\r\n"); */
DOXEXPORT int32_t DOXAPI DoxInsertText(DOXDOC doc, const char *text);
/* Inserts NUL-terminated UTF-16 text, every unit as "\uN ?" (control
   characters too: end a paragraph with DoxInsertText(doc, "\r\n")).
   Returns: 1; 0 when refused. Reports: order (text); memory.
   Example: static const uint16_t hi[] = {0x4F60, 0x597D, 0}; DoxInsertUText(doc, hi); */
DOXEXPORT int32_t DOXAPI DoxInsertUText(DOXDOC doc, const uint16_t *text);
/* @section-text (bookmarks, footnotes, fields) */

/* Marks the start (start != 0) or the end (start 0) of the bookmark name.
   Returns: 1; 0 when refused. Reports: order (text); memory.
   Example: DoxInsertBookmark(doc, "intro", 1); */
DOXEXPORT int32_t DOXAPI DoxInsertBookmark(DOXDOC doc, const char *name, int32_t start);
/* Inserts a footnote: its mark (null or empty: numbered automatically) and its
   ANSI text.
   Returns: 1; 0 when refused. Reports: order (text); memory.
   Example: DoxInsertFootnote(doc, NULL, "A note."); */
DOXEXPORT int32_t DOXAPI DoxInsertFootnote(DOXDOC doc, const char *mark, const char *text);
/* Inserts a page-number field (page != 0) or a page-count field (page 0).
   Returns: 1; 0 when refused. Reports: order (text); memory.
   Example: DoxInsertPageField(doc, 1); */
DOXEXPORT int32_t DOXAPI DoxInsertPageField(DOXDOC doc, int32_t page);
/* Inserts a locked MERGEFIELD of name (required) showing result (may be null).
   Returns: 1; 0 when refused or name is null (no report). Reports: order (text); memory.
   Example: DoxInsertMergeField(doc, "CustomerNo", "12345"); */
DOXEXPORT int32_t DOXAPI DoxInsertMergeField(DOXDOC doc, const char *name, const char *result);
/* Inserts a table of contents of the heading levels firstLevel to lastLevel
   (at most 9).
   Returns: 1; 0 when refused. Reports: order (text); memory.
   Example: DoxInsertTocField(doc, 1, 3); */
DOXEXPORT int32_t DOXAPI DoxInsertTocField(DOXDOC doc, int32_t firstLevel, int32_t lastLevel);

/* @section-format (character and paragraph formatting, tabs, bullets, styles) */

/* Character style bits (DoxTextFont, DoxTextFont2). */
#define CHAR_UNDERLINE 0x1u         /* "\ul" */
#define CHAR_BOLD 0x2u              /* "\b" */
#define CHAR_ITALIC 0x4u            /* "\i" */
#define CHAR_STRIKE 0x8u            /* "\strike" */
#define CHAR_SUPERSCRIPT 0x10u      /* "\up6": raised by 6 half-points */
#define CHAR_SUBSCRIPT 0x20u        /* "\dn6": lowered by 6 half-points */
#define CHAR_HIDDEN 0x40u           /* "\v" */
#define CHAR_DBL_UNDERLINE 0x100u   /* "\uldb" */
#define CHAR_PROTECT 0x200u         /* "\protect" */
#define CHAR_KLHLINK 0x4000u        /* "\klhlink": hyperlink text */
#define CHAR_CAPS 0x10000u          /* "\caps" */
#define CHAR_SMALL_CAPS 0x20000u    /* "\scaps" */

/* Paragraph flags (DoxParaFlags). */
#define PARA_CENTER 0x1u            /* centred "\qc" */
#define PARA_RIGHT 0x2u             /* right-aligned "\qr" (wins over the others) */
#define PARA_DOUBLE_SPACE 0x4u      /* double line spacing "\sl480\slmult1" */
#define PARA_BORDER_TOP 0x10u       /* border above */
#define PARA_BORDER_BOTTOM 0x20u    /* border below */
#define PARA_BORDER_LEFT 0x40u      /* border on the left */
#define PARA_BORDER_RIGHT 0x80u     /* border on the right */
#define PARA_BORDER_BOX 0xF0u       /* all four sides: "\box" */
#define PARA_BORDER_DOUBLE 0x100u   /* double border lines (with a side bit) */
#define PARA_BORDER_WIDE 0x200u     /* 30-twip border lines (with a side bit) */
#define PARA_LEFT 0x400u            /* left-aligned "\ql", as with no alignment bit */
#define PARA_JUSTIFY 0x800u         /* justified "\qj" */
#define PARA_KEEP 0x4000u           /* keep the paragraph on one page */
#define PARA_KEEP_NEXT 0x8000u      /* keep with the next paragraph */
#define PARA_WIDOW_CONTROL 0x10000u /* widow and orphan control */

/* Tab stop kinds and leaders (DoxParaTabStop). */
#define TAB_LEFT 0                  /* left-aligned (the default) */
#define TAB_RIGHT 1                 /* right-aligned "\tqr" */
#define TAB_CENTER 2                /* centred "\tqc" */
#define TAB_DECIMAL 3               /* aligned on the decimal point "\tqdec" */
#define TAB_LEADER_NONE 0           /* no leader */
#define TAB_LEADER_DOT 1            /* dots "\tldot" */
#define TAB_LEADER_HYPHEN 2         /* hyphens "\tlhyph" */
#define TAB_LEADER_UNDERLINE 4      /* underline "\tlul" */

/* Bullet flags (DoxParaBullet). */
#define BULLET_CONTINUE 0x1u        /* continues the list without a bullet or number */

/* Back to plain text ("\plain").
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxResetTextProp(doc); */
DOXEXPORT int32_t DOXAPI DoxResetTextProp(DOXDOC doc);
/* DoxTextFont2 with charset -1 (any character set of that face).
   Returns: 1; 0 when refused.
   Reports: as DoxTextFont2, under "DoxTextFont".
   Example: DoxTextFont(doc, "Arial", 12, CHAR_BOLD, 1); */
DOXEXPORT int32_t DOXAPI DoxTextFont(DOXDOC doc, const char *face, int32_t size, uint32_t style,
                                     int32_t on);
/* Font face (null or "" keeps it; registered in the font table on first use),
   size (points when > 0, half-points when < 0, 0 keeps it), the CHAR_* bits of
   style switched on (on != 0) or off, and the character set (-1: any).
   Refused while a script style is open.
   Returns: 1; 0 when refused. Reports: order (formatting, no script style) under
   "DoxTextFont"; memory.
   Example: DoxTextFont2(doc, "Symbol", -21, 0, 2, 1);   (10.5 points, symbol set) */
DOXEXPORT int32_t DOXAPI DoxTextFont2(DOXDOC doc, const char *face, int32_t size,
                                      uint32_t style, int32_t charset, int32_t on);
/* Applies character style styleId of the style sheet ("\cs").
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxCharStyleId(doc, 10); */
DOXEXPORT int32_t DOXAPI DoxCharStyleId(DOXDOC doc, int32_t styleId);
/* Text colour (foreground != 0, "\cf") or highlight colour ("\highlight"), a
   0x00BBGGRR value registered in the colour table.
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxTextColor(doc, 0x000000FF, 1);   (red text) */
DOXEXPORT int32_t DOXAPI DoxTextColor(DOXDOC doc, uint32_t color, int32_t foreground);
/* Opens a group of superscript (super != 0) or subscript text; no nesting.
   Returns: 1; 0 when refused (also when one is open: 48).
   Reports: order (formatting, no script style); memory.
   Example: DoxBeginScriptStyle(doc, 1); */
DOXEXPORT int32_t DOXAPI DoxBeginScriptStyle(DOXDOC doc, int32_t super);
/* Closes the script style group.
   Returns: 1; 0 when refused. Reports: order (script style); memory.
   Example: DoxEndScriptStyle(doc); */
DOXEXPORT int32_t DOXAPI DoxEndScriptStyle(DOXDOC doc);
/* Default paragraph properties ("\pard"), staying in the current table cell.
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxResetParaProp(doc); */
DOXEXPORT int32_t DOXAPI DoxResetParaProp(DOXDOC doc);
/* Alignment, double spacing, keep and widow flags and borders: PARA_* bits.
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxParaFlags(doc, PARA_CENTER | PARA_KEEP_NEXT); */
DOXEXPORT int32_t DOXAPI DoxParaFlags(DOXDOC doc, uint32_t flags);
/* Left, right and first-line indents in twips (first line relative to the left
   indent, may be negative); -1 leaves a value unchanged.
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxParaIndent(doc, 720, -1, -360); */
DOXEXPORT int32_t DOXAPI DoxParaIndent(DOXDOC doc, int32_t left, int32_t right,
                                       int32_t firstLine);
/* Space before and after the paragraph and the line spacing, in twips; -1
   leaves a value unchanged.
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxParaSpace(doc, 0, 120, -1); */
DOXEXPORT int32_t DOXAPI DoxParaSpace(DOXDOC doc, int32_t before, int32_t after,
                                      int32_t lineSpacing);
/* Shading in percent (0-100, capped at 100), or with a negative percent the
   background colour color (0x00BBGGRR) instead.
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxParaShadeColor(doc, 20, 0); */
DOXEXPORT int32_t DOXAPI DoxParaShadeColor(DOXDOC doc, int32_t percent, uint32_t color);
/* Applies paragraph style styleId of the style sheet ("\s").
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxParaStyleId(doc, 1); */
DOXEXPORT int32_t DOXAPI DoxParaStyleId(DOXDOC doc, int32_t styleId);
/* Adds a tab stop of a TAB_* kind and TAB_LEADER_* leader at position (twips).
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxParaTabStop(doc, TAB_RIGHT, 9000, TAB_LEADER_DOT); */
DOXEXPORT int32_t DOXAPI DoxParaTabStop(DOXDOC doc, int32_t kind, int32_t position,
                                        int32_t leader);
/* Makes the paragraph bulleted or numbered.
   Bulleted (kind != 0): style 0 round, 1 diamond, 2 square, 3 box, 4 cross,
   5 arrow, 6 check mark (any other: round); level, start and texts unused.
   Numbered (kind 0): style 1 A B C, 2 a b c, 3 I II III, 4 i ii iii, else
   1 2 3; level 0 or 10 a simple list, 1-9 an outline level; start is the first
   number; textBefore/textAfter stand around the number (e.g. null and ".").
   flags BULLET_CONTINUE continues the list without a bullet or number.
   Returns: 1; 0 when refused. Reports: order (formatting); memory.
   Example: DoxParaBullet(doc, 0, 0, 0, 1, NULL, ".", 0);   (1. 2. 3.) */
DOXEXPORT int32_t DOXAPI DoxParaBullet(DOXDOC doc, int32_t kind, int32_t style, int32_t level,
                                       int32_t start, const char *textBefore,
                                       const char *textAfter, uint32_t flags);
/* Opens the style sheet; only before the section text begins.
   Returns: 1; 0 when refused.
   Reports: 34 (section text begun), 37 DOX_ERR_STYLE_SHEET_OPEN (twice), 46 (in a
   header or footer); memory.
   Example: DoxBeginStyleSheet(doc); */
DOXEXPORT int32_t DOXAPI DoxBeginStyleSheet(DOXDOC doc);
/* Opens a paragraph (paraStyle != 0, "\s") or character style ("\cs") item;
   styleId 0 writes no number; name up to 300 characters. The formatting calls
   that follow define the style.
   Returns: 1; 0 when refused. Reports: order (style sheet, no item); memory.
   Example: DoxBeginStyleItem(doc, 1, 1, "heading 1"); */
DOXEXPORT int32_t DOXAPI DoxBeginStyleItem(DOXDOC doc, int32_t paraStyle, int32_t styleId,
                                           const char *name);
/* Closes the style item, writing its name.
   Returns: 1; 0 when refused. Reports: order (style item); memory.
   Example: DoxEndStyleItem(doc); */
DOXEXPORT int32_t DOXAPI DoxEndStyleItem(DOXDOC doc);
/* Closes the style sheet.
   Returns: 1; 0 when refused. Reports: order (style sheet, no item); memory.
   Example: DoxEndStyleSheet(doc); */
DOXEXPORT int32_t DOXAPI DoxEndStyleSheet(DOXDOC doc);

/* @section-tables */

/* Row alignment (flags of DoxBeginTableRow/DoxBeginTableRow2); left when neither. */
#define ROW_CENTER 1u /* centred row ("\trqc"); wins over ROW_RIGHT */
#define ROW_RIGHT 2u  /* right-aligned row ("\trqr") */

/* Vertical alignment of a cell's text (valign of DoxNextCellInfo*); any other value: top. */
#define CELL_VALIGN_TOP 0    /* "\clvertalt" */
#define CELL_VALIGN_CENTER 1 /* "\clvertalc" */
#define CELL_VALIGN_BOTTOM 2 /* "\clvertalb" */

/* Merge bits (mergeFlags of DoxNextCellInfo*). */
#define CELL_MERGE_FIRST 1u  /* first cell of a horizontally merged range ("\clmgf") */
#define CELL_MERGE_PREV 2u   /* merged with the cell to its left ("\clmrg") */
#define CELL_VMERGE_FIRST 4u /* first cell of a vertically merged range ("\clvmgf") */
#define CELL_VMERGE_PREV 8u  /* merged with the cell above ("\clvmrg") */

/* bgColor of DoxNextCellInfo*: no background colour. */
#define CELL_NO_BGCOLOR 0xFFFFFFu

/* textFlow of DoxNextCellInfo3, in degrees; any other value: normal. */
#define CELL_TEXT_BTLR 90  /* bottom to top ("\cltxbtlr") */
#define CELL_TEXT_TBRL 270 /* top to bottom ("\cltxtbrl") */

/* Begins a table row: left edge in twips, height in twips (0 automatic,
   negative exact), ROW_* flags, header (non-zero: repeated on each page) and
   gap, half the space between cells in twips (60 when 0 or less). Inside cell
   text it begins a nested row (at most 19 levels; a 20th is refused without a
   report). Cells follow with DoxNextCellInfo*.
   Returns: 1; 0 when refused.
   Reports: order (section text, header/footer or frame) under "DoxBeginTableRow"; memory.
   Example: DoxBeginTableRow(doc, 0, 0, ROW_CENTER, 0, 108); */
DOXEXPORT int32_t DOXAPI DoxBeginTableRow(DOXDOC doc, int32_t left, int32_t height,
                                          uint32_t flags, int32_t header, int32_t gap);
/* DoxBeginTableRow with the cell paddings (left, right, top, bottom; twips)
   instead of the gap.
   Returns: 1; 0 when refused. Reports: as DoxBeginTableRow.
   Example: DoxBeginTableRow2(doc, 0, 0, 0, 0, 100, 100, 50, 50); */
DOXEXPORT int32_t DOXAPI DoxBeginTableRow2(DOXDOC doc, int32_t left, int32_t height,
                                           uint32_t flags, int32_t header, int32_t padLeft,
                                           int32_t padRight, int32_t padTop, int32_t padBottom);
/* Defines the next cell of the row, left to right: width in twips,
   CELL_VALIGN_*, shading in percent (none when 0 or less), background colour
   0x00BBGGRR (CELL_NO_BGCOLOR: none), border widths in twips (none when 0 or
   less) and CELL_*MERGE_* bits. Only before the row's first cell text.
   Returns: 1; 0 when refused.
   Reports: order (table row, before any cell text) under "DoxNextCellInfo"; 23
   "OurAlloc" / "OurRealloc" (library flags) when the cell cannot be stored; memory.
   Example: DoxNextCellInfo(doc, 3000, CELL_VALIGN_TOP, 0, CELL_NO_BGCOLOR, 15, 15, 15, 15, 0); */
DOXEXPORT int32_t DOXAPI DoxNextCellInfo(DOXDOC doc, int32_t width, int32_t valign,
                                         int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                         int32_t borderRight, int32_t borderTop,
                                         int32_t borderBottom, uint32_t mergeFlags);
/* DoxNextCellInfo with a colour for the borders (0x00BBGGRR; 0: the reader's
   default).
   Returns: 1; 0 when refused. Reports: as DoxNextCellInfo.
   Example: DoxNextCellInfo2(doc, 3000, 0, 0, CELL_NO_BGCOLOR, 15, 15, 15, 15, 0x00FF0000, 0); */
DOXEXPORT int32_t DOXAPI DoxNextCellInfo2(DOXDOC doc, int32_t width, int32_t valign,
                                          int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                          int32_t borderRight, int32_t borderTop,
                                          int32_t borderBottom, uint32_t borderColor,
                                          uint32_t mergeFlags);
/* DoxNextCellInfo2 with the text flow (CELL_TEXT_BTLR, CELL_TEXT_TBRL; any
   other value: normal).
   Returns: 1; 0 when refused. Reports: as DoxNextCellInfo.
   Example: DoxNextCellInfo3(doc, 800, 0, 0, CELL_NO_BGCOLOR, 0, 0, 0, 0, 0, 0, CELL_TEXT_BTLR); */
DOXEXPORT int32_t DOXAPI DoxNextCellInfo3(DOXDOC doc, int32_t width, int32_t valign,
                                          int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                          int32_t borderRight, int32_t borderTop,
                                          int32_t borderBottom, uint32_t borderColor,
                                          uint32_t mergeFlags, int32_t textFlow);
/* Begins the text of the next defined cell.
   Returns: 1; 0 when refused.
   Reports: order (table row, no cell text open); 51 DOX_ERR_NO_CELL_INFO (no cell
   defined), 52 DOX_ERR_NO_CELL_LEFT (every defined cell has its text); memory.
   Example: DoxBeginCellText(doc); */
DOXEXPORT int32_t DOXAPI DoxBeginCellText(DOXDOC doc);
/* Ends the text of the cell ("\cell", or "\nestcell" in a nested table).
   Returns: 1; 0 when refused. Reports: order (cell text); memory.
   Example: DoxEndCellText(doc); */
DOXEXPORT int32_t DOXAPI DoxEndCellText(DOXDOC doc);
/* Ends the row once every defined cell has its text; after a nested row the
   enclosing cell's text continues.
   Returns: 1; 0 when refused.
   Reports: order (table row, no cell text open); 53 DOX_ERR_EMPTY_ROW (no cell
   text), 54 DOX_ERR_CELL_TEXT_MISSING (cells without text); memory.
   Example: DoxEndTableRow(doc); */
DOXEXPORT int32_t DOXAPI DoxEndTableRow(DOXDOC doc);

/* @section-objects (frames, text boxes, drawing objects) */

/* textDirection of DoxBeginTextBox2, in degrees; any other value: normal. */
#define TEXTBOX_TEXT_BTLR 90  /* bottom to top ("\dptxbtlr") */
#define TEXTBOX_TEXT_TBRL 270 /* top to bottom ("\dptxtbrl") */

/* Opens a frame at x, y (twips) from the page (relativeToPage != 0) or from
   the paragraph, width and height in twips; no nesting, not in a table row or
   text box. Its text follows.
   Returns: 1; 0 when refused. Reports: order (section text or header/footer); memory.
   Example: DoxBeginFrame(doc, 1, 7200, 2000, 2600, 1200); */
DOXEXPORT int32_t DOXAPI DoxBeginFrame(DOXDOC doc, int32_t relativeToPage, int32_t x, int32_t y,
                                       int32_t width, int32_t height);
/* Ends the frame's last paragraph and closes the frame.
   Returns: 1; 0 when refused. Reports: order (frame); memory.
   Example: DoxEndFrame(doc); */
DOXEXPORT int32_t DOXAPI DoxEndFrame(DOXDOC doc);
/* DoxBeginTextBox2 with the normal text direction.
   Returns: 1; 0 when refused. Reports: as DoxBeginTextBox2.
   Example: DoxBeginTextBox(doc, 0, 0, 200, 3000, 800, 1, 0x00F0FFF0, 0x00008000, 20, 0); */
DOXEXPORT int32_t DOXAPI DoxBeginTextBox(DOXDOC doc, int32_t relativeToPage, int32_t x,
                                         int32_t y, int32_t width, int32_t height, int32_t zOrder,
                                         uint32_t fillColor, uint32_t lineColor,
                                         int32_t lineWidth, int32_t transparent);
/* Opens a text box at x, y (twips) from the page (relativeToPage != 0) or from
   the margin and the paragraph, width and height in twips, zOrder (written when
   > 0), fill and line colours (0x00BBGGRR), line width in twips (no line when 0
   or less), transparent (non-zero: no fill) and the text direction
   (TEXTBOX_TEXT_*). Not in a table row or another text box. Its text follows.
   Returns: 1; 0 when refused.
   Reports: order (section text or header/footer) under "DoxBeginTextBox"; memory.
   Example: DoxBeginTextBox2(doc, 0, 0, 200, 3000, 800, 1, 0xF0FFF0, 0, 20, 0, 90); */
DOXEXPORT int32_t DOXAPI DoxBeginTextBox2(DOXDOC doc, int32_t relativeToPage, int32_t x,
                                          int32_t y, int32_t width, int32_t height,
                                          int32_t zOrder, uint32_t fillColor, uint32_t lineColor,
                                          int32_t lineWidth, int32_t transparent,
                                          int32_t textDirection);
/* Closes the text box's text and writes its box, line and fill.
   Returns: 1; 0 when refused. Reports: order (text box); memory.
   Example: DoxEndTextBox(doc); */
DOXEXPORT int32_t DOXAPI DoxEndTextBox(DOXDOC doc);
/* Draws a rectangle, placed, sized (twips), lined and filled as a text box is.
   Returns: 1; 0 when refused. Reports: order (section text or header/footer); memory.
   Example: DoxDrawRect(doc, 1, 1440, 1440, 2880, 1440, 0, 0x00FFFFFF, 0, 15, 1); */
DOXEXPORT int32_t DOXAPI DoxDrawRect(DOXDOC doc, int32_t relativeToPage, int32_t x, int32_t y,
                                     int32_t width, int32_t height, int32_t zOrder,
                                     uint32_t fillColor, uint32_t lineColor, int32_t lineWidth,
                                     int32_t transparent);
/* Draws a straight line from x1, y1 to x2, y2 (twips from the page when
   relativeToPage != 0, else from the margin and the paragraph), zOrder as a
   text box, colour 0x00BBGGRR and width in twips.
   Returns: 1; 0 when refused. Reports: order (section text or header/footer); memory.
   Example: DoxDrawLine(doc, 0, 0, 1200, 8000, 1200, 0, 0x000000FF, 30); */
DOXEXPORT int32_t DOXAPI DoxDrawLine(DOXDOC doc, int32_t relativeToPage, int32_t x1, int32_t y1,
                                     int32_t x2, int32_t y2, int32_t zOrder, uint32_t lineColor,
                                     int32_t lineWidth);

/* @section-pictures */

/* Picture formats of DoxPastePicture: the clipboard format numbers. */
#define PICT_FORMAT_ANY 0           /* the first of 3, 8, 14 found on the clipboard */
#define PICT_FORMAT_METAFILEPICT 3  /* a memory block holding a DoxMetaFilePict */
#define PICT_FORMAT_DIB 8           /* a memory block holding a packed bitmap */
#define PICT_FORMAT_ENHMETAFILE 14  /* an enhanced metafile (DOXHENHMETAFILE) */
/* Mapping modes of a metafile picture. */
#define PICT_MM_TEXT 1        /* extents in pixels */
#define PICT_MM_ANISOTROPIC 8 /* extents in hundredths of a millimetre */

/* A Windows metafile (HMETAFILE) and an enhanced metafile (HENHMETAFILE). */
typedef void *DOXHMETAFILE;
typedef void *DOXHENHMETAFILE;
/* The layout of METAFILEPICT, the content of a format 3 block. */
typedef struct DoxMetaFilePict {
  int32_t mm;       /* mapping mode: PICT_MM_TEXT or PICT_MM_ANISOTROPIC */
  int32_t xExt;     /* width: pixels, or hundredths of a millimetre */
  int32_t yExt;     /* height, in the same unit */
  DOXHMETAFILE hMF; /* the metafile */
} DoxMetaFilePict;

/* Embeds a bitmap (.bmp), placeable metafile or enhanced metafile file, or
   links it (link != 0, any file). width and height in twips (0: the picture's
   own size).
   Returns: 1 (also after an out-of-memory report while reading a bitmap); 0 when
   refused or the file cannot be used.
   Reports: order (formatting); 20 DOX_ERR_OPEN_PICTURE (caption: the file name),
   21, 1 DOX_ERR_INVALID_BITMAP, 14, 17 (no caption); 23 (no caption,
   "KelPictureFromDIB", "hImage", "hInfo"); memory.
   Example: DoxInsertPictFile(doc, "chart.bmp", 2880, 1440, 0); */
DOXEXPORT int32_t DOXAPI DoxInsertPictFile(DOXDOC doc, const char *fileName, int32_t width,
                                           int32_t height, int32_t link);
/* Inserts a picture of format (PICT_FORMAT_*) from handle (a memory block, or
   for PICT_FORMAT_ENHMETAFILE a DOXHENHMETAFILE), or from the clipboard when
   handle is 0. width and height in twips (0: the picture's own size).
   Returns: 1; 0 when refused or the data cannot be used.
   Reports: order (formatting); 55 DOX_ERR_CLIPBOARD_IN_USE, 56 (caption ""); 12
   "Clipboard"; 13, 15 (no caption); 15, 29, 13 "DoxPasteEmf"; 23 "OurAlloc"
   (library flags), "hInfo"; memory.
   Example: DoxPastePicture(doc, PICT_FORMAT_DIB, dibBlock, 0, 0); */
DOXEXPORT int32_t DOXAPI DoxPastePicture(DOXDOC doc, int32_t format, void *handle,
                                         int32_t width, int32_t height);
/* Host helper: puts data (a memory block, or a metafile handle) of clipboard
   format on the clipboard, which then owns it.
   Returns: 1; 0 when data is null or the clipboard cannot be opened or set.
   Reports: none.
   Example: DoxClipboardSetData(PICT_FORMAT_DIB, dibBlock); */
DOXEXPORT int32_t DOXAPI DoxClipboardSetData(uint32_t format, void *data);
/* Host helper: empties the clipboard, freeing its data.
   Returns: 1; 0 on failure. Reports: none.
   Example: DoxClipboardEmpty(); */
DOXEXPORT int32_t DOXAPI DoxClipboardEmpty(void);
/* Host helper: a Windows metafile from its size bytes (header and records).
   Returns: the metafile (free with DoxDeleteMetaFile); 0 on failure. Reports: none.
   Example: DOXHMETAFILE mf = DoxMetaFileFromBits(bytes, n); */
DOXEXPORT DOXHMETAFILE DOXAPI DoxMetaFileFromBits(const void *bits, uint32_t size);
/* Host helper: deletes a metafile.
   Returns: 1 on success; 0 on failure. Reports: none.
   Example: DoxDeleteMetaFile(mf); */
DOXEXPORT int32_t DOXAPI DoxDeleteMetaFile(DOXHMETAFILE metafile);
/* Host helper: an enhanced metafile from its size bytes.
   Returns: the metafile (free with DoxDeleteEnhMetaFile); 0 on failure. Reports: none.
   Example: DOXHENHMETAFILE emf = DoxEnhMetaFileFromBits(bytes, n); */
DOXEXPORT DOXHENHMETAFILE DOXAPI DoxEnhMetaFileFromBits(const void *bits, uint32_t size);
/* Host helper: deletes an enhanced metafile.
   Returns: 1 on success; 0 on failure. Reports: none.
   Example: DoxDeleteEnhMetaFile(emf); */
DOXEXPORT int32_t DOXAPI DoxDeleteEnhMetaFile(DOXHENHMETAFILE enhMetafile);

/* @section-content (PNG and JPEG pictures, pictures from memory, UTF-8 text, hyperlinks) */

/* Codes these calls report (DoxGetLastMessage, the message sink), each with
   the call's name as caption. They also report code 23 (out of memory) and
   code 48 (a call out of sequence) as the other calls do. */
#define DOX_ERR_IMAGE_FILE 60 /* the image file cannot be opened or read */
#define DOX_ERR_BAD_IMAGE 61  /* not a usable PNG, JPEG, bitmap or metafile */
#define DOX_ERR_BAD_UTF8 62   /* malformed UTF-8 text */

/* Inserts a picture from the bytes of a PNG, JPEG, bitmap (.bmp), placeable
   metafile (.wmf) or enhanced metafile (.emf) image, told apart by their first
   bytes.
     bytes, size  the whole image file as it is stored (size in bytes)
     width, height  the displayed size in twips; 0 (or less) takes it from the
                  image: both 0 give the image's own size (PNG pHYs or JPEG
                  JFIF resolution, 96 dpi when it states none; bitmaps and
                  metafiles as DoxInsertPictFile does), one 0 keeps the
                  image's aspect ratio.
   PNG and JPEG become "\pict\pngblip" / "\pict\jpegblip" groups with "\picw"
   and "\pich" in pixels and "\picwgoal" and "\pichgoal" in twips; bitmaps and
   metafiles are written as DoxInsertPictFile writes them.
   Returns 1, or 0 when nothing was written: DOX_ERR_BAD_IMAGE for an unknown
   signature, a cut image, a PNG without IHDR first, a JPEG without a frame
   header, a side of 0 or over 65,535 pixels, an unusable bitmap or metafile
   header (and null bytes); code 23 when memory runs out.
   Example: DoxInsertImageData(doc, png, pngSize, 2880, 0);  (2 inches wide) */
DOXEXPORT int32_t DOXAPI DoxInsertImageData(DOXDOC doc, const void *bytes, uint32_t size,
                                            int32_t width, int32_t height);
/* DoxInsertImageData with the bytes of the file fileName. Reports
   DOX_ERR_IMAGE_FILE when the file cannot be opened or read, code 23 for a
   file of 2 GB or more.
   Example: DoxInsertImageFile(doc, "logo.png", 0, 0);  (at its own size) */
DOXEXPORT int32_t DOXAPI DoxInsertImageFile(DOXDOC doc, const char *fileName, int32_t width,
                                            int32_t height);
/* Inserts NUL-terminated UTF-8 text: characters below 128 as DoxInsertText
   writes them (TAB "\tab", braces and backslashes escaped), CR LF, CR or LF a
   paragraph end ("\par"), every other character "\uN ?" as DoxInsertUText
   does (above U+FFFF: the two units of its surrogate pair). A null text is
   empty. Returns 1, or 0 with DOX_ERR_BAD_UTF8 and nothing written for
   malformed text: a byte that starts no sequence, a cut sequence, an overlong
   form, a surrogate or a value over U+10FFFF.
   Example: DoxInsertUtf8Text(doc, "Gr\xC3\xBC\xC3\x9F Gott\r\n"); */
DOXEXPORT int32_t DOXAPI DoxInsertUtf8Text(DOXDOC doc, const char *text);
/* Inserts a hyperlink: a HYPERLINK field to the URL target, or with
   toBookmark != 0 to the bookmark target of this document ("\l"), showing
   text (null or empty: the target) in the current character formatting.
   Both strings are UTF-8 written as DoxInsertUtf8Text writes text; quotes and
   backslashes in the target are escaped for the field instruction and its
   control characters (below 32) left out. An empty or null target writes
   nothing and returns 0 without a report. Returns 1, or 0 with
   DOX_ERR_BAD_UTF8 and nothing written for malformed UTF-8.
   Example: DoxInsertHyperlink(doc, "https://example.com/", "Example", 0); */
DOXEXPORT int32_t DOXAPI DoxInsertHyperlink(DOXDOC doc, const char *target, const char *text,
                                            int32_t toBookmark);

/* @section-hardening (bad arguments and exhausted memory)
 *
 * Null document: every call that takes a document returns 0 (a null handle
 *   for DoxGetData and DoxSaveFile) and reports nothing; DoxEndDoc returns 1;
 *   DoxSetFlags sets the default flags.
 * Bad document: a handle that DoxNewDoc did not return, or one already ended,
 *   is refused without being followed: every call returns 0 (a null handle
 *   for DoxGetData and DoxSaveFile) and reports nothing, DoxEndDoc and
 *   DoxSetFlags included. Document handles fit in 32 bits.
 * Bad memory handle: outside Windows a memory block, metafile or enhanced
 *   metafile handle the library did not make, or one already freed or
 *   deleted, is refused (DoxMemLock and the pastes fail as for a block that
 *   cannot be locked, DoxMemFree returns the handle, the clipboard does not
 *   take it); on Windows the system checks them.
 * Null strings are empty ones (texts, names, marks, bullet texts, file names:
 *   a null picture file name cannot be opened, a linked one is linked as
 *   empty), except where a call needs the string: DoxInsertMergeField with no
 *   name and DoxInsertControl with no word write nothing and return 0,
 *   without a report. An empty word is written as any word: the backslash
 *   (and the value), which then escapes the character after it. DoxSaveFile
 *   with a null name delivers into memory. The buffer utilities
 *   (DoxStrToHandle, DoxStrToHandleInChunks, DoxHandleToStr,
 *   DoxHandleToStrInChunks, DoxMakeMbcs) return 0 and do nothing when the
 *   source or target buffer is null, except DoxMakeMbcs with a count of 0 or
 *   less, which never reads chars. DoxStrToHandle with a negative size asks
 *   for that many bytes as an unsigned count (4 GiB - 1 for -1): the
 *   out-of-memory box and 0, on every platform without trying.
 * Bitmap files: a pixel offset before the end of the 14-byte file header or
 *   beyond the end of the file reports code 23 under "KelPictureFromDIB" and
 *   returns 1. An information header is read from its 40 bytes whatever its
 *   size field says (other than 12, the core form). Refused with code 1 and
 *   0, since reading them would go past the bytes before the pixels: fewer
 *   than 40 header bytes (other than the core form), a core header without
 *   all its 12 bytes or without its whole colour table.
 * Long strings are written whole, except style names (cut to 300
 *   characters) and face names (the font table keeps 31 characters; a longer
 *   name finds the entry it made). A file name of any length is used whole;
 *   a silent report keeps the first 99 characters of a caption. Control
 *   words, group words, raw text and face names are written as given: a word
 *   that begins with a brace or backslash, or raw text with braces, makes the
 *   caller's own groups.
 * Reading strings: text (DoxInsertText) and face names are read in blocks
 *   of 16 or (text, on processors with AVX2) 32 bytes, as optimised string
 *   functions read them, and text up to 128 bytes at once: up to 127 bytes
 *   past the NUL may be read, never in a memory page the string does not
 *   reach, and never used. A memory checker that follows single bytes may
 *   report these reads.
 * Integers: every value is accepted. Sizes, positions, edges and scales are
 *   computed in 32-bit arithmetic and wrap around where they would overflow
 *   (a line from INT32_MIN to INT32_MAX is -1 wide); MulDiv results that do
 *   not fit are -1.
 * C++ exceptions never leave a call, whatever operator new the host
 *   installed: the library allocates through the C heap only.
 * Threads: documents are independent; the last-message record and the
 *   library flags are shared, the last report wins, and a reader always sees
 *   one whole code and caption.
 * Memory: when the body, the font table or the colour table cannot grow, it
 *   is lost (code 23, see the calls): later calls stay safe, a line that
 *   cannot be stored any more is reported again under "FlushRtfLine",
 *   DoxGetData and DoxSaveFile return 0 without a report, and DoxEndDoc
 *   releases everything, the cell blocks of rows still open included.
 */

#ifdef __cplusplus
}
#endif

#endif /* DOX_H */
