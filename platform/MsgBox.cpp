#include <qrt/MsgBox.h>

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace qrt
{

namespace
{

std::function<int(const QString &, int, const QString &)> &handler()
{
    static std::function<int(const QString &, int, const QString &)> h;
    return h;
}

// Without a screen nobody can click: the box is written to standard error and answered as
// its default button would be.
bool headless()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

int defaultAnswer(int style)
{
    const int buttons = style & 0x0F;
    return buttons == 3 || buttons == 4 ? MsgBoxYes : MsgBoxOk;
}

int showQMessageBox(const QString &prompt, int style, const QString &title)
{
    if (headless()) {
        const int answer = defaultAnswer(style);
        std::fprintf(stderr, "%s: %s [%s]\n", qPrintable(title), qPrintable(prompt),
                     answer == MsgBoxYes ? "answered Yes" : "OK");
        return answer;
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    const int icon = style & 0xF0;
    box.setIcon(icon == 16   ? QMessageBox::Critical
                : icon == 32 ? QMessageBox::Question
                : icon == 48 ? QMessageBox::Warning
                : icon == 64 ? QMessageBox::Information
                             : QMessageBox::NoIcon);
    if ((style & 0x0F) == 3) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        return answer == QMessageBox::Yes  ? MsgBoxYes
               : answer == QMessageBox::No ? MsgBoxNo
                                           : MsgBoxCancel;
    }
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
