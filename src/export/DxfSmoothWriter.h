#pragma once
// The drawing exchange format with smooth outlines (OutlineSmoother.h), in a DxfFrame drawing upright in
// millimetres: every outline's polygon one closed LWPOLYLINE on the layer OUTLINES, then every shape one
// solid HATCH on the layer FILL bounded by the same vertex lists (the outer boundary external, the holes
// inside it, odd parity), the shape on the left of each polygon. All polylines come before all
// hatches, since some readers drop what follows a HATCH; the hatches come from a second walk over the
// shapes, smoothed again rather than kept.

#include "DxfFrame.h"
#include "OutlineSmoother.h"
#include "OutlineWriter.h"
#include "UnitCoordinates.h"

#include <QSize>

#include <cstdint>

class OutputFile;

class DxfSmoothWriter final : public OutlineWriter {
public:
    DxfSmoothWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres);

private:
    void drawShape(const TracedShape& shape) override;
    void endShapes(const ShapeSource& source) override;
    void writeHatch(const TracedShape& shape);
    void writeVertices(const std::vector<HalfPoint>& polygon);

    OutlineSmoother smoother_;
    UnitCoordinates halves_;                             // the coordinates of half units
    std::uint64_t handle_ = DxfFrame::FirstEntityHandle; // the next entity's
};
