#include "KeySynthesis.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace qrt
{

namespace
{
struct KeyPair {
    int vk;
    int qt;
};
constexpr KeyPair kKeys[] = {
    {8, Qt::Key_Backspace}, {9, Qt::Key_Tab},     {13, Qt::Key_Return},   {27, Qt::Key_Escape},
    {32, Qt::Key_Space},    {33, Qt::Key_PageUp}, {34, Qt::Key_PageDown}, {35, Qt::Key_End},
    {36, Qt::Key_Home},     {37, Qt::Key_Left},   {38, Qt::Key_Up},       {39, Qt::Key_Right},
    {40, Qt::Key_Down},     {45, Qt::Key_Insert}, {46, Qt::Key_Delete},
};
} // namespace

int qtKeyForVirtualKey(int virtualKey)
{
    for (const KeyPair &k : kKeys)
        if (k.vk == virtualKey)
            return k.qt;
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return virtualKey; // Qt uses the same codes for digits and letters
    return 0;
}

int virtualKeyForQtKey(int qtKey)
{
    if (qtKey == Qt::Key_Enter)
        return 13;
    for (const KeyPair &k : kKeys)
        if (k.qt == qtKey)
            return k.vk;
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
    return 0;
}

void synthesizeKey(int virtualKey)
{
    const int key = qtKeyForVirtualKey(virtualKey);
    if (key == 0 || !qApp)
        return;
    // The target is chosen on delivery, not now: the caller usually moves the focus right
    // after asking for the key.
    QMetaObject::invokeMethod(
        qApp,
        [key] {
            QPointer<QWidget> target = QApplication::focusWidget();
            if (!target)
                return;
            QString text;
            if (key == Qt::Key_Return)
                text = QStringLiteral("\r");
            else if (key == Qt::Key_Space)
                text = QStringLiteral(" ");
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(target, &press);
        },
        Qt::QueuedConnection);
}

} // namespace qrt
