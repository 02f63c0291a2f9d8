// Builds against the installed package only, and checks that the umbrella header's classes
// link and work: a control is created, its grid found by name, and a bad call reports the
// classic error number.
#include <qrt/QRTDataManager.h>

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
    } catch (const qrt::RuntimeError &e) {
        std::printf("InitData(nullptr) failed with %d as expected\n", e.number());
        return e.number() == 91 ? 0 : 3;
    }
    return 4;
}
