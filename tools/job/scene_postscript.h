// The drawing of a scene as PostScript, for a general rasterizer to render
// the same pages the library prints (the page benchmark compares the two):
// the same boxes in the same grey levels and colours, and text of the same
// size and character count in Courier, whose advance (0.6 em) matches the
// font's cell when the em is ten font dots.
//
// Only the scene commands that have a plain PostScript form are taken:
// document, paper (a4, letter), resolution, output-resolution, colour (the
// setting and R G B), grey, box, text, image and page. Any other command is
// an error with its line number, so a comparison never runs on a different
// page. An image is drawn with its pixels at the same place and size, turned
// and mirrored (each row reversed) as the record would be; at 8 bits or fewer as a grey image,
// at 24 in colour (a rasterizer has no use for the record's palettes, and
// blt and stretch draw alike).
#pragma once

#include <string>
#include <string_view>

#include "job/scene.h"

// Image file names are relative to options.baseFolder.
bool SceneToPostScript(std::string_view scene, const SceneOptions& options, std::string* postscript,
                       std::string* error);
inline bool SceneToPostScript(std::string_view scene, std::string* postscript, std::string* error) {
    return SceneToPostScript(scene, SceneOptions{}, postscript, error);
}
