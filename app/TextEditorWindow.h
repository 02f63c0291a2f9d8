#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace qrt::app
{

/// A plain editor for a text file, for a desktop that has no program to edit it with: Save
/// writes the file in one atomic step; the draws in the program are not read again from it.
class TextEditorWindow : public QWidget
{
    Q_OBJECT
public:
    /// Reads @p path; a file that cannot be read opens empty, with the reason in the title.
    explicit TextEditorWindow(const QString &path, QWidget *parent = nullptr);

    QPlainTextEdit *editor() const { return m_editor; }
    /// Writes the text to the file; false, after saying why, when it was not written.
    bool save();

    /// Opens @p file in the desktop's editor for it, or in a TextEditorWindow when the desktop
    /// has none: the program's shell-open hook (@p operation is always "Open").
    static void open(const QString &operation, const QString &file);
    /// Whether the desktop names a program that opens @p file.
    static bool desktopOpens(const QString &file);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString m_path;
    QPlainTextEdit *m_editor;
};

} // namespace qrt::app
