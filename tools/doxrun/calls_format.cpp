// Character and paragraph formatting, script styles, tab stops, bullets and
// the style sheet, with their flag constants.
#include "registry.h"

namespace {

using doxrun::ExportDef;

const ExportDef kExports[] = {
    DOXRUN_EXPORT(DoxResetTextProp, DoxResetTextProp(c.doc)),
    DOXRUN_EXPORT(DoxTextFont,
                DoxTextFont(c.doc, a[0].s(), a[1].i32(), a[2].u32(), a[3].i32())),
    DOXRUN_EXPORT(DoxTextFont2,
                DoxTextFont2(c.doc, a[0].s(), a[1].i32(), a[2].u32(), a[3].i32(), a[4].i32())),
    DOXRUN_EXPORT(DoxCharStyleId, DoxCharStyleId(c.doc, a[0].i32())),
    DOXRUN_EXPORT(DoxTextColor, DoxTextColor(c.doc, a[0].u32(), a[1].i32())),
    DOXRUN_EXPORT(DoxBeginScriptStyle, DoxBeginScriptStyle(c.doc, a[0].i32())),
    DOXRUN_EXPORT(DoxEndScriptStyle, DoxEndScriptStyle(c.doc)),
    DOXRUN_EXPORT(DoxResetParaProp, DoxResetParaProp(c.doc)),
    DOXRUN_EXPORT(DoxParaFlags, DoxParaFlags(c.doc, a[0].u32())),
    DOXRUN_EXPORT(DoxParaIndent, DoxParaIndent(c.doc, a[0].i32(), a[1].i32(), a[2].i32())),
    DOXRUN_EXPORT(DoxParaSpace, DoxParaSpace(c.doc, a[0].i32(), a[1].i32(), a[2].i32())),
    DOXRUN_EXPORT(DoxParaShadeColor, DoxParaShadeColor(c.doc, a[0].i32(), a[1].u32())),
    DOXRUN_EXPORT(DoxParaStyleId, DoxParaStyleId(c.doc, a[0].i32())),
    DOXRUN_EXPORT(DoxParaTabStop, DoxParaTabStop(c.doc, a[0].i32(), a[1].i32(), a[2].i32())),
    DOXRUN_EXPORT(DoxParaBullet,
                DoxParaBullet(c.doc, a[0].i32(), a[1].i32(), a[2].i32(), a[3].i32(), a[4].s(),
                              a[5].s(), a[6].u32())),
    DOXRUN_EXPORT(DoxBeginStyleSheet, DoxBeginStyleSheet(c.doc)),
    DOXRUN_EXPORT(DoxBeginStyleItem,
                DoxBeginStyleItem(c.doc, a[0].i32(), a[1].i32(), a[2].s())),
    DOXRUN_EXPORT(DoxEndStyleItem, DoxEndStyleItem(c.doc)),
    DOXRUN_EXPORT(DoxEndStyleSheet, DoxEndStyleSheet(c.doc)),
};

#define DOXRUN_CONSTANT(name) {#name, name}


doxrun::Registrar exports(kExports);

}  // namespace
