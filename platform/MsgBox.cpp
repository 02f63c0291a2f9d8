#include <qrt/MsgBox.h>

#include <QApplication>
#include <QMessageBox>

namespace qrt
{

namespace
{

std::function<int(const QString &, int, const QString &)> &handler()
{
    static std::function<int(const QString &, int, const QString &)> h;
    return h;
}

int showQMessageBox(const QString &prompt, int style, const QString &title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    const int icon = style & 0xF0;
    box.setIcon(icon == 16   ? QMessageBox::Critical
                : icon == 32 ? QMessageBox::Question
                : icon == 48 ? QMessageBox::Warning
                : icon == 64 ? QMessageBox::Information
                             : QMessageBox::NoIcon);
    if ((style & 0x0F) == 4) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MsgBoxYes : MsgBoxNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgBoxOk;
}

} // namespace

void setMsgBoxHandler(std::function<int(const QString &, int, const QString &)> h)
{
    handler() = std::move(h);
}

int msgBox(const QString &prompt, int style, const QString &title)
{
    if (handler())
        return handler()(prompt, style, title);
    return showQMessageBox(prompt, style, title);
}

} // namespace qrt
