#pragma once

#include <qrt/qrt_export.h>

#include <QString>
#include <functional>

namespace qrt
{

/// Styles and answers of the modal message box.
enum MsgBoxStyle { MsgBoxStop = 16, MsgBoxQuestionYesNo = 36, MsgBoxInformation = 64 };
enum MsgBoxAnswer { MsgBoxOk = 1, MsgBoxYes = 6, MsgBoxNo = 7 };

/// Replaces the modal message box; an empty function restores the QMessageBox default.
/// The handler returns the answer (1 OK, 6 Yes, 7 No).
QRT_EXPORT void setMsgBoxHandler(
    std::function<int(const QString &prompt, int style, const QString &title)> handler);

/// Shows a modal message box with the style's icon and buttons and returns the answer.
QRT_EXPORT int msgBox(const QString &prompt, int style, const QString &title);

} // namespace qrt
