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
 *   - Lengths are twips (1/1440 inch); colours are 0x00BBGGRR.
 *   - Memory handles (DOXHMEM) are movable global memory blocks: HGLOBAL on
 *     Windows. The DoxMem* helpers work on them on every platform.
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
#define DOX_ERR_IN_SECT_INIT 32        /* ...not allowed between DoxInitSect() and DoxBeginSectText */
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

/* Creates a document; 0 when memory runs out (reported under "OurAlloc"). */
DOXEXPORT DOXDOC DOXAPI DoxNewDoc(void);
/* Frees the document and everything it owns; always 1. */
DOXEXPORT int32_t DOXAPI DoxEndDoc(DOXDOC doc);
/* Sets (set != 0) or clears the flags of doc, or with doc 0 the default flags of
   documents created later. Returns the resulting flag set. */
DOXEXPORT uint32_t DOXAPI DoxSetFlags(DOXDOC doc, int32_t set, uint32_t flags);

/* ---- Delivery ----------------------------------------------------------- */

/* The whole RTF text, NUL-terminated, in a new memory block the caller owns.
   *sizeOut (if given) receives the text length + 1. 0 on failure. */
DOXEXPORT DOXHMEM DOXAPI DoxGetData(DOXDOC doc, uint32_t *sizeOut);
/* Writes the RTF text to fileName (created or replaced): returns 1, or 0 on
   failure. With a null or empty name it returns a memory block as DoxGetData. */
DOXEXPORT DOXHMEM DOXAPI DoxSaveFile(DOXDOC doc, const char *fileName);

/* ---- Messages and start-up ---------------------------------------------- */

/* Returns the code of the last silently recorded report; copies its message
   (up to 300 characters) to messageOut and its caption (up to 99) to
   captionOut, each when not null. */
DOXEXPORT int32_t DOXAPI DoxGetLastMessage(char *messageOut, char *captionOut);
/* Clears the recorded report; returns 1. */
DOXEXPORT int32_t DOXAPI DoxResetLastMessage(void);
/* Legacy exit procedure; does nothing and returns 1. */
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

/* Called back by the system's font enumeration (logFont: a LOGFONTA,
   textMetric: a TEXTMETRICA, user: the document). Not for direct use. */
DOXEXPORT int32_t DOXAPI DoxEnumFont(const void *logFont, const void *textMetric,
                                     uint32_t fontType, intptr_t user);

/* ---- Handle and string utilities ---------------------------------------- */

/* A new memory block holding size bytes copied from source; 0 on failure. */
DOXEXPORT DOXHMEM DOXAPI DoxStrToHandle(const void *source, int32_t size);
/* Copies one chunk of source into a block of totalSize bytes at offset. The
   first call (offset 0) allocates the block and returns it; pass that handle
   to the later calls. 0 when the chunk is empty or memory runs out. */
DOXEXPORT DOXHMEM DOXAPI DoxStrToHandleInChunks(const void *source, int32_t totalSize,
                                                DOXHMEM handle, int32_t offset,
                                                int32_t chunkSize);
/* Copies size bytes out of the block into target and frees the block. */
DOXEXPORT int32_t DOXAPI DoxHandleToStr(void *target, int32_t size, DOXHMEM handle);
/* Copies one chunk out of the block at offset; frees the block once the chunk
   reaches totalSize. 0 when the chunk is empty. */
DOXEXPORT int32_t DOXAPI DoxHandleToStrInChunks(void *target, int32_t totalSize,
                                                DOXHMEM handle, int32_t offset,
                                                int32_t chunkSize);
/* Interleaves lead bytes (when the ANSI code page is multibyte) and characters
   into target, NUL-terminated; returns the bytes written without the NUL.
   target needs room for 2 * count + 1 bytes. */
DOXEXPORT int32_t DOXAPI DoxMakeMbcs(char *target, const char *chars, const char *leadBytes,
                                     int32_t count);

/* Memory blocks on every platform (GlobalAlloc/Lock/Unlock/Size/Free on
   Windows). DoxMemAlloc makes a zero-filled movable block; DoxMemFree returns
   0 on success, like GlobalFree. */
