// Feeds arbitrary bytes to the result file importer for a lottery with a bonus number: it
// must never crash, what it takes must keep the lottery's rules, each issue once and in
// ascending order, and merge into itself as already held; and a file of the same bytes read in
// pieces of a few bytes must give the same draws and bad lines.
#include "ResultImporter.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace
{
void comparePieces(const qrt::ref::LotteryShape &shape, const uint8_t *data, size_t size,
                   const qrt::domain::ResultImporter &whole, bool read)
{
    const int fd = memfd_create("importer", 0);
    if (fd < 0 || ::write(fd, data, size) != ssize_t(size))
        std::abort();
    qrt::domain::ResultImporter pieces(shape);
    pieces.setPieceBytes(16 + qsizetype(size % 61), 1 + qsizetype(size % 7));
    const bool readInPieces = pieces.readFile(QStringLiteral("/proc/self/fd/%1").arg(fd)).ok();
    ::close(fd);
    if (readInPieces != read || pieces.badCount() != whole.badCount() ||
        !(pieces.draws() == whole.draws()))
        std::abort();
    // The same lines, too: a line end split between two pieces is counted once.
    for (size_t i = 0; i < whole.badRows().size(); ++i)
        if (pieces.badRows()[i].line != whole.badRows()[i].line)
            std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const qrt::ref::LotteryShape shape =
        *qrt::ref::LotteryShape::parse(QStringLiteral("3:1-49+"));
    qrt::domain::ResultImporter importer(shape);
    const bool read =
        importer.read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))).ok();
    comparePieces(shape, data, size, importer, read);
    if (!read)
        return 0;
    const qrt::ref::DrawList draws = importer.draws();
    for (int i = 0; i < draws.size(); ++i) {
        if (i > 0 && qrt::domain::ResultImporter::compareIssues(draws.issueView(i - 1),
                                                                draws.issueView(i)) >= 0)
            std::abort();
        for (int j = 0; j < shape.total; ++j)
            if (draws.number(i, j) < shape.mini || draws.number(i, j) > shape.maxi)
                std::abort();
    }
    if (qsizetype(importer.badRows().size()) > 100)
        std::abort();
    const qrt::domain::ResultImporter::Merge m = importer.mergeInto(draws);
    if (m.added != 0 || m.conflictCount != 0 || m.alreadyHeld != draws.size())
        std::abort();
    return 0;
}
