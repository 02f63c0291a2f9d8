#include "AppManagerProbe_p.h"

#include "AppManager_p.h"

namespace qrt
{

AppManagerProbe probe(const AppManager *control)
{
    const AppManagerPrivate *d = AppManagerPrivate::get(control);
    AppManagerProbe p;
    p.loaded = d->mblnLoaded;
    p.settingText = d->mblnSettingText;
    p.skipKeyPress = d->mblnSkipKeyPress;
    p.rightClick = d->mblnRightClick;
    p.inserting = d->mblnInserting;
    p.layoutSteps = d->layoutSteps;
    p.lottery = d->mobjLottery.data();
    p.lotterys = d->mobjLotterys.data();
    p.store = d->mobjStore.data();
    p.startList = d->mcblStart.data();
    p.endList = d->mcblEnd.data();
    return p;
}

} // namespace qrt
