#pragma once

#include "CallLog.h"

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
    QVariantList specials; // the bonus numbers, the second handed out by "GetSpecialAt"(2)
};

/// Draws written as lines "issue n n n +b b", each value as a string, or as a 32-bit number
/// when @p asNumbers; and back.
std::vector<DrawData> parseDraws(const QStringList &lines, bool asNumbers = false);
QString formatDraw(const DrawData &draw);

/// An in-memory lottery object that logs every call in CallLog as "Lottery.Member(...)".
/// "Item" hands out the lottery itself, its draw chosen, to answer "Item.Member(...)": the
/// control fetches every value through a fresh "Item" call. Its draws can be replaced by
/// ReadData from a file that RecordingLotterys wrote. The second drum's members answer only
/// when their value is set; otherwise the lottery lacks them.
class RecordingLottery : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant StartItem READ startItem WRITE setStartItem)
    Q_PROPERTY(QVariant EndItem READ endItem WRITE setEndItem)

public:
    using QObject::QObject;

    /// A lottery of @p total basic numbers from @p mini to @p maxi, with a bonus number when
    /// @p bonus; @p draws as parseDraws() reads them, every value a string.
    static RecordingLottery *make(int total, int mini, int maxi, bool bonus,
                                  const QStringList &draws = {}, QObject *parent = nullptr);

    Q_INVOKABLE QVariant TotalNumber() { return logged("Lottery.TotalNumber", {}, totalNumber); }
    Q_INVOKABLE QVariant HasSpecial() { return logged("Lottery.HasSpecial", {}, hasSpecial); }
    Q_INVOKABLE QVariant MiniNumber() { return logged("Lottery.MiniNumber", {}, miniNumber); }
    Q_INVOKABLE QVariant MaxNumber() { return logged("Lottery.MaxNumber", {}, maxNumber); }
    Q_INVOKABLE QVariant Count()
    {
        const QVariant n = countOverride.isValid() ? countOverride : QVariant(qint32(draws.size()));
        return logged("Lottery.Count", {}, n);
    }
    Q_INVOKABLE QObject *Item(const QVariant &i)
    {
        m_item = logged("Lottery.Item", {i}, i).toInt() - 1;
        return this;
    }
    Q_INVOKABLE QVariant GetIssue() { return logged("Item.GetIssue", {}, item().issue); }
    Q_INVOKABLE QVariant GetNumber(const QVariant &j)
    {
        return logged("Item.GetNumber", {j}, item().numbers.value(j.toInt() - 1));
    }
    Q_INVOKABLE QVariant GetSpecial()
    {
        return logged("Item.GetSpecial", {}, item().specials.value(0));
    }
    Q_INVOKABLE QVariant GetSpecialAt(const QVariant &k)
    {
        return logged("Item.GetSpecialAt", {k}, item().specials.value(k.toInt() - 1));
    }
    Q_INVOKABLE QVariant ReadData(const QVariant &path);
    Q_INVOKABLE QVariant SpecialCount() { return drum("SpecialCount", specialCount); }
    Q_INVOKABLE QVariant SpecialMiniNumber() { return drum("SpecialMiniNumber", specialMini); }
    Q_INVOKABLE QVariant SpecialMaxNumber() { return drum("SpecialMaxNumber", specialMax); }

    QVariant startItem() const { return m_start; }
    void setStartItem(const QVariant &v) { m_start = logged("Lottery.StartItem=", {v}, v); }
    QVariant endItem() const { return m_end; }
    void setEndItem(const QVariant &v) { m_end = logged("Lottery.EndItem=", {v}, v); }

    QVariant totalNumber;
    QVariant hasSpecial;
    QVariant miniNumber;
    QVariant maxNumber;
    QVariant countOverride; // when valid, "Count" answers this instead of the number of draws
    QVariant specialCount;
    QVariant specialMini;
    QVariant specialMax;
    std::vector<DrawData> draws;

private:
    static QVariant drum(const char *member, const QVariant &value);
    const DrawData &item() const { return draws.at(size_t(m_item)); }
    int m_item = 0;
    QVariant m_start;
    QVariant m_end;
};

} // namespace qrt::doubles