DOXEXPORT DOXHMEM DOXAPI DoxMemAlloc(uint32_t size);
DOXEXPORT void *DOXAPI DoxMemLock(DOXHMEM handle);
DOXEXPORT int32_t DOXAPI DoxMemUnlock(DOXHMEM handle);
DOXEXPORT uint32_t DOXAPI DoxMemSize(DOXHMEM handle);
DOXEXPORT DOXHMEM DOXAPI DoxMemFree(DOXHMEM handle);

/* ---- Raw RTF ------------------------------------------------------------ */

/* Writes text into the body unchanged, after ending the current line. */
DOXEXPORT int32_t DOXAPI DoxInsertRaw(DOXDOC doc, const char *text);
/* Starts a group on a new line: "{", "\*" when starred, then "\word". */
DOXEXPORT int32_t DOXAPI DoxBeginGroup(DOXDOC doc, const char *word, int32_t starred);
/* Closes a group and ends the line. */
DOXEXPORT int32_t DOXAPI DoxEndGroup(DOXDOC doc);
/* Writes "\word", followed by value when hasValue is non-zero. */
DOXEXPORT int32_t DOXAPI DoxInsertControl(DOXDOC doc, const char *word, int32_t hasValue,
                                          int32_t value);

/* ---- Sections ----------------------------------------------------------- */

/* Starts a section ("\sectd"); section properties may follow. */
DOXEXPORT int32_t DOXAPI DoxInitSect(DOXDOC doc);
/* Begins the text of the section (initialising it first when needed). */
DOXEXPORT int32_t DOXAPI DoxBeginSectText(DOXDOC doc);
/* @section-layout (paper, margins, section info, breaks, headers/footers) */

/* Paper size in twips (values of 0 or less are not written) and orientation:
   document-wide before DoxInitSect, for the section after it. */
DOXEXPORT int32_t DOXAPI DoxPaper(DOXDOC doc, int32_t width, int32_t height, int32_t landscape);
/* Margins and header/footer distances in twips (negative: not written), as DoxPaper. */
DOXEXPORT int32_t DOXAPI DoxMargin(DOXDOC doc, int32_t left, int32_t right, int32_t top,
                                   int32_t bottom, int32_t headerPos, int32_t footerPos);
/* Section properties: columns (more than 1) and their spacing, a new page,
   and the page number to restart with (0 or less: continue numbering). */
DOXEXPORT int32_t DOXAPI DoxSectInfo(DOXDOC doc, int32_t columns, int32_t columnSpace,
                                     int32_t newPage, int32_t firstPage);
/* Writes a break of kind BREAK_*; a section break ends the section. */
DOXEXPORT int32_t DOXAPI DoxInsertBreak(DOXDOC doc, int32_t kind);
/* Opens a header or footer of kind HDRFTR_* for the section. */
DOXEXPORT int32_t DOXAPI DoxBeginHdrFtr(DOXDOC doc, int32_t kind);
/* Closes the open header or footer. */
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

/* Inserts NUL-terminated ANSI text: CR becomes a paragraph mark, LF is dropped,
   TAB a tab, bytes 128-255 hex escapes. */
DOXEXPORT int32_t DOXAPI DoxInsertText(DOXDOC doc, const char *text);
/* Inserts NUL-terminated UTF-16 text, every unit as "\uN ?". */
DOXEXPORT int32_t DOXAPI DoxInsertUText(DOXDOC doc, const uint16_t *text);
/* @section-text (bookmarks, footnotes, fields) */

/* Marks the start (start != 0) or the end of the bookmark name. */
DOXEXPORT int32_t DOXAPI DoxInsertBookmark(DOXDOC doc, const char *name, int32_t start);
/* Inserts a footnote: its mark (null or empty: numbered automatically) and its text. */
DOXEXPORT int32_t DOXAPI DoxInsertFootnote(DOXDOC doc, const char *mark, const char *text);
/* Inserts a page-number field (page != 0) or a page-count field. */
DOXEXPORT int32_t DOXAPI DoxInsertPageField(DOXDOC doc, int32_t page);
/* Inserts a locked MERGEFIELD of name (required) showing result (may be null). */
DOXEXPORT int32_t DOXAPI DoxInsertMergeField(DOXDOC doc, const char *name, const char *result);
/* Inserts a table of contents of the heading levels firstLevel to lastLevel (at most 9). */
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

