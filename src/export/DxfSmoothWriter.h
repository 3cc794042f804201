#pragma once
// The drawing exchange format with smooth outlines (OutlineSmoother.h), in a DxfFrame drawing upright in
// millimetres: every outline's polygon one closed LWPOLYLINE on the layer OUTLINES, then every shape one
// solid HATCH on the layer FILL bounded by the same vertex lists (the outer boundary external, the holes
// inside it, odd parity), the shape on the left of each polygon. All polylines come before all
// hatches, since some readers drop what follows a HATCH; the hatches read the polygons back from a
// CornerSpool, or walk the shapes again and smooth them anew where it could not keep them. The shapes
// are smoothed in a thread of their own while the next ones are traced.

#include "CornerSpool.h"
#include "DxfFrame.h"
#include "DxfVertexSlots.h"
#include "OutlineSmoother.h"
#include "OutlineWriter.h"
#include "SmoothingAlongside.h"

#include <QSize>

#include <cstdint>

class OutputFile;

class DxfSmoothWriter final : public OutlineWriter {
public:
    DxfSmoothWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres);

private:
    void drawShape(const TracedShape& shape) override;
    void endShapes(const ShapeSource& source) override;
    void drawPolylines(const TracedShape& polygons);

    SmoothingAlongside smoothing_;                       // of the shapes drawn
    OutlineSmoother smoother_;                           // of the shapes walked again
    CornerSpool spool_;                                  // the polygons again, for the hatches
    DxfVertexSlots vertices_;                            // on the lines of half units
    std::uint64_t handle_ = DxfFrame::FirstEntityHandle; // the next entity's
};
