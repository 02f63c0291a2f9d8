#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace qrt
{

/// Paints grid cells from texts laid out once and kept: a draw history shows the same few
/// dozen numbers over and over, and the style's path lays out every text three times per
/// paint (size, elision, drawing), which made paging through a wide lottery slow. A cell that
/// needs more than plain text (a focus frame, an elided text) is painted the standard way.
class FlexGridDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    const QStaticText &laidOut(const QString &text, const QFont &font) const;

    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
};

} // namespace qrt
