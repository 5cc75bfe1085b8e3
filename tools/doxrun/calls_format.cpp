// Character and paragraph formatting, script styles, tab stops, bullets and
// the style sheet, with their flag constants.
#include "registry.h"

namespace {

using doxrun::ConstantDef;
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

const ConstantDef kConstants[] = {
    DOXRUN_CONSTANT(CHAR_UNDERLINE),     DOXRUN_CONSTANT(CHAR_BOLD),
    DOXRUN_CONSTANT(CHAR_ITALIC),        DOXRUN_CONSTANT(CHAR_STRIKE),
    DOXRUN_CONSTANT(CHAR_SUPERSCRIPT),   DOXRUN_CONSTANT(CHAR_SUBSCRIPT),
    DOXRUN_CONSTANT(CHAR_HIDDEN),        DOXRUN_CONSTANT(CHAR_DBL_UNDERLINE),
    DOXRUN_CONSTANT(CHAR_PROTECT),       DOXRUN_CONSTANT(CHAR_KLHLINK),
    DOXRUN_CONSTANT(CHAR_CAPS),          DOXRUN_CONSTANT(CHAR_SMALL_CAPS),
    DOXRUN_CONSTANT(PARA_CENTER),        DOXRUN_CONSTANT(PARA_RIGHT),
    DOXRUN_CONSTANT(PARA_DOUBLE_SPACE),  DOXRUN_CONSTANT(PARA_BORDER_TOP),
    DOXRUN_CONSTANT(PARA_BORDER_BOTTOM), DOXRUN_CONSTANT(PARA_BORDER_LEFT),
    DOXRUN_CONSTANT(PARA_BORDER_RIGHT),  DOXRUN_CONSTANT(PARA_BORDER_BOX),
    DOXRUN_CONSTANT(PARA_BORDER_DOUBLE), DOXRUN_CONSTANT(PARA_BORDER_WIDE),
    DOXRUN_CONSTANT(PARA_LEFT),          DOXRUN_CONSTANT(PARA_JUSTIFY),
    DOXRUN_CONSTANT(PARA_KEEP),          DOXRUN_CONSTANT(PARA_KEEP_NEXT),
    DOXRUN_CONSTANT(PARA_WIDOW_CONTROL), DOXRUN_CONSTANT(TAB_LEFT),
    DOXRUN_CONSTANT(TAB_RIGHT),          DOXRUN_CONSTANT(TAB_CENTER),
    DOXRUN_CONSTANT(TAB_DECIMAL),        DOXRUN_CONSTANT(TAB_LEADER_NONE),
    DOXRUN_CONSTANT(TAB_LEADER_DOT),     DOXRUN_CONSTANT(TAB_LEADER_HYPHEN),
    DOXRUN_CONSTANT(TAB_LEADER_UNDERLINE), DOXRUN_CONSTANT(BULLET_CONTINUE),
};

doxrun::Registrar exports(kExports);
doxrun::Registrar constants(kConstants);

}  // namespace
