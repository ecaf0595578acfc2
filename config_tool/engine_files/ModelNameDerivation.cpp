#include "config_tool/engine_files/DeviceProfiles.h"
#include "config_tool/model/PinPadModels.h"

namespace tarn {

std::string deriveModelName(const CInstanceData& record)
{
    const CProperties& store = record.pinpadProperties;
    const std::string driverClass = store.getValue("smartCardReader.class");
    if (driverClass == store.NO_VALUE) {
        return std::string(PinPads::kNoCardReader);
    }
    return std::string(recognisePinPad(driverClass, record.combiReader, store.getValue("DioneNoMagStripe.Flag"),
                                       store.getValue("pinpad.name")));
}

} // namespace tarn
