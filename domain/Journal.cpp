#include "Journal.h"

#include <qrt/refhost/AtomicFile.h>

#include <QFile>

namespace qrt::domain
{

namespace
{
constexpr char kMagic[] = "QRTJournal 2\n";
// Written before the saved draws after the rows were counted: no tail line.
constexpr char kMagicFirst[] = "QRTJournal 1\n";
} // namespace

Journal::Journal(const QString &userFile)
    : m_userFile(userFile), m_path(userFile + QStringLiteral(".journal"))
{
}

// The user data file's header names its draw count and their checksum: a journal written
// against other saved draws does not apply.
QByteArray Journal::base() const
{
    QFile f(m_userFile);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("none\n");
    QByteArray head;
    for (int i = 0; i < 5 && !f.atEnd(); ++i)
        head += f.readLine(4096);
    return head;
}

ref::Status Journal::write(const Entry &entry) const
{
    QByteArray bytes = kMagic;
    const QByteArray b = base();
    bytes += "base " + QByteArray::number(b.size()) + '\n' + b;
    bytes += "keep " + QByteArray::number(entry.keep) + '\n';
    bytes += "tail " + QByteArray::number(entry.tail) + '\n';
    for (const QString &row : entry.rows)
        bytes += row.toUtf8() + '\n';
    return ref::writeFileAtomically(m_path, bytes);
}

std::optional<Journal::Entry> Journal::read() const
{
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    const bool first = bytes.startsWith(kMagicFirst);
    if (!first && !bytes.startsWith(kMagic))
        return std::nullopt;
    qsizetype at = qsizetype(sizeof kMagic) - 1;
    const auto line = [&] {
        const qsizetype end = bytes.indexOf('\n', at);
        QByteArray l = bytes.mid(at, end < 0 ? -1 : end - at);
        at = end < 0 ? bytes.size() : end + 1;
        return l;
    };
    const QByteArray baseLine = line();
    if (!baseLine.startsWith("base "))
        return std::nullopt;
    const qsizetype baseSize = baseLine.mid(5).toLongLong();
    if (baseSize < 0 || bytes.mid(at, baseSize) != base())
        return std::nullopt;
    at += baseSize;
    const QByteArray keepLine = line();
    bool ok = false;
    Entry e;
    e.keep = keepLine.startsWith("keep ") ? keepLine.mid(5).toInt(&ok) : 0;
    if (!ok || e.keep < 0)
        return std::nullopt;
    if (!first) {
        const QByteArray tailLine = line();
        e.tail = tailLine.startsWith("tail ") ? tailLine.mid(5).toInt(&ok) : -1;
        if (!ok || e.tail < 0)
            return std::nullopt;
    }
    while (at < bytes.size())
        e.rows << QString::fromUtf8(line());
    return e;
}

void Journal::clear() const
{
    // One left behind loses nothing: read() passes over it once a save has replaced the file it
    // was written against, and after a discard the next start only offers those changes again.
    (void)ref::removeFile(m_path);
}

} // namespace qrt::domain
