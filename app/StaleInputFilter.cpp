#include "StaleInputFilter.h"

#include <QCoreApplication>
#include <QEvent>

namespace qrt::app
{

StaleInputFilter::StaleInputFilter(QObject *parent) : QObject(parent)
{
    m_until.setSingleShot(true);
    connect(&m_until, &QTimer::timeout, this,
            [this] { QCoreApplication::instance()->removeEventFilter(this); });
}

void StaleInputFilter::dropFor(int milliseconds)
{
    if (!m_until.isActive())
        QCoreApplication::instance()->installEventFilter(this);
    m_until.start(milliseconds);
}

bool StaleInputFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace qrt::app
