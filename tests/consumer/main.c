#include <stdio.h>
#include <string.h>

#include "dox.h"

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
  puts(ok ? "consumer ok" : "consumer FAILED");
  return ok ? 0 : 1;
}
