#pragma once

#include "config_tool/foundation/CProperties.h"

#include <cstdint>
#include <string>

namespace tarn {

// The system button-face colour: the top bit marks a system colour, 15 is COLOR_BTNFACE.
constexpr std::int32_t kButtonFaceColor = -2147483633;

// One terminal instance's settings, as plain public fields. Comments name the stored value.
struct CInstanceData
{
    std::string instanceName; // declared, never read or written
    std::int16_t environment = 1; // Environment; meaningful in the base instance only
    std::string timeout; // Timeout
    std::string checkCardTimeout; // CheckCardTimeout
    std::string language; // declared, never read or written
    std::string country; // declared, never read or written
    bool askGratuity = false; // AskGratuity
    bool pinByPass = false; // PINByPass
    std::string logoFile; // LogoFile
    bool combiReader = false; // CombiReader
    bool debugOn = false; // Debug
    bool extendedDebugOn = false; // ExtendedDebug
    std::string receiptDir; // ReceiptDir
    std::string receiptWidth; // ReceiptWidth
    bool sendReceipt = false; // SendReceipt
    std::string receiptPort; // ReceiptPort
    bool fullScreen = false; // FullScreen
    bool alwaysOnTop = false; // AlwaysOnTop
    std::string top; // Top, pixels
    std::string left; // Left, pixels
    std::int32_t backgroundColor = 0; // BackGroundColor
    std::string fontName; // FontName
    std::string watermarkImage; // Watermark
    std::int16_t interfaceMethod = 0; // InterfaceMethod
    std::string inputDir; // InputDir
    std::string outputDir; // OutputDir
    std::string port; // Port (interface port)
    bool useAvsRules = false; // UseAvsRules
    std::int16_t avsRuleIndex = 0; // AvsRuleIndex
    bool disableCancel = false; // DisableCancel
    std::string nextReceiptNumber; // NextReceiptNumber
    bool avsDetailsMandatory = false; // AvsDetailsMandatory
    std::int16_t referralMode = 0; // ReferralMode
    bool printReceiptFlag = false; // PrintReceiptFlag
    bool printVeriFoneFlag = false; // IsVx670Printer
    std::string printer; // Printer
    std::string comport; // PIN-pad port, first part of smartCardReader.port
    std::string comportReader; // reader port, second part of smartCardReader.port
    std::string pinpad; // PIN-pad model name as listed (derived from terminal.properties)
    CProperties pinpadProperties; // properties\terminal.properties
    CProperties emvProperties; // properties\terminal.emv.properties
    CProperties languageProperties; // properties\language.properties
    std::string checkUpgrade; // declared, never read or written (the upgrade settings are global)
    std::string autoUpgrade; // declared, never read or written
    bool extendedEnterPin = false; // ExtendedPinMessage
    std::int16_t WindowsSize = 0; // WindowsSize
    std::string PinPadPort; // PinPadPort
    bool cardNoHashValue = false; // CardNoHashValue
    bool usaCreditDebit = false; // USACreditDebit
};

} // namespace tarn
