#pragma once

#include <QWidget>

class QLabel;

namespace qrt
{

/// The progress window: a passive top-level window with one line of text in `lblInfo`.
/// Whoever needs it makes a new one, sets the text, shows it without a modal loop and
/// destroys it at the end of its command.
class frmInfo : public QWidget
{
    Q_OBJECT

public:
    frmInfo();
    ~frmInfo() override;

    /// Sets the text; with @p repaintNow the label is painted before this returns.
    void setInfo(const QString &text, bool repaintNow = false);

private:
    QLabel *m_label;
};

} // namespace qrt
