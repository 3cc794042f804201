#pragma once
// The drawing exchange format with outlines, in a DxfFrame drawing upright in millimetres: every
// outline of every shape one closed LWPOLYLINE on the layer OUTLINES, then every shape one solid HATCH
// on the layer FILL bounded by the same vertex lists (the outer boundary external, the holes inside it,
// odd parity). All polylines come before all hatches, since some readers drop what follows a HATCH; the
// hatches come from the shapes put aside in a spool as the polylines were written, or from a second walk
// over the shapes should the spool fail.

#include "CornerSpool.h"
#include "DxfFrame.h"
#include "DxfVertexSlots.h"
#include "OutlineWriter.h"

#include <QSize>

#include <cstddef>
#include <cstdint>
#include <vector>

class OutputFile;

class DxfOutlineWriter final : public OutlineWriter {
public:
    DxfOutlineWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres);

    // The bytes of a drawing of `totals` on this grid: its fixed text and handles exactly, every
    // coordinate as long as the one halfway across the drawing, every count as long as the mean one.
    static std::int64_t fileBytes(QSize grid, PixelSides unitMillimetres, const OutlineTotals& totals);

private:
    void drawShape(const TracedShape& shape) override;
    void endShapes(const ShapeSource& source) override;

    DxfVertexSlots vertices_;
    CornerSpool spool_;
    std::uint64_t handle_ = DxfFrame::FirstEntityHandle; // the next entity's
};
