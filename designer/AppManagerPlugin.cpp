#include "AppManagerPlugin.h"

#include <qrt/AppManager.h>

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace qrt
{

AppManagerPlugin::AppManagerPlugin(QObject *parent) : QObject(parent) {}

QString AppManagerPlugin::name() const
{
    return QStringLiteral("qrt::AppManager");
}

QString AppManagerPlugin::group() const
{
    return QStringLiteral("QRT Data Manager");
}

// Drawn here rather than loaded, so that Designer needs no image format plugin for it: a
// button row over a grid with a highlighted number, as the control looks.
QIcon AppManagerPlugin::icon() const
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(0x33, 0x47, 0x5b));
    p.setBrush(QColor(0xdd, 0xe6, 0xef));
    p.drawRect(1, 1, 29, 6);
    p.setBrush(Qt::white);
    p.drawRect(1, 10, 29, 20);
    for (int y = 15; y < 30; y += 5)
        p.drawLine(1, y, 30, y);
    for (int x = 9; x < 30; x += 7)
        p.drawLine(x, 10, x, 30);
    p.fillRect(17, 21, 6, 4, QColor(0xe0, 0x7a, 0x1f));
    p.end();
    return QIcon(pixmap);
}

QString AppManagerPlugin::toolTip() const
{
    return tr("Draw history of a lottery: a grid to edit, check and save the draws");
}

QString AppManagerPlugin::whatsThis() const
{
    return tr("The draw history control. The host hands it a system store (SetSystemStore), "
              "two issue range lists (SetIssueControl) and a lottery object (InitData); the "
              "user then types, checks and saves the draws in its grid. save(), goToIssue(), "
              "currentIssue(), undo() and redo() let the host's own menus drive it.");
}

QString AppManagerPlugin::includeFile() const
{
    return QStringLiteral("qrt/AppManager.h");
}

QString AppManagerPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"qrt::AppManager\" name=\"appManager\">\n"
                          "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>560</width>"
                          "<height>320</height></rect></property>\n"
                          " </widget>\n"
                          " <customwidgets>\n"
                          "  <customwidget>\n"
                          "   <class>qrt::AppManager</class>\n"
                          "   <header location=\"global\">qrt/AppManager.h</header>\n"
                          "  </customwidget>\n"
                          " </customwidgets>\n"
                          "</ui>\n");
}

bool AppManagerPlugin::isContainer() const
{
    return false;
}

bool AppManagerPlugin::isInitialized() const
{
    return m_initialized;
}

void AppManagerPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QWidget *AppManagerPlugin::createWidget(QWidget *parent)
{
    return new AppManager(parent);
}

} // namespace qrt
