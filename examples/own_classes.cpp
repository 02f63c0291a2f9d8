// A host with its own lottery and draw classes, no reference host: the control reaches every
// member below by name (see <qrt/HostContract.h>). A pick-3 lottery of 1 to 20, kept as text
// lines "issue n n n". --smoke saves once without a user and exits with 0 when the file holds
// the draws in order.
#include <qrt/QRTDataManager.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSaveFile>
#include <QVBoxLayout>

#include <algorithm>

// One draw, both as the lottery hands it out and as a save fills it.
class Draw : public QObject
{
    Q_OBJECT
public:
    QString issue;
    QList<qint32> numbers{0, 0, 0};

    Q_INVOKABLE QString GetIssue() const { return issue; }
    Q_INVOKABLE qint32 GetNumber(qint32 j) const { return numbers.value(j - 1); }
    Q_INVOKABLE qint32 GetSpecial() const { return 0; }
    Q_INVOKABLE void SetIssue(const QString &text) { issue = text; }
    Q_INVOKABLE void SetNumber(qint32 j, qint32 value)
    {
        if (j < 1 || j > numbers.size())
            throw qrt::RuntimeError(9);
        numbers[j - 1] = value;
    }
    Q_INVOKABLE void OrderNumbers() { std::sort(numbers.begin(), numbers.end()); }
    Q_INVOKABLE void SetSpecial(qint32) {}

    QByteArray line() const
    {
        return QStringLiteral("%1 %2 %3 %4\n")
            .arg(issue)
            .arg(numbers[0])
            .arg(numbers[1])
            .arg(numbers[2])
            .toUtf8();
    }
};

// The draws of one save. The control deletes it, and every draw it adds, after the save.
class DrawCollection : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE void AddItem(QObject *draw) { m_lines += qobject_cast<Draw *>(draw)->line(); }
    Q_INVOKABLE qint32 SaveData(const QString &path)
    {
        // Written beside the old file and renamed over it, so a failure leaves the old one.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(m_lines) != m_lines.size() ||
            !file.commit())
            throw qrt::RuntimeError(75, file.errorString());
        return qint32(m_lines.count('\n'));
    }
    Q_INVOKABLE qint32 SaveData(const QString &path, bool) { return SaveData(path); }

private:
    QByteArray m_lines;
};

class Lottery : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint32 TotalNumber READ total CONSTANT)
    Q_PROPERTY(bool HasSpecial READ bonus CONSTANT)
    Q_PROPERTY(qint32 MiniNumber READ mini CONSTANT)
    Q_PROPERTY(qint32 MaxNumber READ maxi CONSTANT)
    Q_PROPERTY(qint32 Count READ count)
    Q_PROPERTY(QVariant StartItem MEMBER start)
    Q_PROPERTY(QVariant EndItem MEMBER end)
public:
    qint32 total() const { return 3; }
    bool bonus() const { return false; }
    qint32 mini() const { return 1; }
    qint32 maxi() const { return 20; }
    qint32 count() const { return qint32(m_draws.size()); }

    Q_INVOKABLE QObject *Item(qint32 i) const
    {
        if (i < 1 || i > count())
            throw qrt::RuntimeError(9);
        return m_draws[i - 1];
    }
    Q_INVOKABLE qint32 ReadData(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw qrt::RuntimeError(53, file.errorString());
        qDeleteAll(m_draws);
        m_draws.clear();
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() != 4)
                continue;
            auto *draw = new Draw;
            draw->setParent(this);
            draw->issue = QString::fromUtf8(parts[0]);
            for (int j = 0; j < 3; ++j)
                draw->numbers[j] = parts[j + 1].toInt();
            m_draws.append(draw);
        }
        return count();
    }

    QVariant start, end;

private:
    QList<Draw *> m_draws;
};

// The system store: records addressed by their key and third value, kept in memory here.
class Store : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint32 GetRSSize READ size)
    Q_PROPERTY(QString GetRSContent READ content)
public:
    QMap<QString, QString> records;

    Q_INVOKABLE void QueryRecord(const QVariant &, const QVariant &key, const QVariant &third,
                                 const QVariant &, const QVariant &, const QVariant &)
    {
        m_selected = address(key, third);
    }
    Q_INVOKABLE void AddRecord(const QVariant &, const QVariant &key, const QVariant &third,
                               const QVariant &, const QVariant &, const QVariant &content)
    {
        records.insert(address(key, third), content.toString());
    }
    Q_INVOKABLE void EditRecord(const QVariant &, const QVariant &key, const QVariant &third,
                                const QVariant &, const QVariant &, const QVariant &content)
    {
        records.insert(address(key, third), content.toString());
    }
    qint32 size() const { return records.contains(m_selected) ? 1 : 0; }
    QString content() const { return records.value(m_selected); }

private:
    static QString address(const QVariant &key, const QVariant &third)
    {
        return key.toString() + u'/' + third.toString();
    }
    QString m_selected;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    const bool smoke = args.removeAll(QStringLiteral("--smoke")) > 0;
    const QString folder = QDir(args.value(0, QDir::currentPath())).absolutePath();

    // The classes a save creates by name; the control deletes what it created.
    qrt::registerClass(QString::fromLatin1(qrt::host::kLotterysClass),
                       [] { return new DrawCollection; });
    qrt::registerClass(QString::fromLatin1(qrt::host::kLotteryClass), [] { return new Draw; });

    Store store;
    store.records.insert(QString::fromLatin1(qrt::host::kRecordCaption) + QStringLiteral("/0"),
                         QStringLiteral("OwnClassesExample"));
    qrt::saveSetting(QStringLiteral("OwnClassesExample"), QStringLiteral("Path"),
                     QStringLiteral("Path"), folder + u'/');
    const QString saved = folder + QStringLiteral("/User.ltk");
    if (!QFile::exists(saved)) {
        QSaveFile seed(saved);
        if (!seed.open(QIODevice::WriteOnly) || seed.write("1 7 3 12\n2 20 1 9\n") < 0 ||
            !seed.commit())
            return 2;
    }
    Lottery lottery;
    lottery.ReadData(saved);

    QWidget window;
    auto *control = new qrt::AppManager;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(control);
    control->SetSystemStore(&store);
    control->InitData(&lottery);
    window.show();

    if (smoke) {
        QFile file(saved);
        return control->save() && file.open(QIODevice::ReadOnly) &&
                       file.readAll() == "1 3 7 12\n2 1 9 20\n"
                   ? 0
                   : 1;
    }
    return app.exec();
}

#include "own_classes.moc"
