// Table rows, cell definitions and cell text.
#include "registry.h"

namespace {

using doxrun::ExportDef;

const ExportDef kExports[] = {
    DOXRUN_EXPORT(DoxBeginTableRow,
                DoxBeginTableRow(c.doc, a[0].i32(), a[1].i32(), a[2].u32(), a[3].i32(),
                                 a[4].i32())),
    DOXRUN_EXPORT(DoxBeginTableRow2,
                DoxBeginTableRow2(c.doc, a[0].i32(), a[1].i32(), a[2].u32(), a[3].i32(),
                                  a[4].i32(), a[5].i32(), a[6].i32(), a[7].i32())),
    DOXRUN_EXPORT(DoxNextCellInfo,
                DoxNextCellInfo(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].u32(),
                                a[4].i32(), a[5].i32(), a[6].i32(), a[7].i32(), a[8].u32())),
    DOXRUN_EXPORT(DoxNextCellInfo2,
                DoxNextCellInfo2(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].u32(),
                                 a[4].i32(), a[5].i32(), a[6].i32(), a[7].i32(), a[8].u32(),
                                 a[9].u32())),
    DOXRUN_EXPORT(DoxNextCellInfo3,
                DoxNextCellInfo3(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].u32(),
                                 a[4].i32(), a[5].i32(), a[6].i32(), a[7].i32(), a[8].u32(),
                                 a[9].u32(), a[10].i32())),
    DOXRUN_EXPORT(DoxBeginCellText, DoxBeginCellText(c.doc)),
    DOXRUN_EXPORT(DoxEndCellText, DoxEndCellText(c.doc)),
    DOXRUN_EXPORT(DoxEndTableRow, DoxEndTableRow(c.doc)),
};


doxrun::Registrar exports(kExports);

}  // namespace
