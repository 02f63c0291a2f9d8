#pragma once

#include <qrt/qrt_export.h>

class QObject;

namespace qrt
{

class AppManager;

/// What the autotests may see of a control's inner state, copied at the moment of the call.
/// Built into test builds only, so a shipped library exports nothing of it.
struct AppManagerProbe {
    bool loaded = false;
    bool settingText = false;
    bool skipKeyPress = false;
    bool rightClick = false;
    bool inserting = false;
    int layoutSteps = 0;
    QObject *lottery = nullptr;
    QObject *lotterys = nullptr;
    QObject *store = nullptr;
    QObject *startList = nullptr;
    QObject *endList = nullptr;
};

QRT_AUTOTEST_EXPORT AppManagerProbe probe(const AppManager *control);

} // namespace qrt
