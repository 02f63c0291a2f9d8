// The Designer plugin as Designer meets it: loaded by QPluginLoader from its file, asked for
// its widget's entry in the widget box, and asked to make one.
#include <qrt/AppManager.h>

#include <QPluginLoader>
#include <QTest>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsTheControl()
    {
        QPluginLoader loader(QStringLiteral(QRT_DESIGNER_PLUGIN));
        QVERIFY2(loader.load(), qPrintable(loader.errorString()));
        QCOMPARE(loader.metaData().value(QLatin1String("IID")).toString(),
                 QStringLiteral("org.qt-project.Qt.QDesignerCustomWidgetInterface"));
        auto *entry = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
        QVERIFY(entry);
        QCOMPARE(entry->name(), QStringLiteral("qrt::AppManager"));
        QCOMPARE(entry->includeFile(), QStringLiteral("qrt/AppManager.h"));
        QVERIFY(!entry->icon().isNull());
        QVERIFY(entry->domXml().contains(QStringLiteral("<widget class=\"qrt::AppManager\"")));
        QVERIFY(!entry->isContainer());

        QWidget form;
        QWidget *made = entry->createWidget(&form);
        QVERIFY(qobject_cast<qrt::AppManager *>(made));
        QCOMPARE(made->parent(), &form);
    }
};

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designerplugin.moc"
