#include "config_tool/window/WindowColor.h"

namespace tarn::WindowColor {

namespace {

// The Windows system colour indexes (COLOR_*) and the palette role that plays the same part in Qt.
QColor systemColor(int index, const QPalette& palette)
{
    switch (index) {
    case 1: // COLOR_BACKGROUND (desktop)
    case 12: // COLOR_APPWORKSPACE
        return palette.color(QPalette::Mid);
    case 2: // COLOR_ACTIVECAPTION
    case 13: // COLOR_HIGHLIGHT
    case 27: // COLOR_GRADIENTACTIVECAPTION
    case 29: // COLOR_MENUHILIGHT
        return palette.color(QPalette::Highlight);
    case 3: // COLOR_INACTIVECAPTION
    case 28: // COLOR_GRADIENTINACTIVECAPTION
        return palette.color(QPalette::Inactive, QPalette::Highlight);
    case 0: // COLOR_SCROLLBAR
    case 4: // COLOR_MENU
    case 10: // COLOR_ACTIVEBORDER
    case 11: // COLOR_INACTIVEBORDER
    case 30: // COLOR_MENUBAR
        return palette.color(QPalette::Window);
    case 5: // COLOR_WINDOW
        return palette.color(QPalette::Base);
    case 6: // COLOR_WINDOWFRAME
    case 21: // COLOR_3DDKSHADOW
        return palette.color(QPalette::Shadow);
    case 7: // COLOR_MENUTEXT
    case 19: // COLOR_INACTIVECAPTIONTEXT
        return palette.color(QPalette::WindowText);
    case 8: // COLOR_WINDOWTEXT
        return palette.color(QPalette::Text);
    case 9: // COLOR_CAPTIONTEXT
    case 14: // COLOR_HIGHLIGHTTEXT
        return palette.color(QPalette::HighlightedText);
    case 16: // COLOR_BTNSHADOW
        return palette.color(QPalette::Dark);
    case 17: // COLOR_GRAYTEXT
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // COLOR_BTNTEXT
        return palette.color(QPalette::ButtonText);
    case 20: // COLOR_BTNHIGHLIGHT
        return palette.color(QPalette::Light);
    case 22: // COLOR_3DLIGHT
        return palette.color(QPalette::Midlight);
    case 23: // COLOR_INFOTEXT
        return palette.color(QPalette::ToolTipText);
    case 24: // COLOR_INFOBK
        return palette.color(QPalette::ToolTipBase);
    case 26: // COLOR_HOTLIGHT
        return palette.color(QPalette::Link);
    case 15: // COLOR_BTNFACE
    default:
        return palette.color(QPalette::Button);
    }
}

} // namespace

bool isSystemColor(std::int32_t value)
{
    return (static_cast<std::uint32_t>(value) & 0x80000000u) != 0;
}

QColor toQColor(std::int32_t value, const QPalette& palette)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if (isSystemColor(value)) {
        return systemColor(static_cast<int>(bits & 0xFFu), palette);
    }
    // The high byte of a plain colour only says how a palette device should match it; the colour is the rest.
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

std::int32_t fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    const auto bits = static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8)
        | (static_cast<std::uint32_t>(rgb.blue()) << 16);
    return static_cast<std::int32_t>(bits);
}

} // namespace tarn::WindowColor
