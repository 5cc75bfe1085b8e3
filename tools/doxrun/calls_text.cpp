// Bookmarks, footnotes and fields (DoxInsertText and DoxInsertUText are in
// calls_core.cpp).
#include "registry.h"

namespace {

using doxrun::ExportDef;

const ExportDef kExports[] = {
    DOXRUN_CALL(DoxInsertBookmark, "si", DoxInsertBookmark(c.doc, a[0].s(), a[1].i32())),
    DOXRUN_CALL(DoxInsertFootnote, "ss", DoxInsertFootnote(c.doc, a[0].s(), a[1].s())),
    DOXRUN_CALL(DoxInsertPageField, "i", DoxInsertPageField(c.doc, a[0].i32())),
    DOXRUN_CALL(DoxInsertMergeField, "ss", DoxInsertMergeField(c.doc, a[0].s(), a[1].s())),
    DOXRUN_CALL(DoxInsertTocField, "ii", DoxInsertTocField(c.doc, a[0].i32(), a[1].i32())),
};

doxrun::Registrar exports(kExports);

}  // namespace
