#pragma once

#include <optional>
#include <pugixml.hpp>
#include <string>

namespace tarn {

struct XmlFileLayout;

// The whitespace between elements is kept as text nodes; new elements get the same kind of
// whitespace as their neighbours, so that a rewrite changes nothing but the new lines.

// The step by which the document indents each level ("\t", "  ", ...), if it indents at all.
std::optional<std::string> detectIndentUnit(const pugi::xml_document& document);

// Appends an element named name as the last child of parent (after any comment), on its own line
// when the file puts its elements on lines.
pugi::xml_node appendIndentedElement(pugi::xml_node parent, const char* name, const XmlFileLayout& layout);

} // namespace tarn
