// RDSetPath: the points of a path record into the path generator.
//
// A record holds its points as two int16 or two int32 per point. 16-bit
// points carry a path beyond the int16 range: the first point of each
// subpath is taken as it is, every further one as the wrapped 16-bit step
// from the raw point before it, so a path can run anywhere as long as
// neighbouring points are less than 32768 dots apart. Origins are added and
// the scale applied as the points are read.
#include <algorithm>

#include "display_list.h"
#include "path_generator.h"

namespace {

// Reads the points of one subpath after another, never past the record.
class PathPointReader {
public:
    PathPointReader(const DLPath& path, uint32_t rowOrigin, uint32_t colOrigin, uint32_t den, uint32_t num)
        : path_(path), rowOrigin_(rowOrigin), colOrigin_(colOrigin), den_(den), num_(num) {}

    uint32_t Remaining() const { return path_.points - next_; }

    // Adds the next `n` points as one closed subpath.
    void Subpath(PathGenerator* pg, uint32_t n) {
        for (uint32_t i = 0; i < n; ++i, ++next_) {
            int64_t x = 0, y = 0;
            if (path_.wordsPerPoint == 2) {
                Read16(i == 0, &x, &y);
            } else {
                Read32(&x, &y);
            }
            if (i == 0) {
                pg->vertices.StartSubPath(Scale(x), Scale(y));
            } else {
                pg->vertices.PutPoint(Scale(x), Scale(y));
            }
        }
        pg->vertices.CloseSubPath(true);
    }

private:
    const uint8_t* Point() const { return path_.pointData + size_t{next_} * path_.wordsPerPoint * 2; }

    void Read16(bool first, int64_t* x, int64_t* y) {
        const uint16_t rawX = DLReadU16(Point()), rawY = DLReadU16(Point() + 2);
        if (first) {
            x_ = int64_t{colOrigin_} + static_cast<int16_t>(rawX);
            y_ = int64_t{rowOrigin_} + static_cast<int16_t>(rawY);
        } else {
            x_ += static_cast<int16_t>(static_cast<uint16_t>(rawX - rawX_));
            y_ += static_cast<int16_t>(static_cast<uint16_t>(rawY - rawY_));
        }
        rawX_ = rawX;
        rawY_ = rawY;
        *x = x_;
        *y = y_;
    }

    void Read32(int64_t* x, int64_t* y) const {
        *x = int64_t{colOrigin_} + static_cast<int32_t>(DLReadU32(Point()));
        *y = int64_t{rowOrigin_} + static_cast<int32_t>(DLReadU32(Point() + 4));
    }

    float Scale(int64_t v) const {
        if (den_ == num_ || den_ == 0) return static_cast<float>(v);
        return static_cast<float>(static_cast<double>(v) * num_ / den_);
    }

    const DLPath& path_;
    uint32_t rowOrigin_, colOrigin_, den_, num_;
    uint32_t next_ = 0;
    uint16_t rawX_ = 0, rawY_ = 0;  // the raw 16-bit point before
    int64_t x_ = 0, y_ = 0;         // the running position of 16-bit points
};

}  // namespace

int RDSetPath(PathGenerator* generator, const RDRect& box, const DLPath& path, uint32_t rowOrigin,
              uint32_t colOrigin, uint32_t scaleDen, uint32_t scaleNum) {
    if (!generator) return 0;
    gpm_NewPath(generator);
    if (path.wordsPerPoint == 2 || path.wordsPerPoint == 4) {
        PathPointReader reader(path, rowOrigin, colOrigin, scaleDen, scaleNum);
        // Point counts that add up to more than the record holds are cut at
        // its last point.
        for (uint32_t s = 0; s < path.subpaths && reader.Remaining() > 0; ++s) {
            const uint32_t count = path.counts ? DLReadU32(path.counts + size_t{s} * 4) : path.points;
            reader.Subpath(generator, std::min(count, reader.Remaining()));
        }
    }
    PGSetClipRect(generator, box.left, box.right, box.top, box.bottom);
    // A record's fill mode other than winding is the alternate rule.
    PGSetFillMode(generator, path.fillMode == kPGFillWinding ? kPGFillWinding : kPGFillAlternate);
    return 1;
}
