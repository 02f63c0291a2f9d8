#pragma once

#include <QObject>
#include <QVariant>

#include <vector>

namespace qrt::doubles
{

/// One draw as the recording lottery hands it out: each value exactly as the test set it,
/// so that a test can give the control numbers as strings, integers or anything else.
struct DrawData {
    QVariant issue;
    QVariantList numbers;
    QVariant special;
    QVariant special2; // the second bonus, handed out by a RecordingDrumLottery only
};

class RecordingLottery;

/// The object that "Item" returns; one per draw index, kept by the lottery.
class RecordingItem : public QObject
{
    Q_OBJECT
public:
    RecordingItem(RecordingLottery *lottery, int index);
    Q_INVOKABLE QVariant GetIssue();
    Q_INVOKABLE QVariant GetNumber(const QVariant &j);
    Q_INVOKABLE QVariant GetSpecial();

protected:
    const DrawData &draw() const;

private:
    RecordingLottery *m_lottery;
    int m_index;
};

/// An item with the second bonus: "GetSpecialAt"(2).
class RecordingDrumItem : public RecordingItem
{
    Q_OBJECT
public:
    using RecordingItem::RecordingItem;
    Q_INVOKABLE QVariant GetSpecialAt(const QVariant &k);
};

/// An in-memory lottery object that logs every call in CallLog as "Lottery.Member(...)"
/// (and "Item.Member(...)" for the draws it hands out). Its draws can be replaced by
/// ReadData from a file that RecordingLotterys wrote.
class RecordingLottery : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant StartItem READ startItem WRITE setStartItem)
    Q_PROPERTY(QVariant EndItem READ endItem WRITE setEndItem)

public:
    explicit RecordingLottery(QObject *parent = nullptr);

    /// A lottery of @p total basic numbers from @p mini to @p maxi, with a bonus number when
    /// @p bonus; @p draws are lines "issue n n n" with the bonus after "+", as strings.
    static RecordingLottery *make(int total, int mini, int maxi, bool bonus,
                                  const QStringList &draws = {}, QObject *parent = nullptr);

    Q_INVOKABLE QVariant TotalNumber();
    Q_INVOKABLE QVariant HasSpecial();
    Q_INVOKABLE QVariant MiniNumber();
    Q_INVOKABLE QVariant MaxNumber();
    Q_INVOKABLE QVariant Count();
    Q_INVOKABLE QObject *Item(const QVariant &i);
    Q_INVOKABLE QVariant ReadData(const QVariant &path);

    QVariant startItem() const { return m_start; }
    void setStartItem(const QVariant &v);
    QVariant endItem() const { return m_end; }
    void setEndItem(const QVariant &v);

    QVariant totalNumber;
    QVariant hasSpecial;
    QVariant miniNumber;
    QVariant maxNumber;
    QVariant countOverride; // when valid, "Count" answers this instead of the number of draws
    std::vector<DrawData> draws;

protected:
    virtual RecordingItem *makeItem(int index) { return new RecordingItem(this, index); }

private:
    friend class RecordingItem;
    std::vector<RecordingItem *> m_items;
    QVariant m_start;
    QVariant m_end;
};

/// A lottery that declares a second drum: "SpecialCount" and, unless they are invalid QVariants,
/// "SpecialMiniNumber" and "SpecialMaxNumber" (an invalid one is a member the lottery lacks);
/// its items answer "GetSpecialAt". Draw lines take the bonus numbers after "+", blank
/// separated.
class RecordingDrumLottery : public RecordingLottery
{
    Q_OBJECT
public:
    using RecordingLottery::RecordingLottery;
    static RecordingDrumLottery *make(int total, int mini, int maxi, int count, QVariant bonusMini,
                                      QVariant bonusMax, const QStringList &draws = {},
                                      QObject *parent = nullptr);

    Q_INVOKABLE QVariant SpecialCount();
    Q_INVOKABLE QVariant SpecialMiniNumber();
    Q_INVOKABLE QVariant SpecialMaxNumber();

    QVariant specialCount;
    QVariant specialMini;
    QVariant specialMax;

protected:
    RecordingItem *makeItem(int index) override { return new RecordingDrumItem(this, index); }
};

} // namespace qrt::doubles
