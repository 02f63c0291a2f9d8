#include "FlexGridDelegate_p.h"

#include <QApplication>
#include <QPainter>

namespace qrt
{

namespace
{
// Enough for every number of any lottery and a screenful of issues.
constexpr qsizetype kMaxKeptTexts = 4096;
} // namespace

const QStaticText &FlexGridDelegate::laidOut(const QString &text, const QFont &font) const
{
    if (font != m_font) {
        m_texts.clear();
        m_font = font;
    }
    auto it = m_texts.find(text);
    if (it == m_texts.end()) {
        if (m_texts.size() >= kMaxKeptTexts)
            m_texts.clear();
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font);
        it = m_texts.insert(text, laid);
    }
    return it.value();
}

void FlexGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    if (option.state & QStyle::State_HasFocus) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    const QString text = index.data(Qt::DisplayRole).toString();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
    const QStaticText *laid = text.isEmpty() ? nullptr : &laidOut(text, option.font);
    if (laid && laid->size().width() > textRect.width()) {
        QStyledItemDelegate::paint(painter, option, index); // elided by the style
        return;
    }

    // The colours the style's item view path uses.
    const bool enabled = widget ? widget->isEnabled() : bool(option.state & QStyle::State_Enabled);
    QPalette::ColorGroup group = enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    } else {
        const QVariant background = index.data(Qt::BackgroundRole);
        if (background.isValid())
            painter->fillRect(option.rect, background.value<QBrush>());
    }
    if (!laid)
        return;
    const auto align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    const QRect at = QStyle::alignedRect(option.direction, align, laid->size().toSize(), textRect);
    const QPen old = painter->pen();
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawStaticText(at.topLeft(), *laid);
    painter->setPen(old);
}

} // namespace qrt
