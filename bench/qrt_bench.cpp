// Measures the control on large draw histories through its public interface and the
// reference host, next to a QTableWidget filled the naive way, and prints min / median / max
// of several runs. Memory growth is measured in a fresh child process per size.

#include <qrt/QRTDataManager.h>

#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawObjects.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

#include "DrawStatistics.h"
#include "MainWindow.h"
#include "TinyServer.h"
#include "VariantHost.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
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
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <numeric>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace qrt;

namespace
{

struct Config {
    QString label;
    ref::LotteryShape shape;
    int draws;
    bool variantHost = false; // members taking and returning QVariant
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

long long rssKb(const char *field, const QString &process = QStringLiteral("self"))
{
    QFile f(QStringLiteral("/proc/%1/status").arg(process));
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

// The baseline: the cell texts put into a QTableWidget row by row, as a naive control would.
void fillNaively(QTableWidget &table, const Config &cfg, const ref::DrawList &draws)
{
    const int cols = cfg.shape.total + 1 + (cfg.shape.bonus ? 1 : 0);
    table.setColumnCount(cols);
    for (int i = 0; i < draws.size(); ++i) {
        table.insertRow(i);
        table.setItem(i, 0, new QTableWidgetItem(draws.issue(i)));
        for (int j = 0; j < cfg.shape.total; ++j)
            table.setItem(i, j + 1, new QTableWidgetItem(QString::number(draws.number(i, j))));
        if (cfg.shape.bonus)
            table.setItem(i, cols - 1, new QTableWidgetItem(QString::number(draws.bonus(i))));
    }
}

// One run of every scenario on a fresh control.
void runOnce(const Config &cfg, const ref::DrawList &draws, const QString &dataDir, Samples &out,
             bool baseline)
{
    ref::Lottery referenceLottery(cfg.shape);
    VariantLottery variantLottery(cfg.shape);
    QObject *lottery = &referenceLottery;
    if (cfg.variantHost) {
        variantLottery.inner.setDraws(draws);
        lottery = &variantLottery;
        registerVariantClasses(cfg.shape);
    } else {
        referenceLottery.setDraws(draws);
        ref::registerClasses([&] { return cfg.shape; });
    }
    ref::SqliteStore store(dataDir + QStringLiteral("/store.db"));
    store.setRecord(QStringLiteral("QRTManagerCaption"), QStringLiteral("QRTBench"));
    saveSetting(QStringLiteral("QRTBench"), QStringLiteral("Path"), QStringLiteral("Path"),
                dataDir + u'/');

    AppManager control;
    control.resize(1000, 700);
    control.show();
    control.activateWindow();
    QElapsedTimer wait;
    wait.start();
    while (QApplication::activeWindow() != &control && wait.elapsed() < 2000)
        QApplication::processEvents();
    control.SetSystemStore(&store);
    // As every host that shows a range does: the save refills both lists.
    QComboBox startList, endList;
    control.SetIssueControl(&startList, &endList);
    QElapsedTimer t;

    t.start();
    control.InitData(lottery);
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
    out[QStringLiteral("3 save + re-read + refill, lists")].push_back(ms(t));
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

    // With the marks of broken rules on, a keystroke judges the rows in view again as they
    // are painted; the same keystroke and repaint without them is its baseline.
    for (const bool marks : {false, true}) {
        control.setMarkRuleBreaks(marks);
        grid->setRow(grid->Rows() / 2);
        grid->setCol(1);
        QApplication::processEvents();
        t.start();
        key(editor, Qt::Key_8, QStringLiteral("8"));
        grid->repaint();
        out[marks ? QStringLiteral("4d keystroke + repaint, marks on")
                  : QStringLiteral("4e keystroke + repaint, marks off")]
            .push_back(ms(t));
    }
    control.setMarkRuleBreaks(false);
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
    t.start();
    control.undo();
    out[QStringLiteral("5c undo the 1,000-row delete")].push_back(ms(t));
    QApplication::processEvents();
    setMsgBoxHandler({});
    control.EraseALl();

    if (baseline) {
        QTableWidget table;
        table.resize(1000, 700);
        table.show();
        t.start();
        fillNaively(table, cfg, draws);
        out[QStringLiteral("7 baseline: QTableWidget fill")].push_back(ms(t));
    }
}

// In a fresh child process, as a user starting the program meets it: the time of one load
// (or of the baseline's fill) and the growth of the resident set from before it to its peak.
// A process that has filled a table once reuses the freed memory the next time, which makes
// repeated runs in one process several times faster for the baseline.
int measureFresh(const Config &cfg, bool baseline)
{
    const ref::DrawList draws = makeDraws(cfg.shape, cfg.draws);
    ref::Lottery lottery(cfg.shape);
    lottery.setDraws(draws);
    std::unique_ptr<QWidget> widget;
    if (baseline)
        widget = std::make_unique<QTableWidget>();
    else
        widget = std::make_unique<AppManager>();
    widget->resize(1000, 700);
    widget->show();
    QApplication::processEvents();
    const long long before = rssKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    if (baseline)
        fillNaively(*static_cast<QTableWidget *>(widget.get()), cfg, draws);
    else
        static_cast<AppManager *>(widget.get())->InitData(&lottery);
    const double elapsed = ms(t);
    QApplication::processEvents();
    const long long peak = rssKb("VmHWM:");
    std::printf("%.2f %lld\n", elapsed, (peak - before) / 1024);
    std::fflush(stdout);
    // The teardown of a million items is not part of any figure.
    std::_Exit(0);
}

// A run of the program in a child of its own, with that child's own peak memory.
struct ChildRun {
    double ms = 0;
    long peakKb = 0;
    int code = -1;
};

ChildRun runProgram(const QStringList &args)
{
    std::vector<QByteArray> storage{QByteArrayLiteral(QRT_PROGRAM)};
    for (const QString &a : args)
        storage.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &b : storage)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    ChildRun run;
    QElapsedTimer t;
    t.start();
    // What the program prints is not part of the table.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0)
        return run;
    // Its peak is read from its own memory while it runs: the rusage of a spawned child starts
    // from the parent's resident set, which says nothing of the program.
    for (;;) {
        siginfo_t ended{};
        if (waitid(P_PID, id_t(pid), &ended, WEXITED | WNOWAIT | WNOHANG) != 0)
            return run;
        if (ended.si_pid == pid)
            break;
        run.peakKb = std::max(run.peakKb, long(rssKb("VmHWM:", QString::number(pid))));
        usleep(2000);
    }
    run.ms = ms(t);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// One table of the program-level scenarios: min, median and max of each.
void printSamples(const QString &title, Samples &samples)
{
    std::printf("%s\n  %-36s %10s %10s %10s\n", qPrintable(title), "scenario", "min", "median",
                "max");
    for (auto &[name, values] : samples) {
        std::sort(values.begin(), values.end());
        std::printf("  %-36s %10.2f %10.2f %10.2f\n", qPrintable(name), values.front(),
                    values[values.size() / 2], values.back());
    }
    std::printf("\n");
    std::fflush(stdout);
}

// A keno result file as lotteries publish it: a header, a draw number, a date, the numbers
// and a multiplier that the import ignores.
QByteArray publishedCsv(const ref::DrawList &draws)
{
    QByteArray csv = "Draw Number,Draw Date";
    for (int j = 1; j <= draws.total(); ++j)
        csv += ",Ball " + QByteArray::number(j);
    csv += ",Multiplier\n";
    csv.reserve(qsizetype(draws.size()) * 80);
    for (int i = 0; i < draws.size(); ++i) {
        csv += draws.issueView(i).toLatin1() + ",2020-01-01";
        for (int j = 0; j < draws.total(); ++j)
            csv += ',' + QByteArray::number(draws.number(i, j));
        csv += ",2\n";
    }
    return csv;
}

// The command line on a published result file of @p draws draws: an import into an empty
// lottery, and an update from a server on this machine that adds one draw to what the import
// made. The baseline reads the same file whole and counts its lines, the least any reader does.
void measureImport(int draws, int runs)
{
    const ref::LotteryShape keno = *ref::LotteryShape::parse(QStringLiteral("keno"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("published.csv"));
    const ref::DrawList all = makeDraws(keno, draws + 1);
    QByteArray csv = publishedCsv(all);
    const QByteArray withoutLast = csv.left(csv.lastIndexOf('\n', csv.size() - 2) + 1);
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(withoutLast) != withoutLast.size())
            return;
    }
    test::ServerThread server([&csv](test::TinyServer &s) { s.body = csv; });
    const QString url = server.url().toString();
    Samples samples;
    for (int r = 0; r < runs; ++r) {
        const QString data = dir.filePath(QStringLiteral("data%1").arg(r));
        const ChildRun imported =
            runProgram({"--data-dir", data, "--lottery", "keno", "--import", file});
        QElapsedTimer t;
        t.start();
        QFile f(file);
        if (imported.code != 0 || !f.open(QIODevice::ReadOnly) ||
            f.readAll().count('\n') != draws + 1) {
            std::fprintf(stderr, "the import of the published file failed\n");
            return;
        }
        samples[QStringLiteral("P6b baseline: read it, count lines")].push_back(ms(t));
        samples[QStringLiteral("P6 --import published CSV")].push_back(imported.ms);
        samples[QStringLiteral("P6m its peak memory, MB")].push_back(double(imported.peakKb) /
                                                                     1024);
        const ChildRun updated =
            runProgram({"--data-dir", data, "--lottery", "keno", "--update", url});
        if (updated.code != 0) {
            std::fprintf(stderr, "the update failed\n");
            return;
        }
        samples[QStringLiteral("P7 --update adding one draw")].push_back(updated.ms);
        samples[QStringLiteral("P7m its peak memory, MB")].push_back(double(updated.peakKb) / 1024);
        QDir(data).removeRecursively();
    }
    printSamples(QStringLiteral("the command line on a published keno CSV, %1 draws (%2 MB)")
                     .arg(draws)
                     .arg(withoutLast.size() >> 20),
                 samples);
}

// The program as its users meet it, on a keno archive of @p draws draws that its own import
// made: a start in a fresh process until the window is shown (and written to a file), opening
// a text draw file of as many lines, and a save of them through the program.
void measureProgram(int draws, int runs)
{
    const ref::LotteryShape keno = *ref::LotteryShape::parse(QStringLiteral("keno"));
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("keno.txt"));
    const QString data = dir.filePath(QStringLiteral("data"));
    {
        QFile f(text);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(ref::formatTextDraws(makeDraws(keno, draws))) < 0)
            return;
    }
    if (runProgram({"--data-dir", data, "--lottery", "keno", "--import", text}).code != 0) {
        std::fprintf(stderr, "the import that makes the archive failed\n");
        return;
    }
    Samples samples;
    for (int r = 0; r < runs; ++r) {
        const ChildRun start = runProgram({"--data-dir", data, "--lottery", "keno", "--screenshot",
                                           dir.filePath(QStringLiteral("shot.png"))});
        if (start.code != 0) {
            std::fprintf(stderr, "a program start failed\n");
            return;
        }
        samples[QStringLiteral("P1 start to shown window, fresh")].push_back(start.ms);
        samples[QStringLiteral("P1m its peak memory, MB")].push_back(double(start.peakKb) / 1024);
    }
    {
        app::MainWindow window(data, keno);
        window.show();
        QApplication::processEvents();
        setMsgBoxHandler([](const QString &, int, const QString &) { return int(MsgBoxOk); });
        for (int r = 0; r < runs; ++r) {
            QElapsedTimer t;
            t.start();
            if (!window.openDrawFile(text))
                return;
            samples[QStringLiteral("P2 open a text draw file")].push_back(ms(t));
            QApplication::processEvents();
            t.start();
            if (!window.save())
                return;
            samples[QStringLiteral("P3 save, written back too")].push_back(ms(t));
            QApplication::processEvents();
            t.start();
            if (!window.exportCsv(dir.filePath(QStringLiteral("keno.csv"))))
                return;
            samples[QStringLiteral("P4 export as CSV")].push_back(ms(t));
            t.start();
            const app::DrawStatistics stats = app::DrawStatistics::of(
                keno, window.lottery()->draws(), 0, window.lottery()->Count() - 1);
            samples[QStringLiteral("P5 statistics of every draw")].push_back(ms(t));
            if (stats.draws != draws)
                return;
        }
        setMsgBoxHandler({});
    }
    printSamples(QStringLiteral("the program on keno 20 of 80, %1 draws").arg(draws), samples);
}

