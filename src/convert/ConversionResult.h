#pragma once
// The picture a conversion run makes: the grey picture at the original resolution, or the
// half-resolution one. It names the export's source pictures too.

enum class ConversionResult { Grey, Half };
