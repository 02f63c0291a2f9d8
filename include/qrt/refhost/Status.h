#pragma once

#include <QString>

namespace qrt::ref
{

/// The outcome of an operation that a caller must act on: success, a failure with a message a
/// user can read, or a file that was replaced but whose folder could not be synced (the new
/// contents are in place but a power loss may still bring the old ones back). All inline, so
/// nothing is exported; an export macro here would also not compile after [[nodiscard]].
class [[nodiscard]] Status
{
public:
    /// Done and on disk; failed; in place but not confirmed on disk.
    enum class Code { Ok, Failed, NotDurable };

    Status() = default;
    /// The three outcomes.
    ///@{
    static Status success() { return {}; }
    static Status failure(const QString &message) { return Status(Code::Failed, message); }
    static Status notDurable(const QString &message) { return Status(Code::NotDurable, message); }

    /// Everything was done and is on disk.
    bool ok() const { return m_code == Code::Ok; }
    /// The new state is in place, confirmed on disk or not.
    bool landed() const { return m_code != Code::Failed; }
    /// Which of the three it is.
    Code code() const { return m_code; }
    /// Why it failed or was not confirmed; empty on success.
    const QString &message() const { return m_message; }

private:
    Status(Code code, const QString &message) : m_code(code), m_message(message) {}
    Code m_code = Code::Ok;
    ///@}
    QString m_message;
};

} // namespace qrt::ref
