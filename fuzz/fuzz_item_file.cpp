// The reader of item files on any bytes: either a reason and no rows, or
// rows of thirteen cells that the writer gives back byte for byte; the
// summary lines recounted from any rows it accepts, against any results.

#include "Property.h"
#include "engine/ItemFile.h"
#include "engine/ItemRecount.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReadItems read = readItemFile(bytes);
    if (!read.problem.isEmpty()) {
        require(read.rows.isEmpty(), "a refused file gives no rows");
        return 0;
    }
    for (const QStringList &row : read.rows)
        require(row.size() == itemColumnCount, "every row has thirteen cells");
    const QByteArray again = itemFileContent(read.rows);
    require(again == bytes || again == bytes + '\n', "an accepted file is written back as it was");
    for (const SummaryMismatch &mismatch : summaryMismatches(read.rows, QStringList(69)))
        require(mismatch.line >= 1 && mismatch.line <= 69, "a mismatch names a line of the results file");
    return 0;
}
