// Feeds arbitrary bytes to the result file importer for a lottery with a bonus number: it
// must never crash, and what it takes must keep the lottery's rules, each issue once and in
// ascending order, and merge into itself as already held.
#include "ResultImporter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const qrt::ref::LotteryShape shape =
        *qrt::ref::LotteryShape::parse(QStringLiteral("3:1-49+"));
    qrt::domain::ResultImporter importer(shape);
    if (!importer.read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))))
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
