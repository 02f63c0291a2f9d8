#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace qrt::app
{

/// Keeps every window of the program on its screen, however large its fonts are scaled: the
/// main window opens within the free area of the screen, and each dialog is wide enough for its
/// whole title and no larger than that area.
class WindowFit : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    /// Where a window of @p wanted size goes in the free area @p available of a screen: as large
    /// as wanted, but never larger than the area (nor smaller than @p minimum where the area
    /// allows), centred in it.
    static QRect fitted(QSize wanted, QSize minimum, const QRect &available);
    /// The width at which a title bar shows @p title whole, with the program's name that the
    /// window system adds to it.
    static int titleWidth(const QWidget *window, const QString &title);
    /// Gives @p dialog a minimum width that shows its title whole and keeps it inside its
    /// screen's free area.
    static void fitDialog(QWidget *dialog);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace qrt::app
