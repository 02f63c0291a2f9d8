#include <qrt/ShellExecute.h>

#include <QDesktopServices>
#include <QUrl>

namespace qrt
{

namespace
{
std::function<void(const QString &, const QString &)> &handler()
{
    static std::function<void(const QString &, const QString &)> h;
    return h;
}
} // namespace

void setShellExecuteHandler(std::function<void(const QString &, const QString &)> h)
{
    handler() = std::move(h);
}

void shellExecute(const QString &operation, const QString &file)
{
    if (handler()) {
        handler()(operation, file);
        return;
    }
    if (!file.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

} // namespace qrt
