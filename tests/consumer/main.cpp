// Builds against the installed package only, as a host would: the control is embedded, the
// reference host's lottery object is filled from a text draw file and loaded into it, and a
// bad call reports the classic error number.
#include <qrt/QRTDataManager.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawObjects.h>
#include <qrt/refhost/Lottery.h>

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qrt::AppManager control;
    auto *grid = control.findChild<qrt::FlexGrid *>(QStringLiteral("msfData"));
    if (!grid)
        return 2;
    try {
        control.InitData(nullptr);
        return 3;
    } catch (const qrt::RuntimeError &e) {
        if (e.number() != 91)
            return 4;
    }

    const auto shape = qrt::ref::LotteryShape::parse(QStringLiteral("6of49"));
    const qrt::ref::ReadResult read = qrt::ref::readTextDraws(
        "2026001 03 12 13 16 23 41 + 07\n2026002 05 06 31 39 44 49 + 01\n", *shape);
    if (!read.ok())
        return 5;
    qrt::ref::Lottery lottery(*shape);
    qrt::ref::registerClasses([&] { return lottery.shape(); });
    lottery.setDraws(read.draws);
    control.InitData(&lottery);
    // The header row, two draws and the empty entry row.
    if (grid->Rows() != 4 || grid->TextArray(grid->Cols() * 2 + 6) != QStringLiteral("49"))
        return 6;
    std::printf("a host built against the installed package loaded %d draws\n", lottery.Count());
    return 0;
}
