#include "pipeline/band_record_writer.h"

#include "engine/stage_clock.h"
#include "pipeline/band_compressor.h"
#include "pipeline/printer_stream.h"
#include "pipeline/stream_records.h"

int FBBandRecordWriter::TakePlane(const FBBandPlane& plane) {
    const uint32_t planeBytes = plane.widthBytes * plane.rows;
    uint8_t code = kBandCodeRaw;
    uint32_t size = 0;
    {
        const RDStageTimer timer(RDStage::Compression);
        size = CompressOneBand(compressed_, plane.bytes, plane.bandIndex, bandCount_, plane.rows,
                               plane.widthBytes, work_, &code, resolution_, plane.textAndLinesOnly, tables_);
    }
    const uint8_t* data = compressed_;
    if (size == 0 || size >= planeBytes) {
        code = kBandCodeRaw;
        size = planeBytes;
        data = plane.bytes;
    }
    const RDStageTimer timer(RDStage::Writing);
    int ok = plane.firstOfBand ? WriteBandHeaderColor(out_, plane.bandIndex, code, plane.widthBytes * 8,
                                                      plane.rows, size, plane.channel)
                               : WriteBandRepeatedHeaderColor(out_, code, size, plane.channel);
    ok &= WriteBandBuffer(out_, data, size);
    if (plane.lastOfBand) {
        const uint8_t end = kRecordBandEnd;
        ok &= FBOutWrite(out_, &end, 1, kStreamPage);
    }
    return ok;
}