/* Back to plain text ("\plain"). */
DOXEXPORT int32_t DOXAPI DoxResetTextProp(DOXDOC doc);
/* DoxTextFont2 for any character set. */
DOXEXPORT int32_t DOXAPI DoxTextFont(DOXDOC doc, const char *face, int32_t size, uint32_t style,
                                     int32_t on);
/* Font (null or "" keeps it), size (points > 0, half-points < 0, 0 keeps it)
   and CHAR_* bits switched on (on != 0) or off; charset -1 matches any font of
   that name. Refused while a script style is open. */
DOXEXPORT int32_t DOXAPI DoxTextFont2(DOXDOC doc, const char *face, int32_t size,
                                      uint32_t style, int32_t charset, int32_t on);
/* Applies character style styleId of the style sheet ("\cs"). */
DOXEXPORT int32_t DOXAPI DoxCharStyleId(DOXDOC doc, int32_t styleId);
/* Text colour (foreground != 0, "\cf") or highlight colour ("\highlight"). */
DOXEXPORT int32_t DOXAPI DoxTextColor(DOXDOC doc, uint32_t color, int32_t foreground);
/* Opens a group of superscript (super != 0) or subscript text; no nesting. */
DOXEXPORT int32_t DOXAPI DoxBeginScriptStyle(DOXDOC doc, int32_t super);
/* Closes the script style group. */
DOXEXPORT int32_t DOXAPI DoxEndScriptStyle(DOXDOC doc);
/* Default paragraph properties ("\pard"), staying in the current table cell. */
DOXEXPORT int32_t DOXAPI DoxResetParaProp(DOXDOC doc);
/* Alignment, double spacing, keep and widow flags, borders (PARA_* bits). */
DOXEXPORT int32_t DOXAPI DoxParaFlags(DOXDOC doc, uint32_t flags);
/* Left, right and first-line indents in twips; -1 leaves a value unchanged. */
DOXEXPORT int32_t DOXAPI DoxParaIndent(DOXDOC doc, int32_t left, int32_t right,
                                       int32_t firstLine);
/* Space before, after and line spacing in twips; -1 leaves a value unchanged. */
DOXEXPORT int32_t DOXAPI DoxParaSpace(DOXDOC doc, int32_t before, int32_t after,
                                      int32_t lineSpacing);
/* Shading in percent (capped at 100), or with a negative percent the colour. */
DOXEXPORT int32_t DOXAPI DoxParaShadeColor(DOXDOC doc, int32_t percent, uint32_t color);
/* Applies paragraph style styleId of the style sheet ("\s"). */
DOXEXPORT int32_t DOXAPI DoxParaStyleId(DOXDOC doc, int32_t styleId);
/* Adds a tab stop of a TAB_* kind and leader at position twips. */
DOXEXPORT int32_t DOXAPI DoxParaTabStop(DOXDOC doc, int32_t kind, int32_t position,
                                        int32_t leader);
/* Makes the paragraph bulleted or numbered.
   Bulleted (kind != 0): style 0 round, 1 diamond, 2 square, 3 box, 4 cross,
   5 arrow, 6 check mark (any other: round); level, start and texts unused.
   Numbered (kind 0): style 1 A B C, 2 a b c, 3 I II III, 4 i ii iii, else
   1 2 3; level 0 or 10 a simple list, 1-9 an outline level; start is the first
   number; textBefore/textAfter stand around the number (e.g. null and ".").
   flags BULLET_CONTINUE continues the list without a bullet or number. */
DOXEXPORT int32_t DOXAPI DoxParaBullet(DOXDOC doc, int32_t kind, int32_t style, int32_t level,
                                       int32_t start, const char *textBefore,
                                       const char *textAfter, uint32_t flags);
/* Opens the style sheet; only before the section text begins. */
DOXEXPORT int32_t DOXAPI DoxBeginStyleSheet(DOXDOC doc);
/* Opens a paragraph (paraStyle != 0, "\s") or character style ("\cs") item;
   styleId 0 writes no number; name up to 300 characters. The formatting calls
   that follow define the style. */
