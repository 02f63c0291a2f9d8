#pragma once

#include <qrt/qrt_export.h>

#include <QString>
#include <stdexcept>

namespace qrt
{

/// A failure reported with a classic run-time error number, the way late-bound host code
/// expects to see it: 5 invalid procedure call or argument, 6 overflow, 9 subscript out of
/// range, 13 type mismatch, 91 object variable not set, 326 resource not found, 380 invalid
/// property value, 381 invalid property array index, 429 cannot create object, 438 object
/// does not support this property or method, 440 any other failure raised by a host object.
class QRT_EXPORT RuntimeError : public std::runtime_error
{
public:
    /// Uses the standard description of @p number.
    explicit RuntimeError(int number);
    /// Error @p number with its own @p description.
    RuntimeError(int number, const QString &description);
    /// Out of line, so that the type a host catches is defined in this library alone.
    ~RuntimeError() override;

    /// The classic error number.
    int number() const noexcept { return m_number; }
    /// What went wrong, in words.
    QString description() const { return QString::fromUtf8(what()); }

    /// The standard wording for a classic error number, or a generic text for others.
    static QString standardDescription(int number);

private:
    int m_number;
};

} // namespace qrt
