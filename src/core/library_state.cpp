#include "core/library_state.h"

#include <cstring>

#include "dox.h"
#include "platform/platform.h"

namespace dox {

LibraryState g_lib;

namespace {

plat::SpinLock g_reportLock;

constexpr const char *kMessages[] = {
    "No User Error",
    "Invalid Bitmap File",
    "File Does Not Exist, Create a New File?",
    "Error Creating Device Independent Bitmap!",
    "Error getting file length",
    "Could Not Open the File.",
    "File Read Error",
    "Error in file seek",
    "Error writing to file",
    "Error Creating Font",
    "Unable to select the font.",
    "Error Initializing the Bitmap",
    "Could Not Obtain Buffer Lock.",
    "Error accessing meta file data",
    "Invalid Windows Metafile File",
    "Error copying metafile",
    "Error creating metafile DC",
    "Can not Read the Metafile",
    "Error recreating meta file",
    "Invalid Picture File Format!",
    "Can not Open the picture File",
    "Error reading the picture file",
    "Line Too Long!",
    "Ran Out of Memory",
    "Read aborted",
    "Replace This String?",
    "Save not complete!",
    "Unexpected End of File",
    "Unable to access the file",
    "Error accessing enhanced metafile header.",
    "Error retrieving enhanced metafile data.",
    "DoxInitSect() already called",
    "This function not allowed between DoxInitSect() and DoxBeginSectText()",
    "DoxBeginSectText() already called",
    "This function not allowed after calling DoxBeginSectText()",
    "DoxBeginStyleItem() already called",
    "This function not allowed after calling DoxBeginStyleItem()",
    "DoxBeginStylesheet() already called",
    "This function not allowed after calling DoxBeginStylesheet()",
    "DoxBeginTableRow() already called",
    "This function not allowed after calling DoxBeginTableRow()",
    "DoxBeginFrame() already called",
    "This function not allowed after calling DoxBeginFrame()",
    "DoxBeginTextBox() already called",
    "This function not allowed after calling DoxBeginTextBox()",
    "DoxBeginHdrFtr() already called",
    "This function not allowed between DoxBeginHdrFtr()",
    "Invalid Function Sequence!",
    "Temporary message",
    "DoxBeginCellText() already called",
    "This function not allowed between DoxBeginCellText()",
    ("Must call DoxNextCellInfo for all cell in the row before calling a DoxBeginCellText "
     "function."),
    "The DoxNextCellInfo function not called for this DoxBeginCellText function.",
    "Must have at least one cell in a table row.",
    "Must call the DoxBeginCellText function as many times as the DoxNextCellInfo function.",
    "Clipboard in use by another application",
    "Error retrieving the clipboard data",
    "Clipboard does not contain Specified Formatted Data",
    "DoxBeginScriptStyle() already called",
    "This function not allowed between DoxBeginScriptStyle() and DoxEndScriptStyle",
};
static_assert(sizeof kMessages / sizeof kMessages[0] == 60);

// The messages of the codes added since, from 60 on (DOX_ERR_* in dox.h).
struct AddedMessage {
  int32_t code;
  const char *text;
};
constexpr AddedMessage kAddedMessages[] = {
    {DOX_ERR_IMAGE_FILE, "Can not open or read the image file"},
    {DOX_ERR_BAD_IMAGE, "Invalid or unsupported image"},
    {DOX_ERR_BAD_UTF8, "Malformed UTF-8 text"},
};

// Attach when the library is loaded, also where no DllMain runs (the static
// library, systems other than Windows).
__attribute__((constructor)) void AttachOnLoad() { LibraryEntry(1); }

}  // namespace

plat::SpinLock &ReportLock() { return g_reportLock; }

uint32_t SetLibraryFlags(int32_t set, uint32_t flags) {
  plat::SpinGuard guard(g_reportLock);
  uint32_t now = g_lib.Flags.load(std::memory_order_relaxed);
  now = set ? now | flags : now & ~flags;
  g_lib.Flags.store(now, std::memory_order_relaxed);
  return now;
}

int32_t LibraryEntry(uint32_t reason) {
  // Written only when it changes: threads attaching read it meanwhile.
  if (g_lib.EnhMetaAvailable != 1) g_lib.EnhMetaAvailable = 1;
  if (reason != 1) return 1;
  g_lib.MbcsCodePage = plat::AnsiMaxCharSize() > 1 ? 1 : 0;
  g_lib.WideBlocks = plat::CpuHasAvx2();
  for (auto &m : g_lib.MessageTable) m = nullptr;
  g_lib.LastErrorCode = 0;
  g_lib.LastMessage[0] = '\0';
  for (int i = 0; i < 60; ++i) g_lib.MessageTable[i] = kMessages[i];
  for (const auto &m : kAddedMessages) g_lib.MessageTable[m.code] = m.text;
  g_lib.Flags.store(0, std::memory_order_relaxed);
  g_lib.EnhMetaClipFormat = 14;
  return 1;
}

const char *MessageText(int32_t code) {
  if (code < 0 || code >= kMessageTableSize || !g_lib.MessageTable[code]) return "";
  return g_lib.MessageTable[code];
}

}  // namespace dox

using dox::Lib;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxGetLastMessage(char *messageOut, char *captionOut) {
  dox::plat::SpinGuard guard(dox::ReportLock());
  if (messageOut) std::strcpy(messageOut, dox::MessageText(Lib().LastErrorCode));
  if (captionOut) std::strcpy(captionOut, Lib().LastMessage);
  return Lib().LastErrorCode;
}

DOXEXPORT int32_t DOXAPI DoxResetLastMessage(void) {
  dox::plat::SpinGuard guard(dox::ReportLock());
  Lib().LastErrorCode = 0;
  Lib().LastMessage[0] = '\0';
  return 1;
}

DOXEXPORT int32_t DOXAPI WEP(int32_t) { return 1; }

DOXEXPORT int32_t DOXAPI DoxSetMessageSink(DoxMessageSink sink, void *user) {
  dox::plat::SetMessageSink(sink, user);
  return 1;
}

}  // extern "C"
