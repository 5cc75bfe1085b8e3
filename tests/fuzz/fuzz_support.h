// What the fuzz targets check after each input: no crash (the sanitizers),
// no leak (the memory layer's count of live blocks, and the leak checker), a
// sound document state after every call and, where the caller wrote nothing
// free-form, a delivered text that is one balanced group.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "checks.h"
#include "core/document.h"
#include "dox.h"
#include "samples.h"

namespace doxfuzz {

// Stops the run (abort, which the fuzzer records as a finding) when `ok` is false.
void Require(bool ok, const char *what);

// A directory of this process for the files the targets read and write;
// removed at exit.
const std::string &WorkDir();
// Writes `bytes` to `path`, replacing it.
void WriteFile(const std::string &path, const Bytes &bytes);

// Message boxes go to a sink that only checks them.
void QuietReports();
DoxMessageSink QuietSink();

// The invariants of a document's state between calls. `intact`: no write has
// failed (no allocation failure was made to happen).
void CheckDocument(const dox::Document *doc, bool intact);

// The body holds lines of at most 300 characters, each ending in CR LF, and no
// other CR or LF (unless the caller inserted raw text).
void CheckBodyLines(const dox::Document *doc);

// Fetches the document's text and checks it is NUL-terminated at the size
// given with no NUL before; with `balanced`, that it is one balanced group.
// `mustDeliver`: the call may not fail. Frees the block.
void CheckDelivery(DOXDOC doc, bool balanced, bool mustDeliver);

// Ends the document and checks that exactly its blocks were released.
void EndDocument(DOXDOC doc);

}  // namespace doxfuzz