QList<Config> configs(const QStringList &sizes, int keno, int variant)
{
    const ref::LotteryShape lotto = *ref::LotteryShape::parse(QStringLiteral("6:1-49+"));
    QList<Config> list;
    for (const QString &s : sizes)
        list << Config{QStringLiteral("6+1 of 49, %1 draws").arg(s.toInt()), lotto, s.toInt()};
    if (keno > 0)
        list << Config{QStringLiteral("keno 20 of 80, %1 draws").arg(keno),
                       *ref::LotteryShape::parse(QStringLiteral("keno")), keno};
    if (variant > 0)
        list << Config{
            QStringLiteral("keno 20 of 80, %1 draws, a host of QVariant members").arg(variant),
            *ref::LotteryShape::parse(QStringLiteral("keno")), variant, true};
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
    const int variant = option(args, QStringLiteral("--variant"), QStringLiteral("0")).toInt();
    const QList<Config> all = configs(sizes, keno, variant);

    const QString freshFor = option(args, QStringLiteral("--fresh"), QString());
    if (!freshFor.isEmpty())
        return measureFresh(all.at(freshFor.toInt()),
                            args.contains(QStringLiteral("--fresh-baseline")));

    const bool baseline = !args.contains(QStringLiteral("--no-baseline"));
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
            runOnce(cfg, draws, data.path(), samples, baseline);
        }
        // The same load (and fill) once per fresh process, with its memory growth.
        auto fresh = [&](bool ofBaseline) {
            QStringList childArgs{QStringLiteral("--fresh"),   QString::number(c),
                                  QStringLiteral("--sizes"),   sizes.join(u','),
                                  QStringLiteral("--keno"),    QString::number(keno),
                                  QStringLiteral("--variant"), QString::number(variant)};
            if (ofBaseline)
                childArgs << QStringLiteral("--fresh-baseline");
            QProcess child;
            child.start(QApplication::applicationFilePath(), childArgs);
            child.waitForFinished(-1);
            const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
            if (fields.size() != 2) {
                std::fprintf(stderr, "a fresh run failed\n");
                return;
            }
            const QString what = ofBaseline ? QStringLiteral("7f baseline, fresh process")
                                            : QStringLiteral("1f load, fresh process");
            samples[what].push_back(fields[0].toDouble());
            samples[ofBaseline ? QStringLiteral("6b baseline memory growth, MB")
                               : QStringLiteral("6 memory growth from load, MB")]
                .push_back(fields[1].toDouble());
        };
        // The fresh-process figures are of the reference host alone.
        for (int r = 0; r < runs && !cfg.variantHost; ++r) {
            fresh(false);
            if (baseline)
                fresh(true);
        }

        std::printf("%s\n", qPrintable(cfg.label));
        std::printf("  %-32s %10s %10s %10s\n", "scenario", "min", "median", "max");
        std::map<QString, double> medians;
        for (auto &[name, values] : samples) {
            std::sort(values.begin(), values.end());
            const double median = values[values.size() / 2];
            medians[name.section(u' ', 0, 0)] = median;
            std::printf("  %-32s %10.2f %10.2f %10.2f\n", qPrintable(name), values.front(), median,
                        values.back());
        }
        auto ratio = [&](const char *label, const char *base, const char *ours) {
            const double b = medians[QLatin1String(base)], o = medians[QLatin1String(ours)];
            if (b > 0 && o > 0)
                std::printf("  %s: %.1f times\n", label, b / o);
        };
        ratio("load vs QTableWidget fill, same process", "7", "1");
        ratio("load vs QTableWidget fill, fresh process", "7f", "1f");
        ratio("memory of the QTableWidget vs the load", "6b", "6");
        std::printf("\n");
        std::fflush(stdout);
    }
    const int program =
        option(args, QStringLiteral("--program"), QStringLiteral("1000000")).toInt();
    if (program > 0)
        measureProgram(program, runs);
    const int imported =
        option(args, QStringLiteral("--import"), QStringLiteral("1000000")).toInt();
    if (imported > 0)
        measureImport(imported, runs);
    return 0;
}
