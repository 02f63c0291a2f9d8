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
    Q_PROPERTY(bool spreadsheetKeys READ spreadsheetKeys WRITE setSpreadsheetKeys)
    Q_PROPERTY(bool markRuleBreaks READ markRuleBreaks WRITE setMarkRuleBreaks)

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
    /// The current cell's column: 0 the issue, 1 to "TotalNumber" the basic numbers, then the
    /// bonus numbers. After a Check or a save that validation stopped, the current cell is the
    /// cell it stopped on, so currentIssue() and currentColumn() name it.
    Q_INVOKABLE int currentColumn() const;

    /// Keys as a spreadsheet has them; off by default, where the keys are the classic ones.
    /// On:
    /// - Tab and Shift+Tab go to the next and the previous cell, wrapping round the rows; Tab
    ///   in a row's last cell does what Enter does there. Ctrl+Tab (Ctrl+Shift+Tab) gives the
    ///   focus to the host's widget after (before) the control.
    /// - Ctrl+Home goes to the first draw's first cell, Ctrl+End to the entry row's first cell;
    ///   Ctrl+Up and Ctrl+Down to the first and the last row, in the same column.
    /// - Home and End go to the row's first and last cell when the editor's whole text is
    ///   selected; otherwise they move the caret.
    /// - Shift+Up and Shift+Down, and Shift+Left and Shift+Right where Left and Right would
    ///   leave the cell, extend a rectangle of selected cells from the current cell, as
    ///   Shift+click does. With more than one cell selected, Ctrl+C copies the cells as text
    ///   (cells divided by tabs, each row ended by a line break, as spreadsheets paste it),
    ///   Ctrl+X copies and clears them, Delete clears them; clearing is one undo step. With one
    ///   cell selected these keys act on the editor's text.
    /// - A character typed while the grid rather than the editor has the focus (after Page
    ///   Down, a drag of the scroll bar, a right click), or that no widget of the control's
    ///   window takes (a button had the focus, or the menu bar after a menu was closed by
    ///   Escape), goes to the editor, which is opened over the current cell, scrolled into
    ///   view. Such a key is taken before the window's own key handling; keys of menus and
    ///   dialogs stay theirs.
    /// - A pasted line of a draw file ("2024001 03 12 13 16 23 41 + 07") has its lone "+"
    ///   before the bonus skipped.
    bool spreadsheetKeys() const;
    void setSpreadsheetKeys(bool on);

    /// Marks cells that break a validation rule as they are typed; off by default. On: such a
    /// cell is painted light red, with the message Check would give for it as its tool tip
    /// (also on the editor standing over it). The rules are those Check applies to the lottery
    /// as it is; no message box is shown until Check or Save, whose messages do not change.
    /// Only rows being painted are judged, so a million draws cost no more than a screenful.
    /// An issue that repeats an earlier one is found by halving where the issues rise, as
    /// histories do; in a grid of at most 20,000 draws also where they do not.
    bool markRuleBreaks() const;
    void setMarkRuleBreaks(bool on);

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
    /// How far a long job has come: @p done of @p total rows. Emitted only for jobs of at
    /// least 10,000 rows, at most 101 times a job: when it starts (0), at each further
    /// hundredth, and when it ends (@p total). The jobs, named by @p what: the load of
    /// InitData ("Loading..."), the checking of Check and Save (message 30, "Checking..."),
    /// the draws handed to the host by Save (message 29, "Saving ...") and the refill after it
    /// (message 31, "Updating..."). The control does not return to the event loop meanwhile:
    /// a host that shows the progress repaints its widget in the slot.
    void progress(const QString &what, int done, int total);
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
