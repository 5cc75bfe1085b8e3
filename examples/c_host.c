/* A C host: builds a short letter through dox.h and saves it.
   Usage: c_host [output.rtf]  (default: c_host.rtf) */
#include <stdio.h>

#include "dox.h"

int main(int argc, char **argv) {
  const char *path = argc > 1 ? argv[1] : "c_host.rtf";
  char message[512], caption[128];
  DOXDOC doc = DoxNewDoc();
  if (!doc) return 1;
  DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX); /* record errors, never show a box */

  DoxInitSect(doc);
  DoxBeginHdrFtr(doc, HDRFTR_FOOTER);
  DoxInsertText(doc, "Page ");
  DoxInsertPageField(doc, 1);
  DoxEndHdrFtr(doc);
  DoxBeginSectText(doc);

  DoxTextFont(doc, "Arial", 14, CHAR_BOLD, 1);
  DoxInsertText(doc, "Hello from C\r\n");
  DoxResetTextProp(doc);
  DoxInsertText(doc, "Plain text with a tab\tand an accent: caf\xe9.\r\n");

  /* An out-of-order call is refused and recorded, not shown. */
  if (!DoxEndCellText(doc)) {
    int32_t code = DoxGetLastMessage(message, caption);
    printf("refused as expected: %d %s\n", (int)code, caption);
  }
  if (!DoxSaveFile(doc, path)) {
    DoxGetLastMessage(message, caption);
    fprintf(stderr, "cannot save %s: %s\n", path, message);
    DoxEndDoc(doc);
    return 1;
  }
  DoxEndDoc(doc);
  printf("wrote %s\n", path);
  return 0;
}
