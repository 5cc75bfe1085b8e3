// Working state of the picture calls.
#pragma once

namespace dox {

struct PictureState {
  char PictureScratch[1];  // working text of the picture calls
};

}  // namespace dox
