#include "config_tool/model/XmlIndentation.h"

#include "config_tool/model/XmlFileLayout.h"

#include <string_view>
#include <vector>

namespace tarn {

namespace {

bool isWhitespaceText(const pugi::xml_node& node)
{
    if (node.type() != pugi::node_pcdata) {
        return false;
    }
    return std::string_view(node.value()).find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// The indentation of an element that starts its own line; none for an element that does not (the
// document element, whose surrounding whitespace is not part of the tree, counts as column 0).
std::optional<std::string> lineIndent(const pugi::xml_node& element)
{
    if (element.parent().type() == pugi::node_document) {
        return std::string();
    }
    const auto before = element.previous_sibling();
    if (!before || !isWhitespaceText(before)) {
        return std::nullopt;
    }
    const std::string_view space = before.value();
    const auto lineBreak = space.find_last_of("\r\n");
    if (lineBreak == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(space.substr(lineBreak + 1));
}

} // namespace

std::optional<std::string> detectIndentUnit(const pugi::xml_document& document)
{
    std::vector<pugi::xml_node> pending { document.document_element() };
    while (!pending.empty()) {
        const auto element = pending.back();
        pending.pop_back();
        const auto outer = lineIndent(element);
        for (auto child = element.last_child(); child; child = child.previous_sibling()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            const auto inner = lineIndent(child);
            if (outer && inner && inner->size() > outer->size() && inner->starts_with(*outer)) {
                return inner->substr(outer->size());
            }
            pending.push_back(child);
        }
    }
    return std::nullopt;
}

pugi::xml_node appendIndentedElement(pugi::xml_node parent, const char* name, const XmlFileLayout& layout)
{
    if (parent.type() == pugi::node_document) {
        return parent.append_child(name);
    }

    auto last = parent.last_child();
    while (last && isWhitespaceText(last)) {
        last = last.previous_sibling();
    }
    if (last) {
        // Copy the whitespace in front of the last item, which the file already uses at this level.
        const auto before = last.previous_sibling();
        if (before && isWhitespaceText(before)) {
            auto space = parent.insert_child_after(pugi::node_pcdata, last);
            space.set_value(before.value());
            return parent.insert_child_after(name, space);
        }
        return parent.insert_child_after(name, last);
    }

    // An empty parent: open it up, one level deeper than the parent itself.
    const auto outer = lineIndent(parent);
    if (!outer) {
        return parent.append_child(name);
    }
    while (parent.first_child()) {
        parent.remove_child(parent.first_child());
    }
    parent.append_child(pugi::node_pcdata).set_value((layout.lineEnd + *outer + layout.indentUnit).c_str());
    auto element = parent.append_child(name);
    parent.append_child(pugi::node_pcdata).set_value((layout.lineEnd + *outer).c_str());
    return element;
}

} // namespace tarn
