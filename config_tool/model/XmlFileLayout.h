#pragma once

#include <pugixml.hpp>
#include <string>

namespace tarn {

// How the configuration file is written on disk, so that a rewrite changes only what the program
// changed: the engine and administrators read the bytes, and the configuration hash is taken over them.
enum class XmlFileEncoding
{
    Utf8, // declared UTF-8 or nothing; a byte-order mark is kept as part of the prolog
    Windows1252, // declared ISO-8859-1 or windows-1252: one byte per character, the code page of Windows
    Ascii, // declared US-ASCII: anything beyond it goes out as a character reference
    Unicode, // UTF-16 or UTF-32, converted both ways by pugixml
};

struct XmlFileLayout
{
    XmlFileEncoding encoding = XmlFileEncoding::Utf8;
    pugi::xml_encoding unicodeEncoding = pugi::encoding_auto; // the form found, for Unicode only
    bool byteOrderMark = false; // for Unicode only
    std::string prolog; // UTF-8 text before the document element as it stood in the file
    std::string epilog; // UTF-8 text after it
    std::string lineEnd = "\r\n";
    std::string indentUnit = "\t";
};

// Parses the bytes of a configuration file. False, with an empty document, when they are not one
// well-formed document.
bool parseXmlFile(const std::string& bytes, pugi::xml_document& document, XmlFileLayout& layout);

// Kept from one write to the next: a save rewrites the file thousands of times, and fresh buffers of
// its size cost more than the serialisation itself.
struct XmlFileBuffers
{
    std::string text;
    std::string bytes;
};

// The bytes of the document in the form of the file it was parsed from (in one of the buffers).
const std::string& serialiseXmlFile(const pugi::xml_document& document, const XmlFileLayout& layout,
                                    XmlFileBuffers& buffers);

// Whether bytes about to replace the file parse back to the document they were made from: every node,
// name, text and attribute the same. Text that the XML rules do not allow in a file (a control
// character in a value) does not; the file must then keep its old bytes.
bool readsBackAs(const std::string& bytes, const pugi::xml_document& document);

} // namespace tarn
