#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace qrt::app
{

/// The program's message box, with the styles and answers of qrt::msgBox: a long message, such
/// as the bad lines of a refused file, is shown in a box that scrolls, no taller than two
/// thirds of the screen, with a button that copies the whole message.
class MessageDialog : public QDialog
{
    Q_OBJECT
public:
    MessageDialog(const QString &prompt, int style, const QString &title,
                  QWidget *parent = nullptr);

    /// The answer, as msgBox() returns it, once the dialog was closed.
    int answer() const { return m_answer; }
    /// The box that holds the lines of a long message; null for a short one.
    QPlainTextEdit *list() const { return m_list; }

    /// Whether @p prompt is too long for a plain message box.
    static bool isLong(const QString &prompt);
    /// Shows the dialog modally and returns the answer: the program's message-box hook.
    static int ask(const QString &prompt, int style, const QString &title);

private:
    int m_answer;
    QPlainTextEdit *m_list = nullptr;
};

} // namespace qrt::app
