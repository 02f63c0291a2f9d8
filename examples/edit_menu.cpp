// A host window with its own Edit menu: Undo and Redo follow the control's undo state, the
// title's "*" its unsaved work, and Save saves. --smoke retypes an issue as a user would, undoes
// and redoes it, saves, and exits with 0 when every step showed in the menu and the title.
#include <qrt/QRTDataManager.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawObjects.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    const bool smoke = args.removeAll(QStringLiteral("--smoke")) > 0;
    const QString folder = QDir(args.value(0, QDir::currentPath())).absolutePath();

    const qrt::ref::LotteryShape shape = *qrt::ref::LotteryShape::parse(QStringLiteral("6of49"));
    qrt::ref::Lottery lottery(shape);
    lottery.setDraws(qrt::ref::readTextDraws("2026001 03 12 13 16 23 41 + 07\n"
                                             "2026002 05 06 31 39 44 49 + 01\n",
                                             shape)
                         .draws);
    qrt::ref::registerClasses([&] { return lottery.shape(); });
    qrt::ref::SqliteStore store(folder + QStringLiteral("/store.db"));
    store.setRecord(QString::fromLatin1(qrt::host::kRecordCaption),
                    QStringLiteral("EditMenuExample"));
    qrt::saveSetting(QStringLiteral("EditMenuExample"), QStringLiteral("Path"),
                     QStringLiteral("Path"), folder + u'/');

    QMainWindow window;
    auto *control = new qrt::AppManager;
    window.setCentralWidget(control);
    window.setWindowTitle(QStringLiteral("Draws[*]"));

    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction *save = file->addAction(QStringLiteral("&Save"), control, &qrt::AppManager::save);
    save->setShortcut(QKeySequence::Save);
    QMenu *edit = window.menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction *undo = edit->addAction(QStringLiteral("&Undo"), control, &qrt::AppManager::undo);
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = edit->addAction(QStringLiteral("&Redo"), control, &qrt::AppManager::redo);
    redo->setShortcut(QKeySequence::Redo);

    auto follow = [&] {
        undo->setEnabled(control->canUndo());
        redo->setEnabled(control->canRedo());
    };
    QObject::connect(control, &qrt::AppManager::undoStateChanged, &window, follow);
    QObject::connect(control, &qrt::AppManager::modifiedChanged, &window,
                     &QWidget::setWindowModified);
    follow();

    control->SetSystemStore(&store);
    control->InitData(&lottery);
    window.show();
    if (!smoke)
        return app.exec();

    // The second draw's issue retyped, key by key, into the grid's editor (by its object name).
    control->goToIssue(QStringLiteral("2026002"));
    auto *editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
    for (const QChar c : QStringLiteral("2026009")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + c.digitValue(), Qt::NoModifier, c);
        QApplication::sendEvent(editor, &press);
    }
    const bool typed = window.isWindowModified() && undo->isEnabled() && !redo->isEnabled() &&
                       control->currentIssue() == QStringLiteral("2026009");
    undo->trigger();
    const bool undone = !window.isWindowModified() && redo->isEnabled() &&
                        control->currentIssue() == QStringLiteral("2026002");
    redo->trigger();
    const bool redone = window.isWindowModified() && undo->isEnabled();
    save->trigger();
    const bool saved = !window.isWindowModified() && !undo->isEnabled() &&
                       QFile::exists(folder + QStringLiteral("/User.ltk"));
    return typed && undone && redone && saved ? 0 : 1;
}
