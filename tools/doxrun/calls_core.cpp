// Document-wide calls, raw RTF, sections and text.
#include "registry.h"

namespace {

using doxrun::ConstantDef;
using doxrun::ExportDef;

int64_t LastMessage(doxrun::CallContext &c) {
  char message[512] = {0}, caption[128] = {0};
  int32_t code = DoxGetLastMessage(message, caption);
  if (c.trace) {
    *c.trace << "  message: ";
    for (const char *p = message; *p; ++p) *c.trace << (*p == '\n' ? std::string("\\n") : std::string(1, *p));
    *c.trace << "\n  caption: " << caption << "\n";
  }
  return code;
}

const ExportDef kExports[] = {
    DOXRUN_CALL(DoxSetFlags, "iu", DoxSetFlags(c.doc, a[0].i32(), a[1].u32())),
    DOXRUN_CALL(DoxGetLastMessage, "", LastMessage(c)),
    DOXRUN_CALL(DoxResetLastMessage, "", DoxResetLastMessage()),
    DOXRUN_CALL(DoxInsertRaw, "s", DoxInsertRaw(c.doc, a[0].s())),
    DOXRUN_CALL(DoxBeginGroup, "si", DoxBeginGroup(c.doc, a[0].s(), a[1].i32())),
    DOXRUN_CALL(DoxEndGroup, "", DoxEndGroup(c.doc)),
    DOXRUN_CALL(DoxInsertControl, "sii",
                DoxInsertControl(c.doc, a[0].s(), a[1].i32(), a[2].i32())),
    DOXRUN_CALL(DoxInitSect, "", DoxInitSect(c.doc)),
    DOXRUN_CALL(DoxBeginSectText, "", DoxBeginSectText(c.doc)),
    DOXRUN_CALL(DoxInsertText, "s", DoxInsertText(c.doc, a[0].s())),
    DOXRUN_CALL(DoxInsertUText, "w", DoxInsertUText(c.doc, a[0].u())),
};

const ConstantDef kConstants[] = {
    {"FLAG_NO_MSG_BOX", FLAG_NO_MSG_BOX},
    {"FLAG_ONE_MSG_BOX", FLAG_ONE_MSG_BOX},
    {"FLAG_READER_FRIENDLY", FLAG_READER_FRIENDLY},
};

doxrun::Registrar exports(kExports);
doxrun::Registrar constants(kConstants);

}  // namespace
