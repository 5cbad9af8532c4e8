// The sixteen threshold matrices of the halftone screens: one per screen
// class (normal, text, photo at 600 dpi; one set at 1200 dpi) and ink (black,
// cyan, magenta, yellow). Each is width x height thresholds, row after row; a
// pixel gets a dot when its whiteness is at most its threshold.
//
//   normal 600 and 1200: 0..254, every value present, 0 the most frequent
//                        (pixels that take ink only at full black);
//   text 600:            1..255, every value present;
//   photo 600:           144 distinct values within 0..254.
//
// The tables are generated data (threshold_matrices.cpp).
#pragma once

#include <cstdint>

extern const uint8_t MaskNormal600K[96 * 96];
extern const uint8_t MaskNormal600C[80 * 80];
extern const uint8_t MaskNormal600M[80 * 80];
extern const uint8_t MaskNormal600Y[64 * 64];

extern const uint8_t MaskText600K[24 * 24];
extern const uint8_t MaskText600C[24 * 24];
extern const uint8_t MaskText600M[24 * 24];
extern const uint8_t MaskText600Y[24 * 24];

extern const uint8_t MaskPhoto600K[12 * 12];
extern const uint8_t MaskPhoto600C[12 * 12];
extern const uint8_t MaskPhoto600M[12 * 12];
extern const uint8_t MaskPhoto600Y[12 * 12];

extern const uint8_t Mask1200K[120 * 120];
extern const uint8_t Mask1200C[116 * 116];
extern const uint8_t Mask1200M[116 * 116];
extern const uint8_t Mask1200Y[98 * 98];
