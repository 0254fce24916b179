#include "files/PlotTotalFile.h"

#include "core/CommaWriter.h"

namespace orr::files {

void PlotTotalFile::write(OutputFile& out, const Record& r) {
    RecordLine().integer(r.plot).number(r.n).rounded(r.ba, 2).rounded(r.vol, 2).appendTo(out);
}

}  // namespace orr::files
