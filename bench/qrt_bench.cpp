// Measures the control on large draw histories through its public interface and the
// reference host, next to a QTableWidget filled the naive way, and prints min / median / max
// of several runs. Memory growth is measured in a fresh child process per size.

#include <qrt/QRTDataManager.h>

#include "DrawObjects.h"
#include "Lottery.h"
#include "SqliteStore.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>

using namespace qrt;

namespace
{

struct Config {
    QString label;
    ref::LotteryShape shape;
    int draws;
};

ref::DrawList makeDraws(const ref::LotteryShape &shape, int n)
{
    QRandomGenerator rng(12345);
    ref::DrawList list(shape.total, shape.bonus);
    list.reserve(n);
    std::vector<qint32> pool(size_t(shape.maxi - shape.mini + 1));
    std::iota(pool.begin(), pool.end(), shape.mini);
    const int needed = shape.total + (shape.bonus ? 1 : 0);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < needed; ++k)
            std::swap(pool[size_t(k)],
                      pool[size_t(k) + rng.bounded(quint32(pool.size()) - quint32(k))]);
        std::vector<qint32> v(pool.begin(), pool.begin() + needed);
        std::sort(v.begin(), v.begin() + shape.total);
        list.append(QString::number(10000000 + i), v.data(), shape.bonus ? v.back() : 0);
    }
    return list;
}

long long rssKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return -1;
}

