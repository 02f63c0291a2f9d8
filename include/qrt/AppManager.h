#pragma once

#include <qrt/qrt_export.h>

#include <QVariant>
#include <QWidget>

#include <memory>
#include <optional>
#include <utility>

namespace qrt
{

class AppManagerPrivate;

/// The draw history control.
///
/// A host window embeds it and hands it, in this order:
/// - its system store, SetSystemStore(): the record store the control reads the application
///   name and the last files from when it saves. Without one, a save fails with error 91
///   ("Object variable or With block variable not set"), reported like any other failure;
/// - its two issue range lists, SetIssueControl(): each save refills them with the saved
///   issues. They stay ordinary QComboBoxes to the host, whose own clear(), addItem() and
///   setCurrentIndex() work on them before, during and after a fill, and they keep what a
///   fill put in them when the control is gone;
/// - the lottery object, InitData(): its draws fill the grid. Only the first complete load
///   counts: a second InitData() on the same control does nothing at all, so a host that
///   shows another lottery makes a new control.
///
/// Where a save writes: the file "User.ltk" in the folder held by the per-user setting
/// "Path" / "Path" of the application named by the store (qrt::getSetting(appName, "Path",
/// "Path")). The folder's text and "User.ltk" are joined as they are, so the setting must end
/// in a separator ("/home/me/draws/"); without the setting the file is "User.ltk" in the
/// process's working folder. A host sets it before the first save with
/// qrt::saveSetting(appName, "Path", "Path", folder).
///
/// A public method that fails throws qrt::RuntimeError. A failure inside a command or an
/// input handler is emitted as errorOccurred(); with nothing connected to it, it is shown in
/// a message box. Host objects are held through QPointer and never deleted by the control.
class QRT_EXPORT AppManager : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool modified READ isModified WRITE setModified NOTIFY modifiedChanged)

public:
    /// Makes the control with its buttons, its grid and the grid's editor, empty until InitData().
    explicit AppManager(QWidget *parent = nullptr);
    /// Leaves every host object alive: the control never deletes what it did not create.
    ~AppManager() override;

    /// Loads the draws of the lottery object into the grid, under catalogue headers, with an
    /// empty entry row at the bottom made current. Works once per control: after a complete
    /// load every later call returns at once and changes nothing, without an error. A failing host
    /// call ends the load with the grid as far as it got, and the next call starts again.
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

    /// Keeps the host's system store, replacing any earlier one. A save needs it (error 91
    /// without one); it names the application whose "Path" setting holds the save folder.
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

    /// Whether undo() would do anything.
    bool canUndo() const;
    /// Whether redo() would do anything.
    bool canRedo() const;

    /// The issue of the current row; "" on the entry row (and before any load).
    Q_INVOKABLE QString currentIssue() const;

    /// How many draw rows at the top and at the bottom of the grid no edit, paste, Insert,
    /// Delete, undo or redo has touched since the last load or save: those rows still hold
    /// what was loaded, so a host that keeps the user's changes safe need only look between
    /// them. A touched row may hold its old text again; it is counted as touched.
    std::pair<int, int> untouchedDrawRows() const;

public Q_SLOTS:
    /// Does what a click on Save does: validation, the save with its messages, the refill of
    /// the grid and of the range lists. Any failure is caught and reported through
    /// errorOccurred() (a message box when nothing is connected). Returns true when
    /// validation passed and the save ran to its end; false when validation stopped it, there
    /// was nothing to save, or something failed.
    bool save();
    /// Makes the row holding @p issue current, scrolled to the top, with the editor on its
    /// first cell. Returns false, and nothing moves, when no draw row holds it.
    bool goToIssue(const QString &issue);

    /// Undoes the last cell edit, block paste, Insert or Delete since the last load or save
    /// (Ctrl+Z in the editor); a host puts it in its Edit menu.
    void undo();
    /// Does again what undo() undid (Ctrl+Shift+Z or Ctrl+Y in the editor).
    void redo();

Q_SIGNALS:
    /// A failure inside a command or an input handler, with its classic error number.
    void errorOccurred(int number, const QString &description);
    /// isModified() became @p modified.
    void modifiedChanged(bool modified);
    /// canUndo() or canRedo() changed.
    void undoStateChanged();
    /// currentIssue() became @p issue: another row was made current, or the current row's
    /// issue was typed.
    void currentIssueChanged(const QString &issue);
    /// The Input button was clicked; the control does nothing else with it.
    void importClicked();
    /// The Output button was clicked; the control does nothing else with it.
    void exportClicked();

protected:
    /// Lays the children out for the new size.
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class AppManagerPrivate;
    std::unique_ptr<AppManagerPrivate> const d;
};

} // namespace qrt
