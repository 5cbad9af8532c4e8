// 32 x 32 brush patterns for downloaded brushes, by name, and their
// expansion into the band format of raw brushes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The pattern's 128 bytes: 32 rows of 32 bits, most significant bit first;
// a set bit takes the brush's second colour. False for an unknown name.
// Names: solid, clear, checker, dots, grid, diagonal, bricks.
bool NamedBrushPattern(std::string_view name, std::vector<uint8_t>* pattern);

// The pattern as 32 x 32 band pixels with colours 0x00RRGGBB for clear and
// set bits: grey bytes ((30 R + 59 G + 11 B) / 100) or colour pixels stored
// as B, G, R and a zero tag byte.
std::vector<uint8_t> RawBrushPixels(const std::vector<uint8_t>& pattern, uint32_t colour0, uint32_t colour1,
                                    bool colourDevice);