double ms(QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

void key(QWidget *target, int qtKey, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
}

using Samples = std::map<QString, std::vector<double>>;

// One run of every scenario on a fresh control.
void runOnce(const Config &cfg, const ref::DrawList &draws, const QString &dataDir, Samples &out,
             bool baseline)
{
    ref::Lottery lottery(cfg.shape);
    lottery.setDraws(draws);
    ref::SqliteStore store(dataDir + QStringLiteral("/store.db"));
    store.setRecord(QStringLiteral("QRTManagerCaption"), QStringLiteral("QRTBench"));
    saveSetting(QStringLiteral("QRTBench"), QStringLiteral("Path"), QStringLiteral("Path"),
                dataDir + u'/');
    ref::registerClasses([&] { return cfg.shape; });

    AppManager control;
    control.resize(1000, 700);
    control.show();
    control.activateWindow();
    QElapsedTimer wait;
    wait.start();
    while (QApplication::activeWindow() != &control && wait.elapsed() < 2000)
        QApplication::processEvents();
    control.SetSystemStore(&store);
    QElapsedTimer t;

    t.start();
    control.InitData(&lottery);
    out[QStringLiteral("1 load (InitData)")].push_back(ms(t));
    QApplication::processEvents();
    if (qEnvironmentVariableIsSet("QRT_BENCH_ONLY_LOAD"))
        return;

    setMsgBoxHandler(
        [](const QString &, int style, const QString &) { return style == 36 ? 6 : 1; });
    auto *grid = control.findChild<FlexGrid *>(QStringLiteral("msfData"));
    auto *editor = control.findChild<QLineEdit *>(QStringLiteral("txtEdit"));
    auto click = [&](const char *name) {
        control.findChild<QPushButton *>(QLatin1String(name))->click();
    };

    t.start();
    click("btnDataValidate");
    out[QStringLiteral("2 check validity")].push_back(ms(t));
    if (qEnvironmentVariableIsSet("QRT_BENCH_ONLY_CHECK")) {
        // For profiling the check alone: repeat it until it outweighs the load.
        for (int k = 0; k < 10; ++k)
            click("btnDataValidate");
        setMsgBoxHandler({});
        return;
    }

    t.start();
    click("btnSave");
    out[QStringLiteral("3 save + re-read + refill")].push_back(ms(t));
    QApplication::processEvents();

    grid->setRow(grid->Rows() / 2);
    grid->setCol(1);
    t.start();
    key(editor, Qt::Key_5, QStringLiteral("5"));
    out[QStringLiteral("4a keystroke, middle row")].push_back(ms(t));
    QApplication::processEvents();

    grid->setRow(grid->Rows() - 1);
    grid->setCol(0);
    t.start();
    key(editor, Qt::Key_7, QStringLiteral("7"));
    out[QStringLiteral("4b keystroke, entry row")].push_back(ms(t));
    QApplication::processEvents();

    grid->setRow(grid->Rows() / 2);
    control.activateWindow();
    wait.start();
    while (QApplication::activeWindow() != &control && wait.elapsed() < 2000)
        QApplication::processEvents();
    editor->setFocus();
    t.start();
    key(editor, Qt::Key_PageDown);
    while ((!editor->isVisible() || grid->Row() == grid->Rows() / 2) && t.elapsed() < 5000)
        QApplication::processEvents();
    if (grid->Row() == grid->Rows() / 2)
        std::fprintf(stderr, "page down did not move the current row\n");
    out[QStringLiteral("4c page down, editor back")].push_back(ms(t));

    grid->setRow(1);
    t.start();
    click("btnInsert");
    out[QStringLiteral("5a insert on row 1")].push_back(ms(t));
    QApplication::processEvents();

    grid->setRow(1);
    grid->setRowSel(std::min(1000, grid->Rows() - 2));
    t.start();
    click("btnDel");
    out[QStringLiteral("5b delete 1,000 rows")].push_back(ms(t));
    QApplication::processEvents();
    setMsgBoxHandler({});
    control.EraseALl();

    if (baseline) {
        QTableWidget table;
        table.resize(1000, 700);
        table.show();
        const int cols = cfg.shape.total + 1 + (cfg.shape.bonus ? 1 : 0);
        t.start();
        table.setColumnCount(cols);
        for (int i = 0; i < draws.size(); ++i) {
            table.insertRow(i);
            table.setItem(i, 0, new QTableWidgetItem(draws.issue(i)));
            for (int j = 0; j < cfg.shape.total; ++j)
                table.setItem(i, j + 1, new QTableWidgetItem(QString::number(draws.number(i, j))));
            if (cfg.shape.bonus)
                table.setItem(i, cols - 1, new QTableWidgetItem(QString::number(draws.bonus(i))));
        }
        out[QStringLiteral("7 baseline: QTableWidget fill")].push_back(ms(t));
    }
}

// In a child process: the growth of the resident set from before the load to its peak.
int measureMemory(const Config &cfg)
{
    const ref::DrawList draws = makeDraws(cfg.shape, cfg.draws);
    ref::Lottery lottery(cfg.shape);
    lottery.setDraws(draws);
    AppManager control;
    control.resize(1000, 700);
    control.show();
    QApplication::processEvents();
    const long long before = rssKb("VmRSS:");
    control.InitData(&lottery);
    QApplication::processEvents();
    const long long peak = rssKb("VmHWM:");
    std::printf("%lld\n", (peak - before) / 1024);
    return 0;
}

QList<Config> configs(const QStringList &sizes, int keno)
{
    const ref::LotteryShape lotto = *ref::LotteryShape::parse(QStringLiteral("6:1-49+"));
    QList<Config> list;
    for (const QString &s : sizes)
        list << Config{QStringLiteral("6+1 of 49, %1 draws").arg(s.toInt()), lotto, s.toInt()};
    if (keno > 0)
        list << Config{QStringLiteral("keno 20 of 80, %1 draws").arg(keno),
                       *ref::LotteryShape::parse(QStringLiteral("keno")), keno};
    return list;
}

QString option(const QStringList &args, const QString &name, const QString &fallback)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int runs = option(args, QStringLiteral("--runs"), QStringLiteral("5")).toInt();
    const QStringList sizes =
        option(args, QStringLiteral("--sizes"), QStringLiteral("10000,100000,1000000")).split(u',');
    const int keno = option(args, QStringLiteral("--keno"), QStringLiteral("100000")).toInt();
    const QList<Config> all = configs(sizes, keno);

    const QString memoryFor = option(args, QStringLiteral("--memory"), QString());
    if (!memoryFor.isEmpty())
        return measureMemory(all.at(memoryFor.toInt()));

    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       dir.filePath(QStringLiteral("settings")));
    std::printf(
        "QRT Data Manager benchmark: %d runs per figure, milliseconds (min / median / max)\n\n",
        runs);
    for (int c = 0; c < all.size(); ++c) {
        const Config &cfg = all[c];
        const ref::DrawList draws = makeDraws(cfg.shape, cfg.draws);
        Samples samples;
        for (int r = 0; r < runs; ++r) {
            QTemporaryDir data;
            runOnce(cfg, draws, data.path(), samples,
                    !args.contains(QStringLiteral("--no-baseline")));
        }
        QProcess child;
        child.start(QApplication::applicationFilePath(),
                    {QStringLiteral("--memory"), QString::number(c), QStringLiteral("--sizes"),
                     sizes.join(u','), QStringLiteral("--keno"), QString::number(keno)});
        child.waitForFinished(-1);
        const QByteArray memory = child.readAllStandardOutput().trimmed();

        std::printf("%s\n", qPrintable(cfg.label));
        std::printf("  %-32s %10s %10s %10s\n", "scenario", "min", "median", "max");
        double loadMedian = 0, baselineMedian = 0;
        for (auto &[name, values] : samples) {
            std::sort(values.begin(), values.end());
            const double median = values[values.size() / 2];
            if (name.startsWith(QLatin1String("1 ")))
                loadMedian = median;
            if (name.startsWith(QLatin1String("7 ")))
                baselineMedian = median;
            std::printf("  %-32s %10.2f %10.2f %10.2f\n", qPrintable(name), values.front(), median,
                        values.back());
        }
        std::printf("  %-32s %10s MB\n", "6 memory growth from the load", memory.constData());
        if (baselineMedian > 0 && loadMedian > 0)
            std::printf("  load is %.1f times faster than the QTableWidget fill\n",
                        baselineMedian / loadMedian);
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}
