#include "WindowFit.h"

#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qrt::app
{

namespace
{
// Room beside the title for a title bar's icon and its buttons.
constexpr int kTitleBarButtons = 140;
} // namespace

QRect WindowFit::fitted(QSize wanted, QSize minimum, const QRect &available)
{
    const QSize size = wanted.expandedTo(minimum).boundedTo(available.size());
    QRect r(QPoint(), size);
    r.moveCenter(available.center());
    return r;
}

int WindowFit::titleWidth(const QWidget *window, const QString &title)
{
    QString shown = title;
    shown.remove(QStringLiteral("[*]"));
    // Window systems add the program's name to every title, as Qt does on X11 and Wayland.
    const QString program = QGuiApplication::applicationDisplayName();
    if (!program.isEmpty() && shown != program)
        shown += QStringLiteral(" \u2014 ") + program;
    QFont font = window->font();
    font.setBold(true); // most title bars are bold
    return QFontMetrics(font).horizontalAdvance(shown) + kTitleBarButtons;
}

void WindowFit::fitDialog(QWidget *dialog)
{
    const QScreen *screen = dialog->screen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    const int wide = std::min(titleWidth(dialog, dialog->windowTitle()), free.width());
    if (dialog->minimumWidth() < wide)
        dialog->setMinimumWidth(wide);
    dialog->setMaximumSize(dialog->maximumSize().boundedTo(free.size()));
    if (dialog->width() < wide || dialog->height() > free.height())
        dialog->resize(std::max(dialog->width(), wide), std::min(dialog->height(), free.height()));
}

bool WindowFit::eventFilter(QObject *watched, QEvent *event)
{
    // A dialog is fitted as it is about to appear, once its own layout has sized it.
    if (event->type() == QEvent::Show)
        if (auto *dialog = qobject_cast<QDialog *>(watched); dialog && dialog->isWindow())
            fitDialog(dialog);
    return QObject::eventFilter(watched, event);
}

} // namespace qrt::app
