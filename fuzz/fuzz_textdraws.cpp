// Feeds arbitrary bytes to the text draw file reader for a lottery with a bonus number: it
// must never crash, and what it accepts must read back the same after writing.
#include <qrt/refhost/DrawFiles.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const qrt::ref::LotteryShape shape =
        *qrt::ref::LotteryShape::parse(QStringLiteral("3:1-49+"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qrt::ref::ReadResult r = qrt::ref::readTextDraws(bytes, shape);
    if (r.ok() &&
        qrt::ref::readTextDraws(qrt::ref::formatTextDraws(r.draws), shape).draws != r.draws)
        std::abort();
    if (!r.ok() && r.draws.size() != 0)
        std::abort();
    return 0;
}
