// The real-number reader on any text, and every number the program writes
// read back by the program and by the collector, under a decimal comma and a
// decimal point alike.

#include "Property.h"
#include "engine/FieldChecks.h"
#include "engine/Numbers.h"
#include "engine/Regional.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

RegionalSettings withSeparator(QChar separator)
{
    RegionalSettings settings = russianSettings();
    settings.decimalSeparator = separator;
    return settings;
}

// The general format keeps 15 significant digits: what reads back is off by
// at most half a unit of the 15th digit and the reader's own rounding.
bool sameTo15Digits(double written, double read)
{
    const double allowed = (0.5e-14 + std::numeric_limits<double>::epsilon()) * std::fabs(written);
    return std::fabs(read - written) <= allowed + std::numeric_limits<double>::denorm_min();
}

void writtenReadsBack(double value)
{
    if (!std::isfinite(value))
        return; // written as INF or NAN, which no one types
    const QString text = formatGeneral(value);
    const auto read = parseReal(text);
    require(read.has_value(), "a written number reads back");
    require(sameTo15Digits(value, *read), "a written number reads back to 15 significant digits");
    require(formatGeneral(*read) == text, "a number read back is written as before");
    const auto collected = parseDecimal(text);
    require(collected.has_value(), "a written number is read by the collector");
    require(sameTo15Digits(value, *collected), "the collector reads a written number to 15 significant digits");
    require(formatGeneral(*collected) == text, "a number the collector read is written as before");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    double bits = 0; // the first eight bytes as any double at all
    if (size > 0)
        std::memcpy(&bits, data, std::min(size, sizeof bits));
    for (const QChar separator : {QChar(u','), QChar(u'.')}) {
        setRegional(withSeparator(separator));
        writtenReadsBack(bits);
        if (const auto read = parseReal(text)) {
            require(!std::isnan(*read) && !std::isinf(*read), "a typed number is finite");
            writtenReadsBack(*read);
        }
    }
    return 0;
}
