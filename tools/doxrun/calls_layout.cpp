// Paper, margins, section properties, breaks, headers and footers.
#include "registry.h"

namespace {

using doxrun::ConstantDef;
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

const ConstantDef kConstants[] = {
    {"BREAK_SECTION", BREAK_SECTION},
    {"BREAK_COLUMN", BREAK_COLUMN},
    {"BREAK_PAGE", BREAK_PAGE},
    {"HDRFTR_HEADER", HDRFTR_HEADER},
    {"HDRFTR_HEADER_FIRST", HDRFTR_HEADER_FIRST},
    {"HDRFTR_HEADER_LEFT", HDRFTR_HEADER_LEFT},
    {"HDRFTR_HEADER_RIGHT", HDRFTR_HEADER_RIGHT},
    {"HDRFTR_FOOTER", HDRFTR_FOOTER},
    {"HDRFTR_FOOTER_FIRST", HDRFTR_FOOTER_FIRST},
    {"HDRFTR_FOOTER_LEFT", HDRFTR_FOOTER_LEFT},
    {"HDRFTR_FOOTER_RIGHT", HDRFTR_FOOTER_RIGHT},
};

doxrun::Registrar exports(kExports);
doxrun::Registrar constants(kConstants);

}  // namespace
