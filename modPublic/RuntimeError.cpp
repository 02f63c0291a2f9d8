#include <qrt/RuntimeError.h>

namespace qrt
{

RuntimeError::RuntimeError(int number) : RuntimeError(number, standardDescription(number)) {}

RuntimeError::RuntimeError(int number, const QString &description)
    : std::runtime_error(description.toStdString()), m_number(number)
{
}

RuntimeError::~RuntimeError() = default;

QString RuntimeError::standardDescription(int number)
{
    switch (number) {
    case 5:
        return QStringLiteral("Invalid procedure call or argument");
    case 6:
        return QStringLiteral("Overflow");
    case 9:
        return QStringLiteral("Subscript out of range");
    case 13:
        return QStringLiteral("Type mismatch");
    case 91:
        return QStringLiteral("Object variable or With block variable not set");
    case 326:
        return QStringLiteral("Resource with this identifier not found");
    case 380:
        return QStringLiteral("Invalid property value");
    case 381:
        return QStringLiteral("Invalid property array index");
    case 424:
        return QStringLiteral("Object required");
    case 429:
        return QStringLiteral("ActiveX component can't create object");
    case 438:
        return QStringLiteral("Object doesn't support this property or method");
    case 440:
        return QStringLiteral("Automation error");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

} // namespace qrt
