// Feeds arbitrary bytes to the user data file reader: it must never crash, and what it
// accepts must write back to the same bytes.
#include <qrt/refhost/DrawFiles.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qrt::ref::ReadResult r = qrt::ref::readUserData(bytes);
    if (r.ok() &&
        qrt::ref::readUserData(qrt::ref::formatUserData(r.shape, r.draws)).draws != r.draws)
        std::abort();
    if (!r.ok() && r.draws.size() != 0)
        std::abort(); // never half-loaded
    return 0;
}
