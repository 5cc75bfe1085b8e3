// Frames, text boxes, rectangles and lines.
#include "registry.h"

namespace {

using doxrun::ExportDef;

const ExportDef kExports[] = {
    DOXRUN_EXPORT(DoxBeginFrame,
                DoxBeginFrame(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].i32(), a[4].i32())),
    DOXRUN_EXPORT(DoxEndFrame, DoxEndFrame(c.doc)),
    DOXRUN_EXPORT(DoxBeginTextBox,
                DoxBeginTextBox(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].i32(), a[4].i32(),
                                a[5].i32(), a[6].u32(), a[7].u32(), a[8].i32(), a[9].i32())),
    DOXRUN_EXPORT(
        DoxBeginTextBox2,
        DoxBeginTextBox2(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].i32(), a[4].i32(),
                         a[5].i32(), a[6].u32(), a[7].u32(), a[8].i32(), a[9].i32(), a[10].i32())),
    DOXRUN_EXPORT(DoxEndTextBox, DoxEndTextBox(c.doc)),
    DOXRUN_EXPORT(DoxDrawRect,
                DoxDrawRect(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].i32(), a[4].i32(),
                            a[5].i32(), a[6].u32(), a[7].u32(), a[8].i32(), a[9].i32())),
    DOXRUN_EXPORT(DoxDrawLine,
                DoxDrawLine(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].i32(), a[4].i32(),
                            a[5].i32(), a[6].u32(), a[7].i32())),
};


doxrun::Registrar exports(kExports);

}  // namespace
