#pragma once
// Each drawing format's own choices, as the command line and the save
// dialog both give them; the defaults write what a save always wrote.

#include "export/dxf.hpp"
#include "export/hpgl.hpp"
#include "export/pdf.hpp"

namespace lw {

struct OutputChoices {
    PdfForm pdf;
    HpglForm hpgl;
    DxfVersion dxfVersion = DxfVersion::R2000;
    bool dxfText = false; // the string as TEXT beside its outline
    bool operator==(const OutputChoices&) const = default;
};

} // namespace lw
