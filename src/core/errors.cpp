#include "core/errors.h"

#include <cstring>

#include "core/document.h"
#include "core/library_state.h"
#include "dox.h"
#include "platform/platform.h"

namespace dox {
namespace {

void Record(int32_t code, const char *caption) {
  LibraryState &lib = Lib();
  lib.LastErrorCode = code;
  if (!caption) caption = "";
  std::strncpy(lib.LastMessage, caption, kLastMessageSize - 1);
  lib.LastMessage[kLastMessageSize - 1] = '\0';
}

// about: the document the report concerns (the sink receives it), doc: the
// document whose one-box policy applies (null: the library's).
int32_t Report(Document *doc, uint32_t flags, int32_t code, const char *caption,
               Document *about) {
  if (flags & FLAG_NO_MSG_BOX) {
    Record(code, caption);
    return 0;
  }
  plat::ShowMessage(ToHandle(about), code, MessageText(code), caption ? caption : "Error");
  if (doc) doc->StateBits |= STATE_BOX_SHOWN;
  return 0;
}

}  // namespace

int32_t ReportError(Document *doc, int32_t code, const char *caption) {
  if (!doc) return Report(nullptr, Lib().LibraryFlags, code, caption, nullptr);
  if (!(doc->DocFlags & FLAG_NO_MSG_BOX) && (doc->StateBits & STATE_BOX_SHOWN) &&
      (doc->DocFlags & FLAG_ONE_MSG_BOX))
    return 0;
  return Report(doc, doc->DocFlags, code, caption, doc);
}

int32_t ReportLibraryError(int32_t code, const char *caption, Document *about) {
  return Report(nullptr, Lib().LibraryFlags, code, caption, about);
}

}  // namespace dox
