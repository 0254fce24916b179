#include "files/TreeVolumeFile.h"

#include "core/CommaWriter.h"

namespace orr::files {

void TreeVolumeFile::write(std::string& out, const Record& r) {
    RecordLine()
        .integer(r.plot)
        .integer(r.species)
        .integer(r.product)
        .rounded(r.dbh, 2)
        .rounded(r.height, 0)
        .rounded(r.volume, 5)
        .rounded(r.extra1, 2)
        .rounded(r.extra2, 2)
        .appendTo(out);
}

}  // namespace orr::files
