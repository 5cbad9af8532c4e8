// The pipeline's end of band output: every plane that band output hands on
// is compressed and written as part of its physical band's band record.
//
//   first plane of the band   12-byte band header (band, code, W x 8 dots,
//                             P lines, size, channel)
//   every further plane       6-byte plane header (code, size, channel)
//   then                      the data and its checksum
//   after the band's last     one 0x00 byte
//
// Each plane goes through CompressOneBand (LZW when the band's rows hold only
// text and lines, else the offset-table coder); a plane the coders cannot
// make smaller is sent raw (code 0x0A).
#pragma once

#include <cstdint>

#include "engine/band_output.h"
#include "pipeline/offset_table_coder.h"
#include "pipeline/output_writer.h"

class FBBandRecordWriter final : public FBPlaneSink {
public:
    // `compressed` holds CompressOutBytes and `work` CompressWorkBytes of the
    // planes it will be given. `bandCount` and `resolution` are the
    // compression parameter's (the physical bands of the page and the output
    // resolution); `tables` the document's offset-table coder distances.
    FBBandRecordWriter(FBOut* out, FBCompressTables* tables, uint32_t bandCount, uint32_t resolution,
                       uint8_t* compressed, uint8_t* work)
        : out_(out),
          tables_(tables),
          bandCount_(bandCount),
          resolution_(resolution),
          compressed_(compressed),
          work_(work) {}

    // Returns 1 when the writer accepted every byte of the plane (and of the
    // band end after the last plane), else 0.
    int TakePlane(const FBBandPlane& plane) override;

private:
    FBOut* out_;
    FBCompressTables* tables_;
    uint32_t bandCount_;
    uint32_t resolution_;
    uint8_t* compressed_;
    uint8_t* work_;
};