DOXEXPORT int32_t DOXAPI DoxBeginStyleItem(DOXDOC doc, int32_t paraStyle, int32_t styleId,
                                           const char *name);
/* Closes the style item, writing its name. */
DOXEXPORT int32_t DOXAPI DoxEndStyleItem(DOXDOC doc);
/* Closes the style sheet. */
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

/* Begins a table row: left edge, height (0 automatic, negative exact), ROW_* flags,
   header (non-zero: repeated on each page) and the gap (half the space between cells;
   60 when 0 or less). Inside cell text it begins a nested row (at most 19 levels). */
DOXEXPORT int32_t DOXAPI DoxBeginTableRow(DOXDOC doc, int32_t left, int32_t height,
                                          uint32_t flags, int32_t header, int32_t gap);
/* DoxBeginTableRow with cell paddings instead of the gap. */
DOXEXPORT int32_t DOXAPI DoxBeginTableRow2(DOXDOC doc, int32_t left, int32_t height,
                                           uint32_t flags, int32_t header, int32_t padLeft,
                                           int32_t padRight, int32_t padTop, int32_t padBottom);
/* Defines the next cell of the row: width, CELL_VALIGN_*, shading (percent), background
   colour (CELL_NO_BGCOLOR for none), border widths (none when 0) and CELL_*MERGE_* bits. */
DOXEXPORT int32_t DOXAPI DoxNextCellInfo(DOXDOC doc, int32_t width, int32_t valign,
                                         int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                         int32_t borderRight, int32_t borderTop,
                                         int32_t borderBottom, uint32_t mergeFlags);
/* DoxNextCellInfo with a colour for the borders (0: the reader's default). */
DOXEXPORT int32_t DOXAPI DoxNextCellInfo2(DOXDOC doc, int32_t width, int32_t valign,
                                          int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                          int32_t borderRight, int32_t borderTop,
                                          int32_t borderBottom, uint32_t borderColor,
                                          uint32_t mergeFlags);
/* DoxNextCellInfo2 with the text flow (CELL_TEXT_BTLR, CELL_TEXT_TBRL). */
DOXEXPORT int32_t DOXAPI DoxNextCellInfo3(DOXDOC doc, int32_t width, int32_t valign,
                                          int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                          int32_t borderRight, int32_t borderTop,
                                          int32_t borderBottom, uint32_t borderColor,
                                          uint32_t mergeFlags, int32_t textFlow);
/* Begins the text of the next defined cell. */
DOXEXPORT int32_t DOXAPI DoxBeginCellText(DOXDOC doc);
/* Ends the text of the cell ("\cell", or "\nestcell" in a nested table). */
DOXEXPORT int32_t DOXAPI DoxEndCellText(DOXDOC doc);
/* Ends the row once every defined cell has its text; after a nested row the
   enclosing cell's text continues. */
DOXEXPORT int32_t DOXAPI DoxEndTableRow(DOXDOC doc);

/* @section-objects (frames, text boxes, drawing objects) */

/* textDirection of DoxBeginTextBox2, in degrees; any other value: normal. */
#define TEXTBOX_TEXT_BTLR 90  /* bottom to top ("\dptxbtlr") */
#define TEXTBOX_TEXT_TBRL 270 /* top to bottom ("\dptxtbrl") */

/* Opens a frame at x, y from the page (relativeToPage != 0) or the paragraph; no nesting. */
DOXEXPORT int32_t DOXAPI DoxBeginFrame(DOXDOC doc, int32_t relativeToPage, int32_t x, int32_t y,
                                       int32_t width, int32_t height);
/* Ends the frame's last paragraph and closes the frame. */
DOXEXPORT int32_t DOXAPI DoxEndFrame(DOXDOC doc);
/* DoxBeginTextBox2 with the normal text direction. */
DOXEXPORT int32_t DOXAPI DoxBeginTextBox(DOXDOC doc, int32_t relativeToPage, int32_t x,
                                         int32_t y, int32_t width, int32_t height, int32_t zOrder,
                                         uint32_t fillColor, uint32_t lineColor,
                                         int32_t lineWidth, int32_t transparent);
