#include "config_tool/engine_files/DeviceProfileTable.h"

#include <algorithm>

namespace tarn {

namespace {

// The device keys of terminal.properties.
constexpr std::string_view kPort = "smartCardReader.port";
constexpr std::string_view kBaudrate = "smartCardReader.baudrate.initial";
constexpr std::string_view kReaderClass = "smartCardReader.class";
constexpr std::string_view kMagStripeClass = "magStripeReader.class";
constexpr std::string_view kKeyPadClass = "cardHolderKeyPad.class";
constexpr std::string_view kDisplayClass = "cardHolderDisplay.class";
constexpr std::string_view kPinClass = "pinVerification.class";
constexpr std::string_view kSelectionClass = "cardHolderSelection.class";
constexpr std::string_view kReaderTimeout = "smartCardReader.timeout";
constexpr std::string_view kPinTimeout = "pinVerification.timeout";
constexpr std::string_view kSelectionTimeout = "cardHolderSelection.timeout";
constexpr std::string_view kFirstPagePrompt = "cardHolderDisplay.firstpage.prompt";
constexpr std::string_view kPerPage = "cardHolderDisplay.selections.perpage";
constexpr std::string_view kRows = "cardHolderDisplay.rows";
constexpr std::string_view kProtocolClass = "smartCardReader.protocol.class";
constexpr std::string_view kIpAddress = "smartCardReader.IP.address";
constexpr std::string_view kIpPort = "smartCardReader.IP.port";
constexpr std::string_view kNoMagStripeFlag = "DioneNoMagStripe.Flag";
constexpr std::string_view kModelName = "pinpad.name";

// Driver and business-logic classes of the engine and its device libraries.
constexpr std::string_view kSc5000Driver = "sts.drivers.cardholder.VerifoneSC5000Driver";
constexpr std::string_view kIpServerDriver = "sts.drivers.cardholder.Verifone7816IPServerDriver";
constexpr std::string_view kDioneDriver = "sts.drivers.cardholder.DioneDriver";
constexpr std::string_view kNoMagStripeReader = "sts.drivers.cardholder.noMagStripeReader";
constexpr std::string_view kTrintechDriver = "sts.drivers.cardholder.TrintechDriver01";
constexpr std::string_view kSagemDriver = "sts.drivers.cardholder.STSSerialSmartHybridPinPadReaderProtocol";
constexpr std::string_view kIngenicoDriver = "sts.drivers.cardholder.IFPinPad7505Driver";
constexpr std::string_view kVx810Driver = "sts.drivers.cardholder.VerifoneVx7816Driver";
constexpr std::string_view kBasicPin = "sts.businesslogic.basicPinVerification";
constexpr std::string_view kEnhancedPin = "sts.businesslogic.enhancedPinVerification";
constexpr std::string_view kBasicSelection = "sts.businesslogic.basicCardHolderSelection";
constexpr std::string_view kAdvancedSelection = "sts.businesslogic.advancedCardHolderSelection";

// The amount prompts; each "\\" is written to the file as two backslash characters.
constexpr std::string_view kPromptNewLine = R"(\\nlAMOUNT #)";
constexpr std::string_view kPromptSmallFont = R"(\\sf\\nlAMOUNT #)";
constexpr std::string_view kPromptPlain = "AMOUNT #";

constexpr ProfileValue Removed = ProfileValue::Removed;
constexpr ProfileValue Literal = ProfileValue::Literal;

std::vector<DeviceProfile> buildProfiles()
{
    std::vector<DeviceProfile> profiles;

    profiles.push_back({ DeviceProfileId::NoCardReader,
                         {
                             { kPort, Removed },
                             { kBaudrate, Removed },
                             { kReaderClass, Removed },
                             { kMagStripeClass, Removed },
                             { kKeyPadClass, Removed },
                             { kDisplayClass, Removed },
                             { kPinTimeout, Removed },
                             { kSelectionClass, Removed },
                             { kSelectionTimeout, Removed },
                             { kProtocolClass, Removed },
                             { kNoMagStripeFlag, Removed },
                             { kIpAddress, Removed },
                             { kIpPort, Removed },
                             { kPerPage, Removed },
                             { kModelName, Removed },
                             { kFirstPagePrompt, Literal, "CONFRM" },
                             { kReaderTimeout, Literal, "10000" },
                         },
                         kPromptNewLine });

    profiles.push_back({ DeviceProfileId::VerifoneSc5000,
                         {
                             { kPort, ProfileValue::Comport },
                             { kBaudrate, Literal, "19200" },
                             { kReaderClass, Literal, kSc5000Driver },
                             { kMagStripeClass, Literal, kSc5000Driver },
                             { kKeyPadClass, Literal, kSc5000Driver },
                             { kDisplayClass, Literal, kSc5000Driver },
                             { kPinTimeout, Literal, "20000" },
                             { kSelectionClass, Literal, kAdvancedSelection },
                             { kSelectionTimeout, Literal, "20000" },
                             { kFirstPagePrompt, Literal, "CONFRM" },
                             { kModelName, ProfileValue::ModelName },
                             { kReaderTimeout, Removed },
                             { kPinClass, Literal, kEnhancedPin },
                             { kProtocolClass, Removed },
                             { kNoMagStripeFlag, Removed },
                             { kIpAddress, Removed },
                             { kIpPort, Removed },
                             { kPerPage, Removed },
                         },
                         kPromptSmallFont });

    // The Vx670 is reached over the network through the IP server, so it has no serial port; its
    // IP address is left as the installer set it.
    profiles.push_back({ DeviceProfileId::VerifoneVx670,
                         {
                             { kPinClass, Literal, kBasicPin },
                             { kReaderClass, Literal, kIpServerDriver },
                             { kMagStripeClass, Literal, "sts.drivers.cardholder.STSMagStripeUsingSmartCardReader" },
                             { kKeyPadClass, Literal, "sts.drivers.cardholder.STSKeyPadUsingSmartCardReader" },
                             { kDisplayClass, Literal, "sts.drivers.cardholder.STSDisplayUsingSmartCardReader" },
                             { kSelectionClass, Literal, kBasicSelection },
                             { kReaderTimeout, Literal, "20000" },
                             { kSelectionTimeout, Literal, "60000" },
                             { kPinTimeout, Literal, "60000" },
                             { kRows, Literal, "6" },
                             { kIpPort, ProfileValue::PinPadPort },
                             { kPerPage, Literal, "5" },
                             { kNoMagStripeFlag, Removed },
                             { kProtocolClass, Removed },
                             { kFirstPagePrompt, Removed },
                             { kPort, Removed },
                             { kBaudrate, Removed },
                             { kModelName, Removed },
                         },
                         kPromptSmallFont });

    profiles.push_back({ DeviceProfileId::Dione,
                         {
                             { kPort, ProfileValue::Comport },
                             { kBaudrate, Literal, "57600" },
                             { kReaderClass, Literal, kDioneDriver },
                             { kMagStripeClass, Literal, kDioneDriver },
                             { kKeyPadClass, Literal, kDioneDriver },
                             { kDisplayClass, Literal, kDioneDriver },
                             { kPinClass, Literal, kBasicPin },
                             { kSelectionClass, Literal, kAdvancedSelection },
                             { kReaderTimeout, Literal, "2000" },
                             { kModelName, ProfileValue::ModelName },
                             { kPinTimeout, Removed },
                             { kSelectionTimeout, Removed },
                             { kFirstPagePrompt, Removed },
                             { kProtocolClass, Removed },
                             { kNoMagStripeFlag, Removed },
                             { kIpAddress, Removed },
                             { kIpPort, Removed },
                             { kPerPage, Removed },
                         },
                         kPromptNewLine });

    profiles.push_back({ DeviceProfileId::DioneNoMagStripe,
                         {
                             { kPort, ProfileValue::Comport },
                             { kBaudrate, Literal, "57600" },
                             { kReaderClass, Literal, kDioneDriver },
                             { kMagStripeClass, Literal, kNoMagStripeReader },
                             { kKeyPadClass, Literal, kDioneDriver },
                             { kDisplayClass, Literal, kDioneDriver },
                             { kPinClass, Literal, kBasicPin },
                             { kSelectionClass, Literal, kAdvancedSelection },
                             { kReaderTimeout, Literal, "2000" },
                             { kNoMagStripeFlag, Literal, "Yes" },
                             { kModelName, ProfileValue::ModelName },
                             { kPinTimeout, Removed },
                             { kSelectionTimeout, Removed },
                             { kFirstPagePrompt, Removed },
                             { kProtocolClass, Removed },
                             { kIpAddress, Removed },
                             { kIpPort, Removed },
                             { kPerPage, Removed },
                         },
                         kPromptNewLine });

    profiles.push_back({ DeviceProfileId::Trintech,
                         {
                             { kBaudrate, Literal, "19200" },
                             { kReaderClass, Literal, kTrintechDriver },
                             { kMagStripeClass, Literal, kTrintechDriver },
                             { kKeyPadClass, Literal, kTrintechDriver },
                             { kDisplayClass, Literal, kTrintechDriver },
                             { kPinTimeout, Removed },
                             { kSelectionClass, Literal, kBasicSelection },
                             { kSelectionTimeout, Removed },
                             { kFirstPagePrompt, Removed },
                             { kReaderTimeout, Literal, "10000" },
                             { kPinClass, Literal, kEnhancedPin },
                             { kModelName, ProfileValue::ModelName },
                             { kPort, ProfileValue::Comport },
                             { kProtocolClass, Removed },
                             { kIpAddress, Removed },
                             { kIpPort, Removed },
                             { kPerPage, Removed },
                             { kNoMagStripeFlag, Removed },
                         },
                         kPromptNewLine });

    // The Sagem PIN pad and its reader sit on two serial ports; both keys carry a pair.
    profiles.push_back({ DeviceProfileId::Sagem,
                         {
                             { kPort, ProfileValue::ComportAndReader },
                             { kBaudrate, Literal, "115200,115200" },
                             { kReaderClass, Literal, kSagemDriver },
                             { kMagStripeClass, Literal, kSagemDriver },
                             { kKeyPadClass, Literal, kSagemDriver },
                             { kDisplayClass, Literal, kSagemDriver },
                             { kPinTimeout, Literal, "30000" },
                             { kSelectionClass, Literal, kBasicSelection },
                             { kSelectionTimeout, Literal, "10000" },
                             { kFirstPagePrompt, Literal, "CONFRM" },
                             { kPinClass, Literal, kEnhancedPin },
                             { kReaderTimeout, Literal, "4000" },
                             { kProtocolClass, Literal, "dk.sagem.stsapi.STSSerialProtocolLayer" },
                             { kModelName, ProfileValue::ModelName },
                             { kIpAddress, Removed },
                             { kIpPort, Removed },
                             { kPerPage, Removed },
                             { kNoMagStripeFlag, Removed },
                         },
                         kPromptNewLine });

    profiles.push_back({ DeviceProfileId::Ingenico,
                         {
                             { kPort, ProfileValue::Comport },
                             { kBaudrate, Literal, "19200" },
                             { kReaderClass, Literal, kIngenicoDriver },
                             { kMagStripeClass, Literal, kNoMagStripeReader },
                             { kKeyPadClass, Literal, kIngenicoDriver },
                             { kDisplayClass, Literal, kIngenicoDriver },
                             { kPinTimeout, Literal, "30000" },
                             { kSelectionClass, Literal, kBasicSelection },
                             { kSelectionTimeout, Literal, "10000" },
                             { kReaderTimeout, Literal, "4000" },
                             { kPinClass, Literal, kEnhancedPin },
                             { kModelName, ProfileValue::ModelName },
                             { kFirstPagePrompt, Removed },
                             { kProtocolClass, Removed },
                             { kIpAddress, Removed },
                             { kIpPort, Removed },
                             { kPerPage, Removed },
                             { kNoMagStripeFlag, Removed },
                         },
                         kPromptPlain });

    profiles.push_back({ DeviceProfileId::VerifoneVx810,
                         {
                             { kPort, ProfileValue::Comport },
                             { kBaudrate, Literal, "57600" },
                             { kReaderClass, Literal, kVx810Driver },
                             { kMagStripeClass, Literal, kVx810Driver },
                             { kKeyPadClass, Literal, kVx810Driver },
                             { kDisplayClass, Literal, kVx810Driver },
                             { kPinTimeout, Literal, "30000" },
                             { kSelectionClass, Literal, kAdvancedSelection },
                             { kSelectionTimeout, Literal, "30000" },
                             { kReaderTimeout, Literal, "3000" },
                             { kPinClass, Literal, kBasicPin },
                             { kFirstPagePrompt, Literal, "CONFRM" },
                             { kPerPage, Literal, "4" },
                             { kModelName, ProfileValue::ModelName },
                             { kProtocolClass, Removed },
                             { kIpAddress, Removed },
                             { kIpPort, Removed },
                             { kNoMagStripeFlag, Removed },
                         },
                         kPromptPlain });

    return profiles;
}

} // namespace

const std::vector<DeviceProfile>& deviceProfiles()
{
    static const std::vector<DeviceProfile> profiles = buildProfiles();
    return profiles;
}

const DeviceProfile* findDeviceProfile(std::string_view modelName)
{
    const PinPadModel* model = findPinPadModel(modelName);
    if (!model) {
        return nullptr;
    }
    const auto& profiles = deviceProfiles();
    const auto it = std::find_if(profiles.begin(), profiles.end(),
                                 [model](const DeviceProfile& profile) { return profile.id == model->profile; });
    return it == profiles.end() ? nullptr : &*it;
}

} // namespace tarn
