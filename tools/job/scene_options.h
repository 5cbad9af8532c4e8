// Readers of the options that scene commands with files, masks, images and
// brush patterns take, and where a scene's files are found.
#pragma once

#include <string>
#include <vector>

#include "image/bitonal.h"
#include "job/image_records.h"
#include "job/scene_args.h"
#include "sys/text.h"

// [width W] [height H] [threshold N | dither]
bool ReadMaskOptions(SceneArgs& a, MaskOptions* options);
// [width W] [height H] [blt | stretch] [bits 1|4|8|24] [mirror] [rotate]
bool ReadImageRecordOptions(SceneArgs& a, ImageRecordOptions* options);
// A pattern name (solid, clear, checker, dots, grid, diagonal, bricks) or
// "hex" followed by 256 hex digits.
bool ReadBrushPattern(SceneArgs& a, std::vector<uint8_t>* pattern);

// The folder part of a file name, without the separator; empty for a bare name.
sys::WString SceneFolder(sys::WStringView path);
// A scene's file name: absolute names as they are, others under the folder.
sys::WString ResolveSceneFile(sys::WStringView folder, const std::string& name);
