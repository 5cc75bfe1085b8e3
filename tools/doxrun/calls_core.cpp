// Document-wide calls, raw RTF, sections and text.
#include "registry.h"

namespace {

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
    DOXRUN_EXPORT(DoxSetFlags, DoxSetFlags(c.doc, a[0].i32(), a[1].u32())),
    DOXRUN_PSEUDO(DoxGetLastMessage, "", LastMessage(c)),  // out-parameters go to the trace
    DOXRUN_EXPORT(DoxResetLastMessage, DoxResetLastMessage()),
    DOXRUN_EXPORT(DoxInsertRaw, DoxInsertRaw(c.doc, a[0].s())),
    DOXRUN_EXPORT(DoxBeginGroup, DoxBeginGroup(c.doc, a[0].s(), a[1].i32())),
    DOXRUN_EXPORT(DoxEndGroup, DoxEndGroup(c.doc)),
    DOXRUN_EXPORT(DoxInsertControl,
                DoxInsertControl(c.doc, a[0].s(), a[1].i32(), a[2].i32())),
    DOXRUN_EXPORT(DoxInitSect, DoxInitSect(c.doc)),
    DOXRUN_EXPORT(DoxBeginSectText, DoxBeginSectText(c.doc)),
    DOXRUN_EXPORT(DoxInsertText, DoxInsertText(c.doc, a[0].s())),
    DOXRUN_EXPORT(DoxInsertUText, DoxInsertUText(c.doc, a[0].u())),
};


doxrun::Registrar exports(kExports);

}  // namespace
