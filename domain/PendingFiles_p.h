#pragma once
// Stand-ins until the reference host's writer offers these itself.
#include <qrt/refhost/Status.h>

#include <QFile>

#include <unistd.h>

namespace qrt::ref
{
inline Status linkOrCopy(const QString &from, const QString &to)
{
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return Status::success();
    return QFile::copy(from, to) ? Status::success() : Status::failure(QStringLiteral("copy"));
}
inline Status removeFile(const QString &path)
{
    ::unlink(QFile::encodeName(path).constData());
    return Status::success();
}
} // namespace qrt::ref
