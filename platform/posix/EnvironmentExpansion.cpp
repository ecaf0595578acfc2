#include "platform/Environment.h"

namespace orvant::platform {

// ExpandEnvironmentStringsA's rules, which the stored Path values rely on:
//  - "%NAME%" with NAME defined becomes its value (names without regard to case);
//  - with NAME undefined, "%NAME" is kept and its closing "%" may open the next reference, so in
//    "%UNDEFINED%PATH%" the second reference is still expanded;
//  - "%%" is an empty, never defined name: both signs stay;
//  - a "%" without a partner is kept, and so is the rest of the text after it.
std::string expandEnvironmentStrings(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] != '%') {
            const std::size_t next = text.find('%', pos);
            const std::size_t end = next == std::string_view::npos ? text.size() : next;
            result.append(text.substr(pos, end - pos));
            pos = end;
            continue;
        }
        const std::size_t closing = text.find('%', pos + 1);
        if (closing == std::string_view::npos) {
            result.append(text.substr(pos));
            break;
        }
        const std::string_view name = text.substr(pos + 1, closing - pos - 1);
        if (auto value = name.empty() ? std::nullopt : getEnvironmentVariable(name)) {
            result += *value;
            pos = closing + 1;
        } else {
            result.append(text.substr(pos, closing - pos));
            pos = closing;
        }
    }
    return result;
}

} // namespace orvant::platform
