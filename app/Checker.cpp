#include "Checker.h"
#include "ResultImporter.h"

namespace qrt::app
{

QString shapeHint(const domain::ResultImporter &importer)
{
    // Draws refused only for the lottery's ranges or its count of bonus numbers: the shape
    // that holds them all is named.
    return importer.shapeHint();
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
    if (const ref::Status s = importer.readFile(file); !s.ok()) {
        err << file << ": " << s.message() << Qt::endl;
        return 2;
    }
    out << file << ": read as " << importer.layout().describe() << '\n';
    for (const QString &note : importer.layout().notes)
        out << file << ": " << note << '\n';
    for (const QString &line : importer.describeBad(file))
        out << line << '\n';
    if (importer.badCount() > 0) {
        out << file << ": " << importer.badCount() << " broken rules" << Qt::endl;
        if (const QString hint = shapeHint(importer); !hint.isEmpty())
            out << file << ": " << hint << Qt::endl;
        return 1;
    }
    out << file << ": " << importer.draws().size() << " draws of " << shape->name
        << ", no broken rule" << Qt::endl;
    return 0;
}

} // namespace qrt::app
