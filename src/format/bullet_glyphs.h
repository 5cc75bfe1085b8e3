// The bullet characters of DoxParaBullet and the fonts they come from.
#pragma once

#include <cstdint>

namespace dox {

struct BulletGlyph {
  const char *font;
  uint8_t code;
};

// By bullet style; any other style is the round bullet of Symbol.
inline const BulletGlyph &BulletGlyphOf(int32_t style) {
  static constexpr BulletGlyph kBullets[] = {
      {"Symbol", 0xB7},    {"Symbol", 0xA8},    {"Wingdings", 0xA7}, {"Wingdings", 0x71},
      {"Wingdings", 0x76}, {"Wingdings", 0xD8}, {"Wingdings", 0xFC},
  };
  return (style >= 1 && style <= 6) ? kBullets[style] : kBullets[0];
}

}  // namespace dox
