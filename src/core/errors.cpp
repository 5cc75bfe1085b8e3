#include "core/errors.h"

#include <cstring>

#include "core/document.h"
#include "core/library_state.h"
#include "dox.h"
#include "platform/platform.h"

namespace dox {
namespace {

// Sets the text of code 48. Under the report lock.
void SetComposed(const char *text) {
  LibraryState &lib = Lib();
  std::strncpy(lib.ComposedMessage, text, kComposedMessageSize - 1);
  lib.ComposedMessage[kComposedMessageSize - 1] = '\0';
  lib.MessageTable[DOX_ERR_NEEDS_CALL] = lib.ComposedMessage;
}

// Records a report; `composed`, when not null, becomes the text of code 48
// at the same time, so that a reader sees the code, caption and text of one
// report.
void Record(int32_t code, const char *caption, const char *composed) {
  LibraryState &lib = Lib();
  plat::SpinGuard guard(ReportLock());
  if (composed) SetComposed(composed);
  lib.LastErrorCode = code;
  if (!caption) caption = "";
  std::strncpy(lib.LastMessage, caption, kLastMessageSize - 1);
  lib.LastMessage[kLastMessageSize - 1] = '\0';
}

// `text` is the message's text, or null for the table's text of `code`;
// `about` the document the report concerns (the sink receives it), `doc` the
// document whose one-box policy applies (null: the library's).
int32_t Report(Document *doc, uint32_t flags, int32_t code, const char *caption,
               const char *text, Document *about) {
  if (flags & FLAG_NO_MSG_BOX) {
    Record(code, caption, text);
    return 0;
  }
  if (text) SetComposedMessage(text);
  plat::ShowMessage(about ? ToHandle(about) : nullptr, code, text ? text : MessageText(code),
                    caption ? caption : "Error");
  if (doc) doc->StateBits |= STATE_BOX_SHOWN;
  return 0;
}

int32_t ReportWithText(Document *doc, int32_t code, const char *caption, const char *text) {
  if (!doc) return Report(nullptr, LibraryFlags(), code, caption, text, nullptr);
  if (!(doc->DocFlags & FLAG_NO_MSG_BOX) && (doc->StateBits & STATE_BOX_SHOWN) &&
      (doc->DocFlags & FLAG_ONE_MSG_BOX)) {
    if (text) SetComposedMessage(text);  // dropped, but the text is code 48's
    return 0;
  }
  return Report(doc, doc->DocFlags, code, caption, text, doc);
}

}  // namespace

int32_t ReportError(Document *doc, int32_t code, const char *caption) {
  return ReportWithText(doc, code, caption, nullptr);
}

int32_t ReportComposedError(Document *doc, const char *text, const char *caption) {
  return ReportWithText(doc, DOX_ERR_NEEDS_CALL, caption, text);
}

int32_t ReportLibraryError(int32_t code, const char *caption, Document *about) {
  return Report(nullptr, LibraryFlags(), code, caption, nullptr, about);
}

void SetComposedMessage(const char *text) {
  plat::SpinGuard guard(ReportLock());
  SetComposed(text);
}

}  // namespace dox
