#pragma once

#include <qrt/FlexGrid.h>
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>
#include <qrt/refhost/LotteryShape.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <functional>
#include <optional>

namespace qrt::test
{

/// Top-level widgets that are still alive; tests compare this before and after.
inline int topLevelCount()
{
    return int(QApplication::topLevelWidgets().size());
}

/// The run-time error number that @p f throws, or 0 when it throws none.
inline int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.number();
    }
    return 0;
}

/// The rows @p from to @p to of @p grid, cells joined by |; a negative row counts from the end
/// (-1 the entry row, -2 the last draw).
inline QStringList gridRows(const FlexGrid &grid, int from = 1, int to = -2)
{
    QStringList rows;
    for (int r = from; r <= (to < 0 ? grid.Rows() + to : to); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.Cols(); ++c)
            cells << grid.TextArray(r * grid.Cols() + c);
        rows << cells.join(u'|');
    }
    return rows;
}

/// A lottery's shape from its key or name; a test cannot go on without it.
inline ref::LotteryShape shape(const QString &key)
{
    QString why;
    const std::optional<ref::LotteryShape> s = ref::LotteryShape::parse(key, &why);
    if (!s)
        qFatal("%s", qPrintable(why));
    return *s;
}

/// The progress window as a user sees it at this moment: "visible:text", or "none".
inline QString progressWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmInfo")) {
            auto *label = w->findChild<QLabel *>(QStringLiteral("lblInfo"));
            return QStringLiteral("%1:%2").arg(w->isVisible() ? "visible" : "hidden",
                                               label ? label->text() : "?");
        }
    }
    return QStringLiteral("none");
}

/// Answers message boxes without showing any and remembers what was asked, as
/// "style|title|prompt". Answers are taken from the queue; an empty queue answers OK/Yes.
/// @c onShow runs while the box is "up", for checks that need that moment.
class MsgBoxRecorder
{
public:
    MsgBoxRecorder()
    {
        setMsgBoxHandler([this](const QString &prompt, int style, const QString &title) {
            shown << QStringLiteral("%1|%2|%3").arg(style).arg(title, prompt);
            if (onShow)
                onShow();
            if (answers.empty())
                return style == MsgBoxQuestionYesNo ? int(MsgBoxYes) : int(MsgBoxOk);
            const int a = answers.front();
            answers.pop_front();
            return a;
        });
    }
    ~MsgBoxRecorder() { setMsgBoxHandler({}); }
    MsgBoxRecorder(const MsgBoxRecorder &) = delete;
    MsgBoxRecorder &operator=(const MsgBoxRecorder &) = delete;

    QStringList shown;
    std::deque<int> answers;
    std::function<void()> onShow;
};

// ---- Errors as text, for the file and store suites ----

/// "number: description" of the run-time error that @p f throws, or an empty text when none.
inline QString errorText(const std::function<void()> &f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return QStringLiteral("%1: %2").arg(e.number()).arg(e.description());
    }
    return {};
}

// ---- Files, for the program and domain suites ----

/// The bytes of @p path, or "<missing>" when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

/// Makes @p path hold @p bytes and returns it; a test cannot go on where that fails.
inline QString writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace qrt::test
