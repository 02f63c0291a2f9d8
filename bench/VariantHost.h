#pragma once

#include <qrt/refhost/DrawObjects.h>
#include <qrt/refhost/Lottery.h>

#include <QObject>
#include <QVariant>

#include <array>

// A host written the common late-bound way: every member takes and returns QVariant. It keeps
// its draws in the reference host's objects, so that only the boxing differs from them. The
// four classes are one host and are measured together.

class VariantItem : public QObject
{
    Q_OBJECT
public:
    explicit VariantItem(qrt::ref::Lottery *lottery, QObject *parent)
        : QObject(parent), m_lottery(lottery)
    {
    }
    Q_INVOKABLE QVariant GetIssue() const { return m_lottery->draws().issue(index); }
    Q_INVOKABLE QVariant GetNumber(const QVariant &j) const
    {
        return m_lottery->draws().number(index, j.toInt() - 1);
    }
    Q_INVOKABLE QVariant GetSpecial() const { return m_lottery->draws().bonus(index); }

    int index = 0;

private:
    qrt::ref::Lottery *m_lottery;
};

class VariantLottery : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant StartItem MEMBER m_start)
    Q_PROPERTY(QVariant EndItem MEMBER m_end)
public:
    explicit VariantLottery(const qrt::ref::LotteryShape &shape);

    Q_INVOKABLE QVariant TotalNumber() const { return inner.TotalNumber(); }
    Q_INVOKABLE QVariant HasSpecial() const { return inner.HasSpecial(); }
    Q_INVOKABLE QVariant MiniNumber() const { return inner.MiniNumber(); }
    Q_INVOKABLE QVariant MaxNumber() const { return inner.MaxNumber(); }
    Q_INVOKABLE QVariant Count() const { return inner.Count(); }
    Q_INVOKABLE QVariant Item(const QVariant &i);
    Q_INVOKABLE QVariant ReadData(const QVariant &path) { return inner.ReadData(path.toString()); }

    qrt::ref::Lottery inner;

private:
    std::array<VariantItem *, 4> m_items{};
    size_t m_next = 0;
    QVariant m_start;
    QVariant m_end;
};

class VariantDraw : public QObject
{
    Q_OBJECT
public:
    explicit VariantDraw(bool keepOrder) : inner(keepOrder) {}
    Q_INVOKABLE void SetIssue(const QVariant &issue) { inner.SetIssue(issue.toString()); }
    Q_INVOKABLE void SetNumber(const QVariant &j, const QVariant &v)
    {
        inner.SetNumber(j.toInt(), v.toInt());
    }
    Q_INVOKABLE void OrderNumbers() { inner.OrderNumbers(); }
    Q_INVOKABLE void SetSpecial(const QVariant &v) { inner.SetSpecial(v.toInt()); }

    qrt::ref::Draw inner;
};

class VariantDraws : public QObject
{
    Q_OBJECT
public:
    explicit VariantDraws(const qrt::ref::LotteryShape &shape) : m_inner(shape) {}
    Q_INVOKABLE void AddItem(const QVariant &draw);
    Q_INVOKABLE QVariant SaveData(const QVariant &path)
    {
        return m_inner.SaveData(path.toString());
    }
    Q_INVOKABLE QVariant SaveData(const QVariant &path, const QVariant &textFile)
    {
        return m_inner.SaveData(path.toString(), textFile.toBool());
    }

private:
    qrt::ref::DrawCollection m_inner;
};

/// Registers the draw classes of this host under the names the control creates.
void registerVariantClasses(const qrt::ref::LotteryShape &shape);
