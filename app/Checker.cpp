#include "Checker.h"
#include <qrt/refhost/DrawFiles.h>

namespace qrt::app
{

int checkDrawFile(const QString &file, const QString &shapeText, QTextStream &out, QTextStream &err)
{
    QString why;
    const std::optional<ref::LotteryShape> shape = ref::LotteryShape::parse(shapeText, &why);
    if (!shape) {
        err << why << Qt::endl;
        return 2;
    }
    QByteArray bytes;
    const ref::ReadResult r = ref::readTextDrawFile(file, *shape, &bytes);
    if (!r.errors.empty() && r.errors.front().line == 0) {
        err << file << ": " << r.errors.front().reason << Qt::endl;
        return 2;
    }
    for (const QString &line : r.describe(file))
        out << line << '\n';
    if (!r.ok()) {
        out << file << ": " << (r.unlistedAtLeast ? "at least " : "") << r.errorCount()
            << " broken rules" << Qt::endl;
        if (const QString hint = ref::suggestShape(bytes, *shape); !hint.isEmpty())
            out << file << ": " << hint << Qt::endl;
        return 1;
    }
    out << file << ": " << r.draws.size() << " draws of " << shape->name << ", no broken rule"
        << Qt::endl;
    return 0;
}

} // namespace qrt::app
