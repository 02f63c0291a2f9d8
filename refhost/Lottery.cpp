#include <qrt/RuntimeError.h>
#include <qrt/refhost/AtomicFile.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/Lottery.h>
#include <utility>

namespace qrt::ref
{

DrawItem::DrawItem(Lottery *lottery) : QObject(lottery), m_lottery(lottery) {}

QString DrawItem::GetIssue() const
{
    return m_lottery->m_draws.issue(m_index);
}

qint32 DrawItem::GetNumber(qint32 j) const
{
    if (j < 1 || j > m_lottery->m_draws.total())
        throw RuntimeError(9);
    return m_lottery->m_draws.number(m_index, j - 1);
}

qint32 DrawItem::GetSpecial() const
{
    if (!m_lottery->m_draws.hasBonus())
        throw RuntimeError(438, QStringLiteral("This lottery has no bonus number"));
    return m_lottery->m_draws.bonus(m_index);
}

qint32 DrawItem::GetSpecialAt(qint32 k) const
{
    if (k < 1 || k > m_lottery->m_draws.bonusCount())
        throw RuntimeError(9);
    return m_lottery->m_draws.bonus(m_index, k - 1);
}

namespace
{
qint32 ownBound(const LotteryShape &shape, int bound)
{
    if (!shape.bonus || !shape.ownDrum)
        throw RuntimeError(438, QStringLiteral("The bonus numbers of this lottery have no drum "
                                               "of their own"));
    return bound;
}
} // namespace

qint32 Lottery::SpecialMiniNumber() const
{
    return ownBound(m_shape, m_shape.bonusMini);
}

qint32 Lottery::SpecialMaxNumber() const
{
    return ownBound(m_shape, m_shape.bonusMaxi);
}

Lottery::Lottery(const LotteryShape &shape, QObject *parent)
    : QObject(parent), m_shape(shape), m_draws(shape.total, shape.bonuses())
{
    for (DrawItem *&item : m_items)
        item = new DrawItem(this);
}

QObject *Lottery::Item(qint32 i)
{
    if (i < 1 || i > m_draws.size())
        throw RuntimeError(9);
    DrawItem *item = m_items[m_nextItem];
    m_nextItem = (m_nextItem + 1) % m_items.size();
    item->m_index = i - 1;
    return item;
}

void Lottery::setShape(const LotteryShape &shape)
{
    m_shape = shape;
    m_draws = DrawList(shape.total, shape.bonuses());
}

void Lottery::setDraws(DrawList draws)
{
    m_draws = std::move(draws);
}

DrawList Lottery::takeDraws()
{
    return std::exchange(m_draws, DrawList(m_shape.total, m_shape.bonuses()));
}

ReadResult Lottery::load(const QString &path, Status *backup)
{
    QByteArray bytes;
    ReadResult r;
    if (const Status s = readDrawFileBytes(path, bytes); !s.ok()) {
        r.errors.push_back({0, s.message()});
        return r;
    }
    auto check = [&] {
        r = readUserData(bytes);
        if (r.ok() && !r.shape.sameDraws(m_shape))
            r.errors.push_back(
                {3, QStringLiteral("the file holds draws of %1 (%2), not of %3 (%4)")
                        .arg(r.shape.name, r.shape.id(), m_shape.name, m_shape.id())});
        return r.ok();
    };
    // A save first deletes the user data file and then writes it anew: the backup of the file
    // last read keeps these draws on disk until the new file is there. It is written while the
    // draws are checked, and kept only if they pass.
    Status kept;
    if (path.endsWith(QLatin1String(".bak")))
        check();
    else
        kept = keepLastGoodIf(path, bytes, check);
    if (r.ok()) {
        m_draws = std::move(r.draws);
        if (backup)
            *backup = kept;
    }
    return r;
}

qint32 Lottery::ReadData(const QString &path)
{
    Status backup;
    const ReadResult r = load(path, &backup);
    if (!r.ok())
        throw RuntimeError(62, r.describe(path, 20).join(u'\n'));
    Q_EMIT dataRead();
    // A copy in place but not confirmed on disk still protects the next save unless the power
    // fails first; failing the read for it would keep the control from showing the saved draws.
    if (!backup.landed())
        throw RuntimeError(75, QStringLiteral("The draws were saved, but the copy that protects "
                                              "them during the next save was not kept: %1")
                                   .arg(backup.message()));
    return m_draws.size();
}

} // namespace qrt::ref
