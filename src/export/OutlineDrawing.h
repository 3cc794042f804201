#pragma once
// The drawing of a selection's shapes as outlines, in a drawing format (DXF or SVG): the one place
// where the formats' outline writers are made.

#include "OutputFormat.h"
#include "SelectionShapes.h"

class RecordFile;

// Writes the whole drawing of the kept shapes of `shapes`, which has had every column, reading them
// with forEachShape at least once: the job reports the counts of that tracing.
void writeOutlineDrawing(OutputFormat format, RecordFile& file, const SinkSetup& setup,
                         const SelectionShapes& shapes);
