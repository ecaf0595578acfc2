#pragma once

#include <string_view>
#include <vector>

namespace tarn {

// The PIN-pad models, each declared once: what the window offers, what follows the choice of one, how
// one is recognised in terminal.properties, and which device profile writes it. Adding a model is one
// entry here (and, for a device the engine drives differently, a profile in the engine files).
namespace PinPads {
constexpr std::string_view kNoCardReader = "No Card Reader";
constexpr std::string_view kVerifoneSc5000 = "Verifone sc5000";
constexpr std::string_view kDioneSecura = "Dione secura";
constexpr std::string_view kDioneXplorer = "Dione xplorer";
constexpr std::string_view kDioneXtreme = "Dione xtreme";
constexpr std::string_view kDioneSecuraUpt = "Dione secura UPT";
constexpr std::string_view kSagem = "Sagem";
constexpr std::string_view kTrintech = "Trintech smart 5000";
constexpr std::string_view kVerifoneVx670 = "Verifone Vx670";
constexpr std::string_view kIngenico3300 = "Ingenico 3300";
constexpr std::string_view kVerifoneVx810 = "Verifone Vx810";
constexpr std::string_view kDioneSecuraUptNoMagStripe = "Dione secura UPT No MagStripe";
} // namespace PinPads

// How the terminal reaches the model.
enum class PinPadConnection
{
    ComPort, // one COM port
    ComPortAndReader, // a COM port, and a second one for its separate card reader
    Network, // an IP server on a PIN-pad port
};

// The device profile that rewrites terminal.properties for the model (engine files).
enum class DeviceProfileId
{
    NoCardReader,
    VerifoneSc5000,
    VerifoneVx670,
    Dione,
    DioneNoMagStripe,
    Trintech,
    Sagem,
    Ingenico,
    VerifoneVx810,
};

// What terminal.properties says of a model: a part of its reader's driver class (smartCardReader.class),
// and for models that share a driver, the combined-reader setting, the no-magnetic-stripe flag
// (DioneNoMagStripe.Flag holding "Yes") and a part of pinpad.name. Letters compare without case.
enum class Condition
{
    Any,
    Yes,
    No,
};

struct Recognition
{
    // Drivers are tried in this order (1 first): a driver class name may hold another's part
    // ("Verifone7816IPServer" holds "Verifone"). 0 with no part: the model stands for no reader.
    int precedence;
    std::string_view driverPart;
    Condition combinedReader = Condition::Any;
    Condition noMagStripeFlag = Condition::Any;
    std::string_view namePart = {};
};

struct PinPadModel
{
    std::string_view name;
    bool offeredInHospitality;
    bool combinedReader; // a card reader built in: choosing it ticks "Combined Reader"
    PinPadConnection connection;
    DeviceProfileId profile;
    Recognition recognition;
    // The amount prompt en.01 a language.properties without one gets; empty: none (the profile writes it).
    std::string_view defaultAmountPrompt;
};

// Every model, in the order the window lists them.
const std::vector<PinPadModel>& pinPadModels();

// The model of that exact name, or nullptr.
const PinPadModel* findPinPadModel(std::string_view name);

// The model a terminal.properties describes: the first driver (by precedence) whose part the class
// holds, and among its models the one whose conditions hold and that asks the most of the file, the
// first listed on a tie; "No Card Reader" when no driver matches.
std::string_view recognisePinPad(std::string_view driverClass, bool combinedReader, std::string_view noMagStripeFlag,
                                 std::string_view pinPadName);

} // namespace tarn
