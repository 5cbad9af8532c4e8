// The pages of the page benchmark, as scenes (the text `zebl compose` reads):
// A4 pages of dense text, full-page grey, colour text with headings and
// boxes, full colour, at 600 and 1200 dpi and in the 600 x 1200 mode, and a
// photograph over the page in grey and in colour. The
// same scene text composes the spooled job that the benchmark prints and the
// PostScript that Ghostscript renders for comparison.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PageKind {
    std::string name;         // "grey-text-600", ...
    std::string ghostscript;  // the Ghostscript device it is compared with
    std::string resolution;   // of the comparison device: "600", "1200", "600x1200"
    bool colour = false;
};

const std::vector<PageKind>& PageKinds();

// The scene of `pages` pages of that kind; empty for an unknown name.
std::string PageScene(const std::string& kind, uint32_t pages);
