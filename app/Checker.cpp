#include "Checker.h"
#include "ResultImporter.h"

namespace qrt::app
{

QString shapeHint(const QString &file, const domain::ResultImporter &importer,
                  const ref::LotteryShape &shape)
{
    // Draws outside the ranges of today's rules, in a text draw file: the shape that holds
    // them all is named.
    QByteArray bytes;
    if (importer.layout().format != domain::ImportLayout::Format::TextDraws ||
        !ref::readDrawFileBytes(file, bytes).isEmpty())
        return {};
    return ref::suggestShape(bytes, shape);
}

int checkDrawFile(const QString &file, const QString &shapeText, QTextStream &out, QTextStream &err)
{
    QString why;
    const std::optional<ref::LotteryShape> shape = ref::LotteryShape::parse(shapeText, &why);
    if (!shape) {
        err << why << Qt::endl;
        return 2;
    }
    // The same reader as the import, so that what passes here imports.
    domain::ResultImporter importer(*shape);
    if (!importer.readFile(file)) {
        err << file << ": " << importer.error() << Qt::endl;
        return 2;
    }
    out << file << ": read as " << importer.layout().describe() << '\n';
    for (const QString &note : importer.layout().notes)
        out << file << ": " << note << '\n';
    for (const QString &line : importer.describeBad(file))
        out << line << '\n';
    if (importer.badCount() > 0) {
        out << file << ": " << importer.badCount() << " broken rules" << Qt::endl;
        if (const QString hint = shapeHint(file, importer, *shape); !hint.isEmpty())
            out << file << ": " << hint << Qt::endl;
        return 1;
    }
    out << file << ": " << importer.draws().size() << " draws of " << shape->name
        << ", no broken rule" << Qt::endl;
    return 0;
}

} // namespace qrt::app
