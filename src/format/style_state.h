// Style-sheet state kept in the document between the begin and the end of a
// style item.
#pragma once

namespace dox {

struct StyleState {
  char PendingStyleName[304];  // written when the item ends
};

}  // namespace dox
