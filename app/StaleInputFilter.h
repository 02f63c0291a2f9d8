#pragma once

#include <QObject>
#include <QTimer>

namespace qrt::app
{

/// Drops the clicks and keys that reach the program in a moment after a long step. The
/// program does not answer while a step runs (the control never returns to the event loop
/// mid-save), so what the user clicked or typed then waits in the queue; acted on afterwards
/// it would land on whatever the window shows by then: a second save, a draw typed into the
/// wrong row. A moment after the step is long enough for the queue to drain and too short for
/// a fresh click.
class StaleInputFilter : public QObject
{
public:
    explicit StaleInputFilter(QObject *parent = nullptr);

    /// Drops user input for the next @p milliseconds of event processing.
    void dropFor(int milliseconds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTimer m_until;
};

} // namespace qrt::app
