// What the vector colour kernels keep per band row: the matrix rows of the
// four inks, their cursors and the four planes' output rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "halftone_kernels.h"
#include "threshold_row.h"

// The matrix rows of the four inks for the current page row.
struct ColourThresholdRows {
    ThresholdRow yellow, magenta, cyan, black;

    ColourThresholdRows(const FBScreen& screen, uint32_t pageRow)
        : yellow(screen.plane[kScreenYellow], pageRow),
          magenta(screen.plane[kScreenMagenta], pageRow),
          cyan(screen.plane[kScreenCyan], pageRow),
          black(screen.plane[kScreenBlack], pageRow) {}

    void NextRow() { yellow.NextRow(), magenta.NextRow(), cyan.NextRow(), black.NextRow(); }
};

// The thresholds of the four inks at the current step of a row.
struct ColourCursors {
    ThresholdCursor yellow, magenta, cyan, black;

    ColourCursors(const ColourThresholdRows& rows, uint32_t step)
        : yellow(rows.yellow, step),
          magenta(rows.magenta, step),
          cyan(rows.cyan, step),
          black(rows.black, step) {}

    void Advance() { yellow.Advance(), magenta.Advance(), cyan.Advance(), black.Advance(); }
    void SkipRun() { yellow.SkipRun(), magenta.SkipRun(), cyan.SkipRun(), black.SkipRun(); }
};

// The first plane byte of band row r in each of the four planes.
struct ColourRowOut {
    uint8_t* cyan;
    uint8_t* magenta;
    uint8_t* yellow;
    uint8_t* black;

    ColourRowOut(const ColourScreenJob& job, uint32_t r)
        : cyan(job.dst + static_cast<size_t>(r) * job.dstStride),
          magenta(cyan + job.planeOffset),
          yellow(magenta + job.planeOffset),
          black(yellow + job.planeOffset) {}
};
