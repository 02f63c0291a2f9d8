// Feeds arbitrary bytes to the CSV reader for a lottery with a bonus number: it must never
// crash, and what it accepts must read back the same after writing.
#include "CsvFiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const qrt::ref::LotteryShape shape =
        *qrt::ref::LotteryShape::parse(QStringLiteral("3:1-49+"));
    const qrt::ref::ReadResult r =
        qrt::app::readCsv(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), shape);
    if (r.ok() && qrt::app::readCsv(qrt::app::formatCsv(r.draws), shape).draws != r.draws)
        std::abort();
    if (!r.ok() && r.draws.size() != 0)
        std::abort(); // never half-loaded
    return 0;
}
