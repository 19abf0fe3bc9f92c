// The integer reader on any text: what it reads, the real-number reader reads
// alike; and every whole number reads back when it fits 32 bits, never when not.

#include "Property.h"
#include "engine/Numbers.h"
#include "engine/Regional.h"

#include <cstdint>
#include <cstring>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setRegional(russianSettings());
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto value = parseInteger(text)) {
        const auto real = parseReal(text);
        require(real && *real == *value, "an integer text reads as the same real");
    }

    qint64 wide = 0; // the first eight bytes as any 64-bit number
    if (size > 0)
        std::memcpy(&wide, data, std::min(size, sizeof wide));
    const bool fits = wide >= std::numeric_limits<int>::min() && wide <= std::numeric_limits<int>::max();
    for (const QString &written : {QString::number(wide), QStringLiteral("  ") + QString::number(wide),
                                   wide >= 0 ? QStringLiteral("+") + QString::number(wide) : QString::number(wide)}) {
        const auto read = parseInteger(written);
        require(read.has_value() == fits, "a whole number reads exactly when it fits 32 bits");
        require(!read || *read == wide, "a whole number reads back as itself");
    }
    return 0;
}
