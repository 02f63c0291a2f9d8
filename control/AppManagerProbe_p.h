#pragma once

class QObject;

namespace qrt
{

class AppManager;

/// What the autotests may see of a control's inner state, copied at the moment of the call.
/// Compiled into the tests alone, which read the private class's fields through its header;
/// no library exports it.
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

AppManagerProbe probe(const AppManager *control);

} // namespace qrt