/* Opens a text box; no fill when transparent != 0, no line when lineWidth <= 0. */
DOXEXPORT int32_t DOXAPI DoxBeginTextBox2(DOXDOC doc, int32_t relativeToPage, int32_t x,
                                          int32_t y, int32_t width, int32_t height,
                                          int32_t zOrder, uint32_t fillColor, uint32_t lineColor,
                                          int32_t lineWidth, int32_t transparent,
                                          int32_t textDirection);
/* Closes the text box's text and writes its box, line and fill. */
DOXEXPORT int32_t DOXAPI DoxEndTextBox(DOXDOC doc);
/* Draws a rectangle, placed and filled as a text box is. */
DOXEXPORT int32_t DOXAPI DoxDrawRect(DOXDOC doc, int32_t relativeToPage, int32_t x, int32_t y,
                                     int32_t width, int32_t height, int32_t zOrder,
                                     uint32_t fillColor, uint32_t lineColor, int32_t lineWidth,
                                     int32_t transparent);
/* Draws a straight line from x1, y1 to x2, y2. */
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

/* Embeds a bitmap, placeable metafile or enhanced metafile file, or links it (link != 0). */
DOXEXPORT int32_t DOXAPI DoxInsertPictFile(DOXDOC doc, const char *fileName, int32_t width,
                                           int32_t height, int32_t link);
/* Inserts a picture of format (PICT_FORMAT_*) from handle, or from the clipboard (0). */
DOXEXPORT int32_t DOXAPI DoxPastePicture(DOXDOC doc, int32_t format, void *handle,
                                         int32_t width, int32_t height);
/* Host helper: puts data of format on the clipboard, which then owns it. */
DOXEXPORT int32_t DOXAPI DoxClipboardSetData(uint32_t format, void *data);
/* Host helper: empties the clipboard, freeing its data. */
DOXEXPORT int32_t DOXAPI DoxClipboardEmpty(void);
/* Host helper: a metafile from its bits (header and records); 0 on failure. */
DOXEXPORT DOXHMETAFILE DOXAPI DoxMetaFileFromBits(const void *bits, uint32_t size);
/* Host helper: deletes a metafile; 1 on success. */
DOXEXPORT int32_t DOXAPI DoxDeleteMetaFile(DOXHMETAFILE metafile);
/* Host helper: an enhanced metafile from its bytes; 0 on failure. */
DOXEXPORT DOXHENHMETAFILE DOXAPI DoxEnhMetaFileFromBits(const void *bits, uint32_t size);
/* Host helper: deletes an enhanced metafile; 1 on success. */
DOXEXPORT int32_t DOXAPI DoxDeleteEnhMetaFile(DOXHENHMETAFILE enhMetafile);

/* @section-hardening (bad arguments and exhausted memory)
 *
 * Null document: every call that takes a document returns 0 (a null handle
 *   for DoxGetData and DoxSaveFile) and reports nothing; DoxEndDoc returns 1;
 *   DoxSetFlags sets the default flags. A document already ended is not
 *   detected: like any freed pointer it must not be passed again.
 * Null strings are empty ones (texts, names, marks, bullet texts, file names:
 *   a null picture file name cannot be opened, a linked one is linked as
 *   empty), except where a call needs the string: DoxInsertMergeField with no
 *   name and DoxInsertControl with no word (or an empty one) write nothing and
 *   return 0, without a report. DoxSaveFile with a null name delivers into
 *   memory. The buffer utilities (DoxStrToHandle, DoxStrToHandleInChunks,
 *   DoxHandleToStr, DoxHandleToStrInChunks, DoxMakeMbcs) return 0 and do
 *   nothing when the source or target buffer is null.
 * Long strings are written whole, except style names (cut to 300
 *   characters) and face names (the font table keeps 31 characters; a longer
 *   name finds the entry it made). A file name of any length is used whole;
 *   a silent report keeps the first 99 characters of a caption. Control
 *   words, group words, raw text and face names are written as given: a word
 *   that begins with a brace or backslash, or raw text with braces, makes the
 *   caller's own groups.
 * Integers: every value is accepted. Sizes, positions, edges and scales are
 *   computed in 32-bit arithmetic and wrap around where they would overflow
 *   (a line from INT32_MIN to INT32_MAX is -1 wide); MulDiv results that do
 *   not fit are -1.
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
