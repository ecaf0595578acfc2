#pragma once

#include <pugixml.hpp>
#include <string_view>

namespace tarn {

// Whether the bytes are one well-formed XML document, as the XML rules define it and any conforming
// reader (the engine's) takes it. pugixml, which reads the configuration for the program, also takes
// much that the rules refuse (text after the document element, a declaration that runs on into the
// elements, bytes that are no UTF-8, control characters), and what it makes of such a file is not
// what it writes back.
//
// form: a UTF-16 or UTF-32 form for bytes in that form (a byte-order mark first is no part of the
// text); any other for text in UTF-8, whatever its declaration names.
//
// A document that declares entities, or refers to entities an external DTD may declare, is refused as
// well: the program reads their references as plain text and would write them back as such, changing
// what every other reader sees.
bool isWellFormedXml(std::string_view bytes, pugi::xml_encoding form);

} // namespace tarn
