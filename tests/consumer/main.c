#include <stdio.h>
#include <string.h>

#include "dox.h"

/* A document through the installed library, and the library's version
   against the installed header's. */
int main(void) {
  uint32_t size = 0;
  DOXHMEM block;
  int ok;
  DOXDOC doc = DoxNewDoc();
  DoxInsertText(doc, "consumer\r\n");
  block = DoxGetData(doc, &size);
  ok = block && strstr((const char *)DoxMemLock(block), "\\sectd consumer\\par") != NULL;
  DoxMemUnlock(block);
  DoxMemFree(block);
  DoxEndDoc(doc);
  if (strcmp(DoxVersion(), DOX_VERSION_STRING) != 0) {
    printf("library %s, header %s\n", DoxVersion(), DOX_VERSION_STRING);
    ok = 0;
  }
  puts(ok ? "consumer ok" : "consumer FAILED");
  return ok ? 0 : 1;
}
