// The drawing of a scene as PostScript, for a general rasterizer to render
// the same pages the library prints (the page benchmark compares the two):
// the same boxes in the same grey levels and colours, and text of the same
// size and character count in Courier, whose advance (0.6 em) matches the
// font's cell when the em is ten font dots.
//
// Only the scene commands that have a plain PostScript form are taken:
// document, paper (a4, letter), resolution, output-resolution, colour (the
// setting and R G B), grey, box, text and page. Any other command is an
// error with its line number, so a comparison never runs on a different page.
#pragma once

#include <string>
#include <string_view>

bool SceneToPostScript(std::string_view scene, std::string* postscript, std::string* error);
