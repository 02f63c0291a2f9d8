#pragma once

#include <qrt/qrt_export.h>

#include <QString>
#include <functional>

namespace qrt
{

/// Styles and answers of the modal message box.
enum MsgBoxStyle {
    MsgBoxStop = 16,
    MsgBoxQuestionYesNoCancel = 35,
    MsgBoxQuestionYesNo = 36,
    MsgBoxInformation = 64
};
/// The button a message box was answered with.
enum MsgBoxAnswer { MsgBoxOk = 1, MsgBoxCancel = 2, MsgBoxYes = 6, MsgBoxNo = 7 };

/// Replaces the modal message box; an empty function restores the QMessageBox default.
/// The handler returns the answer (1 OK, 2 Cancel, 6 Yes, 7 No).
QRT_EXPORT void setMsgBoxHandler(
    std::function<int(const QString &prompt, int style, const QString &title)> handler);

/// Shows a modal message box with the style's icon and buttons and returns the answer. On a
/// platform without a screen (offscreen, minimal) the default writes it to standard error and
/// answers as its default button: OK, or Yes.
QRT_EXPORT int msgBox(const QString &prompt, int style, const QString &title);

} // namespace qrt
