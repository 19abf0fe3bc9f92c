// The reader of item files on any bytes: either a reason and no rows, or
// rows of the current twenty cells; a file of the current form written as
// the writer writes (no byte-order mark, LF) is given back byte for byte, any
// other form it reads is written again in the current form and read back to
// the same rows; the summary lines recounted from any rows it accepts,
// against any results.

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
        require(row.size() == itemColumnCount, "every row has the current columns");
    const QByteArray again = itemFileContent(read.rows);
    const bool asWritten = read.form == ItemFileForm::Current && !bytes.startsWith("\xEF\xBB\xBF") && !bytes.contains('\r');
    if (asWritten)
        require(again == bytes || again == bytes + '\n', "an accepted file is written back as it was");
    const ReadItems reread = readItemFile(again);
    require(reread.problem.isEmpty() && reread.rows == read.rows, "what is written again reads back the same");
    for (const SummaryMismatch &mismatch : summaryMismatches(read.rows, QStringList(69)))
        require(mismatch.line >= 1 && mismatch.line <= 69, "a mismatch names a line of the results file");
    return 0;
}
