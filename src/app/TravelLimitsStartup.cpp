#include "TravelLimitsStartup.h"

#include "ControlLayer.h"
#include "Prompts.h"
#include "TravelLimitsStore.h"

const QString TravelLimitsStartup::caption = QStringLiteral("Warning");

void TravelLimitsStartup::load(const QString& folder, ControlLayer& control, Prompts& prompts)
{
    const TravelLimitsStore store(folder);
    TravelLimits limits;
    QString why;
    if (store.load(&limits, &why) == TravelLimitsStore::Read::Unreadable) {
        control.setTravelLimits(TravelLimits());
        prompts.message(store.unreadableText(why) + QStringLiteral(" No travel limits are in force."), caption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    control.setTravelLimits(limits);
}
