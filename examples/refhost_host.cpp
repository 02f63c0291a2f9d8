// A host on the reference host: the lottery object, the draw classes and the system store all
// come from QRT::RefHost. Run it with a folder for its files (or none, for the user's data
// folder); --smoke saves once without a user and exits with 0 when the save landed.
#include <qrt/QRTDataManager.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawObjects.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QStandardPaths>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("refhost-example"));
    QStringList args = QApplication::arguments().mid(1);
    const bool smoke = args.removeAll(QStringLiteral("--smoke")) > 0;

    // Where the files go: one folder holds the store and the saved draws ("User.ltk").
    const QString folder =
        QDir(args.value(0, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)))
            .absolutePath();
    QDir().mkpath(folder);

    // The lottery object, and the draw classes a save creates by name, of the same shape.
    const qrt::ref::LotteryShape shape = *qrt::ref::LotteryShape::parse(QStringLiteral("6of49"));
    qrt::ref::Lottery lottery(shape);
    qrt::ref::registerClasses([&] { return lottery.shape(); });
    const QString saved = folder + QStringLiteral("/User.ltk");
    if (QFile::exists(saved))
        lottery.load(saved);
    else
        lottery.setDraws(qrt::ref::readTextDraws("2026001 03 12 13 16 23 41 + 07\n"
                                                 "2026002 05 06 31 39 44 49 + 01\n",
                                                 shape)
                             .draws);

    // The store names the application ("QRTManagerCaption") whose per-user setting
    // "Path"/"Path" is the folder a save writes "User.ltk" into. The folder must end in a
    // separator: without the setting, the save lands in the working folder; without a store,
    // it fails with error 91.
    qrt::ref::SqliteStore store(folder + QStringLiteral("/store.db"));
    store.setRecord(QString::fromLatin1(qrt::host::kRecordCaption),
                    QStringLiteral("RefHostExample"));
    qrt::saveSetting(QStringLiteral("RefHostExample"), QStringLiteral("Path"),
                     QStringLiteral("Path"), folder + u'/');

    QWidget window;
    auto *from = new QComboBox;
    auto *to = new QComboBox;
    auto *control = new qrt::AppManager;
    auto *range = new QHBoxLayout;
    range->addWidget(from);
    range->addWidget(to);
    auto *layout = new QVBoxLayout(&window);
    layout->addLayout(range);
    layout->addWidget(control);

    // The order matters: the store and the lists first, the lottery last. InitData works
    // once per control; a second call does nothing.
    control->SetSystemStore(&store);
    control->SetIssueControl(from, to);
    control->ChangeLocale();
    control->InitData(&lottery);
    window.resize(800, 500);
    window.show();

    if (smoke)
        return control->save() && QFile::exists(saved) && to->count() == lottery.Count() ? 0 : 1;
    return app.exec();
}
