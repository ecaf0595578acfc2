#pragma once

#include "config_tool/model/CInstanceData.h"
#include "config_tool/model/CommonSettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarn {

// The configuration layout, each setting declared once: its stored name, how its value is held and
// entered, its default, what the load does to it, where the record keeps it and the control that shows
// it. The load and the save walk these tables in their order, which is the save order; the window takes
// its digits-only fields, option counts and leave-rules from them, and tarnctl its setting names, checks
// and help. Adding a setting is one entry here (and its control in the window).

// How a value is held and entered.
enum class SettingKind
{
    Text, // free text of one line
    Digits, // a text box that takes digits only
    Boolean, // a check box, stored "True"/"False"; a grayed box counts as ticked
    UpgradeBox, // an upgrade check box, stored as its state "0", "1" or "2" and read as a Boolean
    Options, // option buttons, stored as the number of the chosen one (0 to options - 1)
    Colour, // a colour, stored as a signed 32-bit number (system colours have the top bit set)
    List, // a list that takes free text
    Environment, // the environment list, stored as its code (Choices)
    PinPad, // the PIN-pad list (PinPadModels)
    ComPort, // a COM-port list
};

// What the load makes of a stored value besides converting it.
enum class LoadHook
{
    None,
    TwipsVertical, // a window position stored in twips becomes pixels
    TwipsHorizontal,
    ButtonFaceWhenZero, // colour 0 becomes the system button-face colour
    OnlyWithPrinters, // read only when a printer is installed, its default the default printer
    DecimalText, // a number, kept as its plain decimal text ("05001" becomes "5001")
    ClassPathNamesArchive, // a class path that does not name the engine's archive shows the default
    EmptyAsForwardSlashes, // an empty Base Directory shows "C:/ORVANT"
};

// What a save does beside writing the value.
enum class SaveHook
{
    None,
    ReceiptSeed, // the engine counts on from the store: written only as its starting value, and seeded
                 // into the instance's instance.properties
};

// Where a value lives.
enum class Storage
{
    Configuration, // read and written
    WrittenOnly, // written for the engine, never read (derived from the base instance's environment)
    DeviceProfile, // not in the configuration: the instance's terminal.properties (device fields)
};

// The control state that decides whether the window offers a setting now (FieldRules).
enum class Offer
{
    Always,
    WhileSocket, // the interface port, while the interface method is Socket
    WhileFile, // the input and output folders, while it is File
    WhileSendingReceipts,
    WhileAvsRules,
    WhilePrinting,
    Vx670Printer,
    PinPadPort,
    ComPort,
    ReaderPort,
    ReferralModes,
    AskGratuity,
    AutoUpgrade,
};

// Where the default comes from when a value is missing.
struct DefaultContext
{
    std::int16_t instance = 0;
    std::string instanceFolder;
    std::string defaultPrinter;
};

using InstanceMember = std::variant<std::monostate, std::string CInstanceData::*, bool CInstanceData::*,
                                    std::int16_t CInstanceData::*, std::int32_t CInstanceData::*>;
using CommonMember = std::variant<std::monostate, std::string CommonSettings::*, CheckState CommonSettings::*>;

struct SettingDeclaration
{
    std::string_view name;
    SettingKind kind;
    std::string_view defaultText = {};
    std::string (*defaultOf)(const DefaultContext&) = nullptr; // when the default depends on the instance
    // WrittenOnly: the text written, made from the base instance's environment.
    std::string (*writtenOf)(std::int16_t environment) = nullptr;
    LoadHook load = LoadHook::None;
    SaveHook save = SaveHook::None;
    Storage storage = Storage::Configuration;
    std::string_view control = {};
    std::int16_t options = 0; // Options: how many
    std::array<std::string_view, 2> optionNames = {}; // Options: names a script may use for them, if any
    Offer offer = Offer::Always;
    bool engineKept = false; // shown, never set: the engine keeps it
    // A rule the window applies to the control's text when it loses the focus, and at every collect.
    std::string (*leaveRule)(const std::string& text) = nullptr;
};

struct InstanceSetting : SettingDeclaration
{
    InstanceMember member;
};

struct CommonSetting : SettingDeclaration
{
    CommonMember member;
};

// Section "Harbell": the installation-wide values, in the save order. Environment is kept in the base
// instance's record.
const std::vector<CommonSetting>& commonSettings();

// Each instance's section: its values in the save order, then the device fields of terminal.properties.
const std::vector<InstanceSetting>& instanceSettings();

// The declaration of that exact name, or nullptr.
const CommonSetting* findCommonSetting(std::string_view name);
const InstanceSetting* findInstanceSetting(std::string_view name);

// The names and counts other layers act on: the window sizes its option groups with the counts.
namespace Layout {
constexpr std::string_view kEnvironment = "Environment";
constexpr std::string_view kCheckUpgrade = "CheckUpgrade";
constexpr std::string_view kPropertiesDir = "PropertiesDir";
constexpr std::string_view kPinByPass = "PINByPass"; // an instance exists while it has one
constexpr std::string_view kTimeout = "Timeout"; // the card inactivity timeout a save checks
constexpr std::string_view kInterfaceMethod = "InterfaceMethod";
constexpr std::string_view kSendReceipt = "SendReceipt";
constexpr std::string_view kUseAvsRules = "UseAvsRules";
constexpr std::string_view kPrintReceiptFlag = "PrintReceiptFlag";
constexpr std::string_view kPinPad = "PinPad";
constexpr std::int16_t kReferralModeOptions = 3;
constexpr std::int16_t kInterfaceMethodOptions = 2;
constexpr std::int16_t kAvsRuleOptions = 6;
} // namespace Layout

} // namespace tarn
