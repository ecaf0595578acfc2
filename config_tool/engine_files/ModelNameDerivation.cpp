#include "config_tool/engine_files/DeviceProfiles.h"
#include "platform/AsciiText.h"

#include <algorithm>
#include <string_view>

namespace tarn {

namespace {

// The driver class names are ASCII; letters are compared without regard to case, as hand-edited
// files do not always keep the engine's spelling.
bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    const auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                [](char a, char b) { return orvant::ascii::toLower(a) == orvant::ascii::toLower(b); });
    return it != text.end() || part.empty();
}

std::string dioneModel(const CInstanceData& record, std::string_view flagText, std::string_view nameText)
{
    if (record.combiReader) {
        return containsIgnoringCase(flagText, "Yes") ? "Dione secura UPT No MagStripe" : "Dione secura UPT";
    }
    if (containsIgnoringCase(nameText, "Dione secura")) {
        return "Dione secura";
    }
    if (containsIgnoringCase(nameText, "Dione xtreme")) {
        return "Dione xtreme";
    }
    return "Dione xplorer";
}

} // namespace

std::string deriveModelName(const CInstanceData& record)
{
    const CProperties& store = record.pinpadProperties;
    const std::string classText = store.getValue("smartCardReader.class");
    const std::string flagText = store.getValue("DioneNoMagStripe.Flag");
    const std::string nameText = store.getValue("pinpad.name");

    if (classText == store.NO_VALUE) {
        return "No Card Reader";
    }
    // The IP-server and Vx810 drivers also contain "Verifone": the specific tests come first.
    if (containsIgnoringCase(classText, "Verifone7816IPServer")) {
        return "Verifone Vx670";
    }
    if (containsIgnoringCase(classText, "VerifoneVx7816")) {
        return "Verifone Vx810";
    }
    if (containsIgnoringCase(classText, "Verifone")) {
        return "Verifone sc5000";
    }
    if (containsIgnoringCase(classText, "Dione")) {
        return dioneModel(record, flagText, nameText);
    }
    if (containsIgnoringCase(classText, "SmartHybridPinPadReader")) {
        return "Sagem";
    }
    if (containsIgnoringCase(classText, "Trintech")) {
        return "Trintech smart 5000";
    }
    if (containsIgnoringCase(classText, "IFPinPad7505")) {
        return "Ingenico 3300";
    }
    return "No Card Reader";
}

} // namespace tarn
