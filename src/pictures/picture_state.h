// Working state of the picture calls. Nothing in it lives longer than one
// call.
#pragma once

namespace dox {

// Room for the 14-byte bitmap file header and for one piece of a linked
// picture's instruction text (longer instructions are written in pieces).
constexpr int kPictureScratchSize = 264;

struct PictureState {
  char PictureScratch[kPictureScratchSize];
};

}  // namespace dox
