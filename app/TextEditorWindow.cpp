#include "TextEditorWindow.h"
#include "WindowFit.h"
#include <qrt/MsgBox.h>
#include <qrt/refhost/AtomicFile.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

namespace qrt::app
{

TextEditorWindow::TextEditorWindow(const QString &path, QWidget *parent)
    : QWidget(parent, Qt::Window), m_path(path), m_editor(new QPlainTextEdit)
{
    m_editor->setObjectName(QStringLiteral("textEditor"));
    m_editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFile file(path);
    QString title = QFileInfo(path).fileName() + QStringLiteral("[*]");
    if (file.open(QIODevice::ReadOnly))
        m_editor->setPlainText(QString::fromUtf8(file.readAll()));
    else if (file.exists())
        title = tr("%1 (not read: %2)").arg(title, file.errorString());
    setWindowTitle(title);
    m_editor->document()->setModified(false);
    connect(m_editor->document(), &QTextDocument::modificationChanged, this,
            &QWidget::setWindowModified);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Close);
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this,
            &TextEditorWindow::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_editor, 1);
    layout->addWidget(buttons);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        setGeometry(
            WindowFit::fitted(QSize(720, 520), minimumSizeHint(), screen->availableGeometry()));
}

bool TextEditorWindow::save()
{
    const ref::Status s = ref::writeFileAtomically(m_path, m_editor->toPlainText().toUtf8());
    if (!s.landed()) {
        msgBox(tr("%1 was not saved: %2").arg(m_path, s.message()), MsgBoxStop, windowTitle());
        return false;
    }
    if (!s.ok())
        msgBox(tr("%1 was saved, but: %2").arg(m_path, s.message()), MsgBoxStop, windowTitle());
    m_editor->document()->setModified(false);
    return true;
}

void TextEditorWindow::closeEvent(QCloseEvent *event)
{
    if (!m_editor->document()->isModified()) {
        event->accept();
        return;
    }
    switch (msgBox(tr("%1 was changed. Save it?").arg(m_path), MsgBoxQuestionYesNoCancel,
                   tr("Edit Text File"))) {
    case MsgBoxYes:
        event->setAccepted(save());
        return;
    case MsgBoxNo:
        event->accept();
        return;
    default:
        event->ignore();
    }
}

bool TextEditorWindow::desktopOpens(const QString &file)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // xdg-open starts without waiting and reports nothing when no program takes the file:
    // the user would click and see nothing happen.
    const QString mime = QStringLiteral("xdg-mime");
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty() ||
        QStandardPaths::findExecutable(mime).isEmpty())
        return false;
    QProcess query;
    query.start(mime, {QStringLiteral("query"), QStringLiteral("default"),
                       QMimeDatabase().mimeTypeForFile(file).name()});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
#else
    Q_UNUSED(file)
    return true;
#endif
}

void TextEditorWindow::open(const QString &, const QString &file)
{
    if (file.isEmpty())
        return;
    if (desktopOpens(file) && QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        return;
    // Closed with the program's window, whose draw file it is.
    auto *window = new TextEditorWindow(file, QApplication::activeWindow());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

} // namespace qrt::app
