// Paper, margins, section properties, breaks, headers and footers.
#include "registry.h"

namespace {

using doxrun::ExportDef;

const ExportDef kExports[] = {
    DOXRUN_EXPORT(DoxPaper, DoxPaper(c.doc, a[0].i32(), a[1].i32(), a[2].i32())),
    DOXRUN_EXPORT(DoxMargin,
                DoxMargin(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].i32(), a[4].i32(),
                          a[5].i32())),
    DOXRUN_EXPORT(DoxSectInfo,
                DoxSectInfo(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].i32())),
    DOXRUN_EXPORT(DoxInsertBreak, DoxInsertBreak(c.doc, a[0].i32())),
    DOXRUN_EXPORT(DoxBeginHdrFtr, DoxBeginHdrFtr(c.doc, a[0].i32())),
    DOXRUN_EXPORT(DoxEndHdrFtr, DoxEndHdrFtr(c.doc)),
};


doxrun::Registrar exports(kExports);

}  // namespace
