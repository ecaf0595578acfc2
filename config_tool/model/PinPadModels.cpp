#include "config_tool/model/PinPadModels.h"

#include "platform/AsciiText.h"

#include <algorithm>

namespace tarn {

namespace {

using namespace PinPads;

constexpr std::string_view kPromptNewLine = R"(\\nlAMOUNT #)";
constexpr std::string_view kPromptSmallFont = R"(\\sf\\nlAMOUNT #)";
constexpr std::string_view kPromptPlain = "AMOUNT #";

constexpr std::string_view kDione = "Dione";

bool contains(std::string_view text, std::string_view part)
{
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char a, char b) { return orvant::ascii::toLower(a) == orvant::ascii::toLower(b); })
        != text.end();
}

bool holds(Condition condition, bool value)
{
    return condition == Condition::Any || (condition == Condition::Yes) == value;
}

// The better of two matching recognitions: an earlier driver, then more conditions.
bool preferred(const Recognition& a, const Recognition& b)
{
    const auto conditions = [](const Recognition& r) {
        return (r.combinedReader != Condition::Any ? 1 : 0) + (r.noMagStripeFlag != Condition::Any ? 1 : 0)
            + (r.namePart.empty() ? 0 : 1);
    };
    return a.precedence != b.precedence ? a.precedence < b.precedence : conditions(a) > conditions(b);
}

} // namespace

const std::vector<PinPadModel>& pinPadModels()
{
    using enum PinPadConnection;
    using enum DeviceProfileId;
    static const std::vector<PinPadModel> models {
        { kNoCardReader, true, false, ComPort, NoCardReader, { 0, {} }, kPromptNewLine },
        { kVerifoneSc5000, false, false, ComPort, VerifoneSc5000, { 3, "Verifone" }, kPromptSmallFont },
        { kDioneSecura,
          true,
          false,
          ComPort,
          Dione,
          { 4, kDione, Condition::No, Condition::Any, kDioneSecura },
          kPromptNewLine },
        { kDioneXplorer, true, false, ComPort, Dione, { 4, kDione, Condition::No }, kPromptNewLine },
        { kDioneXtreme,
          true,
          false,
          ComPort,
          Dione,
          { 4, kDione, Condition::No, Condition::Any, kDioneXtreme },
          kPromptNewLine },
        { kDioneSecuraUpt, false, true, ComPort, Dione, { 4, kDione, Condition::Yes }, kPromptNewLine },
        { kSagem, false, false, ComPortAndReader, Sagem, { 5, "SmartHybridPinPadReader" }, kPromptNewLine },
        { kTrintech, false, true, ComPort, Trintech, { 6, "Trintech" }, kPromptNewLine },
        { kVerifoneVx670, true, false, Network, VerifoneVx670, { 1, "Verifone7816IPServer" }, kPromptSmallFont },
        { kIngenico3300, false, false, ComPort, Ingenico, { 7, "IFPinPad7505" }, kPromptPlain },
        { kVerifoneVx810, false, false, ComPort, VerifoneVx810, { 2, "VerifoneVx7816" }, {} },
        { kDioneSecuraUptNoMagStripe,
          false,
          true,
          ComPort,
          DioneNoMagStripe,
          { 4, kDione, Condition::Yes, Condition::Yes },
          {} },
    };
    return models;
}

const PinPadModel* findPinPadModel(std::string_view name)
{
    const auto& models = pinPadModels();
    const auto it = std::find_if(models.begin(), models.end(), [name](const PinPadModel& m) { return m.name == name; });
    return it == models.end() ? nullptr : &*it;
}

std::string_view recognisePinPad(std::string_view driverClass, bool combinedReader, std::string_view noMagStripeFlag,
                                 std::string_view pinPadName)
{
    const PinPadModel* best = nullptr;
    for (const auto& model : pinPadModels()) {
        const Recognition& recognition = model.recognition;
        const bool matches = !recognition.driverPart.empty() && contains(driverClass, recognition.driverPart)
            && holds(recognition.combinedReader, combinedReader)
            && holds(recognition.noMagStripeFlag, contains(noMagStripeFlag, "Yes"))
            && (recognition.namePart.empty() || contains(pinPadName, recognition.namePart));
        if (matches && (!best || preferred(recognition, best->recognition))) {
            best = &model;
        }
    }
    return best ? best->name : kNoCardReader;
}

} // namespace tarn
