#include "BatchExportControls.h"

#include "Interruption.h"

BatchExportControls::BatchExportControls(ExportPolarity polarity, int threshold, std::int32_t columns,
                                         TerminalProgress& bar)
    : polarity_(polarity), threshold_(threshold), columns_(columns), bar_(bar) {}

void BatchExportControls::yield() {
    Interruption::check();
    // The writer yields once before each of its columns: the columns before this one are done.
    if (columns_ > 0) {
        bar_.show(static_cast<double>(started_) / columns_);
    }
    ++started_;
}
