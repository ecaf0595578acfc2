#include "config_tool/model/LayoutValues.h"

#include "config_tool/model/StoredValues.h"

namespace tarn {

namespace {

// A stored window position may be in twips (older files) or pixels. A value that does not fit a
// position is dropped rather than kept to fail again; unknown screen metrics keep the value as stored.
std::string windowPosition(const std::string& stored, double twipsPerPixel, int screenPixels)
{
    if (stored.empty()) {
        return stored;
    }
    const auto position = StoredValues::parseInt16(stored);
    if (!position) {
        return "";
    }
    if (twipsPerPixel <= 0.0 || screenPixels <= 0) {
        return stored;
    }
    const double screenTwips = static_cast<double>(screenPixels) * twipsPerPixel;
    if (static_cast<double>(*position) * twipsPerPixel > screenTwips) {
        const double pixels = StoredValues::roundHalfEven(static_cast<double>(*position) / twipsPerPixel);
        return std::to_string(static_cast<long>(pixels));
    }
    return stored;
}

CheckState checkStateOf(bool ticked)
{
    return ticked ? CheckState::Checked : CheckState::Unchecked;
}

// Converts a text into a member of any type the layout uses, the default's value where it cannot.
template <typename Record> struct Taker
{
    Record& record;
    const std::string& text;
    const std::string& fallback;

    void operator()(std::monostate) const { }
    void operator()(std::string Record::*member) const { record.*member = text; }
    void operator()(bool Record::*member) const { record.*member = StoredValues::toBoolean(text, fallback); }
    void operator()(std::int16_t Record::*member) const { record.*member = StoredValues::toInt16(text, fallback); }
    void operator()(std::int32_t Record::*member) const { record.*member = StoredValues::toInt32(text, fallback); }
    void operator()(CheckState Record::*member) const
    {
        record.*member = checkStateOf(StoredValues::toBoolean(text, fallback));
    }
};

} // namespace

std::string storedText(const InstanceSetting& setting, const CInstanceData& record, std::int16_t environment)
{
    if (setting.writtenOf) {
        return setting.writtenOf(environment);
    }
    return std::visit(
        [&record](auto member) -> std::string {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, std::monostate>) {
                return {};
            } else if constexpr (std::is_same_v<Member, std::string CInstanceData::*>) {
                return record.*member;
            } else if constexpr (std::is_same_v<Member, bool CInstanceData::*>) {
                return StoredValues::booleanText(record.*member);
            } else {
                return std::to_string(record.*member);
            }
        },
        setting.member);
}

std::string storedText(const CommonSetting& setting, const CommonSettings& common, std::int16_t environment)
{
    if (setting.kind == SettingKind::Environment) {
        return std::to_string(environment);
    }
    return std::visit(
        [&](auto member) -> std::string {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, std::monostate>) {
                return std::string(setting.defaultText);
            } else if constexpr (std::is_same_v<Member, std::string CommonSettings::*>) {
                return common.*member;
            } else if (setting.kind == SettingKind::UpgradeBox) {
                return std::to_string(static_cast<int>(common.*member));
            } else {
                // A grayed box counts as ticked.
                return StoredValues::booleanText(isTicked(common.*member));
            }
        },
        setting.member);
}

void loadStored(const InstanceSetting& setting, CInstanceData& record, const std::string& stored,
                const std::string& defaultText, const DesktopFacts& desktop)
{
    std::string text = stored;
    switch (setting.load) {
    case LoadHook::TwipsVertical:
        text = windowPosition(stored, desktop.twipsPerPixelY, desktop.screenHeightPixels);
        break;
    case LoadHook::TwipsHorizontal:
        text = windowPosition(stored, desktop.twipsPerPixelX, desktop.screenWidthPixels);
        break;
    case LoadHook::DecimalText:
        // Ports go up to 65535, beyond a 16-bit integer, so the range checked is 32-bit.
        text = std::to_string(StoredValues::toInt32(stored, defaultText));
        break;
    default:
        break;
    }
    std::visit(Taker<CInstanceData> { record, text, defaultText }, setting.member);
    if (setting.load == LoadHook::ButtonFaceWhenZero && record.backgroundColor == 0) {
        record.backgroundColor = kButtonFaceColor;
    }
}

void loadStored(const CommonSetting& setting, CommonSettings& common, const std::string& stored,
                const std::string& defaultText)
{
    std::string text = stored;
    if (setting.load == LoadHook::ClassPathNamesArchive && stored.find("kelbrin-cps.jar") == std::string::npos) {
        text = defaultText;
    } else if (setting.load == LoadHook::EmptyAsForwardSlashes && stored.empty()) {
        text = "C:/ORVANT";
    }
    std::visit(Taker<CommonSettings> { common, text, defaultText }, setting.member);
}

void assignStored(const InstanceSetting& setting, CInstanceData& record, const std::string& text)
{
    static const std::string zero = "0";
    std::visit(Taker<CInstanceData> { record, text, zero }, setting.member);
}

void assignStored(const CommonSetting& setting, CommonSettings& common, const std::string& text)
{
    if (setting.kind == SettingKind::UpgradeBox) {
        const CheckState state = text == "1" ? CheckState::Checked
            : text == "2"                    ? CheckState::Grayed
                                             : CheckState::Unchecked;
        if (const auto* member = std::get_if<CheckState CommonSettings::*>(&setting.member)) {
            common.** member = state;
        }
        return;
    }
    static const std::string zero = "0";
    std::visit(Taker<CommonSettings> { common, text, zero }, setting.member);
}

std::string defaultText(const SettingDeclaration& setting, const DefaultContext& context)
{
    return setting.defaultOf ? setting.defaultOf(context) : std::string(setting.defaultText);
}

} // namespace tarn
