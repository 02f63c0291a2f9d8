#include <qrt/CommonDialog.h>

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace qrt
{

namespace
{
std::function<void(CommonDialog &)> &handler()
{
    static std::function<void(CommonDialog &)> h;
    return h;
}
} // namespace

CommonDialog::CommonDialog(QObject *parent) : QObject(parent) {}

void CommonDialog::setShowOpenHandler(std::function<void(CommonDialog &)> h)
{
    handler() = std::move(h);
}

QString CommonDialog::toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        QString description = parts[i];
        // A description that already names its patterns keeps them; Qt reads the
        // parenthesised part as the patterns, so give it the real ones.
        const qsizetype paren = description.indexOf(u'(');
        if (paren >= 0)
            description.truncate(paren);
        out << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns);
    }
    return out.join(QStringLiteral(";;"));
}

void CommonDialog::ShowOpen()
{
    if (handler()) {
        handler()(*this);
        return;
    }
    m_fileName = QFileDialog::getOpenFileName(QApplication::activeWindow(), m_title, m_initDir,
                                              toQtFilter(m_filter));
}

} // namespace qrt
