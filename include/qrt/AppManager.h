#pragma once

#include <qrt/qrt_export.h>

#include <QVariant>
#include <QWidget>

#include <memory>
#include <optional>

namespace qrt
{

class AppManagerPrivate;

/// The draw history control. A host window embeds it, hands over its system store
/// (SetSystemStore), its two issue range lists (SetIssueControl) and the lottery object
/// (InitData); the user then edits, checks and saves the draws in the grid.
///
/// A public method that fails throws qrt::RuntimeError. A failure inside a command or an
/// input handler is emitted as errorOccurred(); with nothing connected to it, it is shown in
/// a message box. Host objects are held through QPointer and never deleted by the control.
class QRT_EXPORT AppManager : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool modified READ isModified WRITE setModified NOTIFY modifiedChanged)

public:
    explicit AppManager(QWidget *parent = nullptr);
    ~AppManager() override;

    /// Loads the draws of the lottery object into the grid, under catalogue headers, with an
    /// empty entry row at the bottom made current. Works once per control: after a complete
    /// load every later call returns at once. A failing host call ends the load with the grid
    /// as far as it got, and the next call starts again.
    void InitData(QObject *objCom);

    /// Writes the "|"-separated parts of @p strItem into the grid's current row, one per
    /// column; @p lngCol is ignored. Throws RuntimeError 9, after writing what it had, when
    /// there are fewer parts than columns. Returns an invalid QVariant.
    QVariant AddItem(const QString &strItem, qint32 lngCol);

    /// Sets the button captions from the catalogue; the argument is not used.
    void ChangeLocale(std::optional<qint32> lngLoc = std::nullopt);

    /// Drops every host object the control holds. The grid keeps its contents, and a loaded
    /// control stays loaded.
    void EraseALl();

    /// Keeps the host's system store, replacing any earlier one.
    void SetSystemStore(QObject *objCom);

    /// Keeps the host's two issue range lists; each must be a QComboBox (RuntimeError 13
    /// otherwise, after the first has been kept).
    void SetIssueControl(QObject *objStart, QObject *objEnd);

    /// Whether the user changed the grid (typed into a cell, inserted or deleted rows) since
    /// the last complete InitData or successful save. A host asks before dropping such work.
    bool isModified() const;
    /// Marks the grid as changed (or not) by the host, for changes it made itself, such as
    /// draws it loaded through InitData that are not saved yet. A save clears it.
    void setModified(bool modified);

    /// Whether undo() / redo() would do anything.
    bool canUndo() const;
    bool canRedo() const;

public Q_SLOTS:
    /// Undoes the last cell edit, block paste, Insert or Delete since the last load or save
    /// (Ctrl+Z in the editor); a host puts it in its Edit menu.
    void undo();
    /// Does again what undo() undid (Ctrl+Shift+Z or Ctrl+Y in the editor).
    void redo();

Q_SIGNALS:
    void errorOccurred(int number, const QString &description);
    /// isModified() became @p modified.
    void modifiedChanged(bool modified);
    /// canUndo() or canRedo() changed.
    void undoStateChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class AppManagerPrivate;
    std::unique_ptr<AppManagerPrivate> const d;
};

} // namespace qrt
