// Bookmarks, footnotes and fields (DoxInsertText and DoxInsertUText are in
// calls_core.cpp).
#include "registry.h"

namespace {

using doxrun::ExportDef;

const ExportDef kExports[] = {
    DOXRUN_EXPORT(DoxInsertBookmark, DoxInsertBookmark(c.doc, a[0].s(), a[1].i32())),
    DOXRUN_EXPORT(DoxInsertFootnote, DoxInsertFootnote(c.doc, a[0].s(), a[1].s())),
    DOXRUN_EXPORT(DoxInsertPageField, DoxInsertPageField(c.doc, a[0].i32())),
    DOXRUN_EXPORT(DoxInsertMergeField, DoxInsertMergeField(c.doc, a[0].s(), a[1].s())),
    DOXRUN_EXPORT(DoxInsertTocField, DoxInsertTocField(c.doc, a[0].i32(), a[1].i32())),
};

doxrun::Registrar exports(kExports);

}  // namespace
