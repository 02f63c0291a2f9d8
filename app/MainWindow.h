#pragma once

#include "DataFolder.h"
#include <qrt/AppManager.h>
#include <qrt/refhost/LotteryShape.h>

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QActionGroup;
class QComboBox;
class QLabel;

namespace qrt
{

namespace ref
{
class Lottery;
class SqliteStore;
} // namespace ref
} // namespace qrt

namespace qrt::app
{

class FrequencyChart;

/// The desktop program: the lottery's name, the two issue range lists, the control and a
/// chart of how often each number was drawn in the chosen range.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    /// Opens the program on @p dataFolder (the user's data folder when empty), setting it up
    /// on the first run. Throws RuntimeError when the record store cannot be opened.
    explicit MainWindow(const QString &dataFolder = QString(), QWidget *parent = nullptr);
    ~MainWindow() override;

    AppManager *control() const { return m_control; }
    ref::Lottery *lottery() const { return m_lottery.get(); }
    QComboBox *startList() const { return m_start; }
    QComboBox *endList() const { return m_end; }
    FrequencyChart *chart() const { return m_chart; }
    bool showsSampleData() const;

    /// Switches to another lottery, each of which keeps its own draws.
    void switchLottery(const ref::LotteryShape &shape);
    /// Loads a text draw file into the grid and records it as the last file read; a file with
    /// broken rules is refused with every bad line listed.
    bool openDrawFile(const QString &path);

private:
    void buildMenus();
    void loadLottery(const ref::LotteryShape &shape);
    void buildControl();
    void fillRangeLists();
    void refreshChart();
    void updateTitle();
    void askForDrawFile();
    void askForCustomLottery();
    QString sampleKey() const;

    DataFolder m_folder;
    std::unique_ptr<ref::SqliteStore> m_store;
    std::unique_ptr<ref::Lottery> m_lottery;
    QPointer<AppManager> m_control;
    QWidget *m_controlHolder = nullptr;
    QLabel *m_name = nullptr;
    QComboBox *m_start = nullptr;
    QComboBox *m_end = nullptr;
    FrequencyChart *m_chart = nullptr;
    QActionGroup *m_lotteryActions = nullptr;
};

} // namespace qrt::app
