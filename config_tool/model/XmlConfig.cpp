#include "config_tool/model/XmlConfig.h"

#include "config_tool/foundation/ChangeJournal.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/XmlFileLayout.h"
#include "config_tool/model/XmlIndentation.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <pugixml.hpp>
#include <string_view>
#include <vector>

namespace tarn::XmlConfig {

namespace {

constexpr const char* kDocumentElement = "ORVANTConfiguration";
constexpr const char* kListElement = "InstanceConfigurationList";
constexpr const char* kInstanceElement = "InstanceConfiguration";
constexpr const char* kInstanceId = "InstanceId";

struct DocumentState
{
    pugi::xml_document document;
    XmlFileLayout layout;
    pugi::xml_node documentElement;
    pugi::xml_node listElement;
    std::vector<pugi::xml_node> instanceList;
    // The last element of the list carrying each instance number: several may carry one number, and
    // the last one decides, for reads and writes alike.
    std::map<int, pugi::xml_node> lastByNumber;
    bool loaded = false;
    XmlFileBuffers buffers;
};

struct SaveBracket
{
    int depth = 0;
    int failures = 0;
    bool changed = false; // the document changed since the save began and is not written yet
};

DocumentState& documentState()
{
    static DocumentState state;
    return state;
}

SaveBracket& saveBracket()
{
    static SaveBracket bracket;
    return bracket;
}

long g_writeCount = 0;

constexpr const char* kWouldNotReadBack
    = "Its new text would not read back as the same configuration; it was left as it was.";

pugi::xml_node childElement(std::string_view name, const pugi::xml_node& parent)
{
    for (auto child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && name == child.name()) {
            return child;
        }
    }
    return {};
}

void clearDocument()
{
    auto& state = documentState();
    state.document.reset();
    state.layout = XmlFileLayout {};
    state.documentElement = {};
    state.listElement = {};
    state.instanceList.clear();
    state.loaded = false;
}

// The text of an element: its text and CDATA children, one text node for a value element.
std::string textOf(const pugi::xml_node& element)
{
    const auto first = element.first_child();
    if (first && first.type() == pugi::node_pcdata && !first.next_sibling()) {
        return first.value();
    }
    std::string text;
    for (auto child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            text += child.value();
        }
    }
    return text;
}

// Replaces the element's content with one text node, as setting a DOM node's text does.
void setTextOf(pugi::xml_node element, const std::string& value)
{
    auto first = element.first_child();
    if (first && first.type() == pugi::node_pcdata && !first.next_sibling()) {
        first.set_value(value.c_str());
        return;
    }
    while (element.first_child()) {
        element.remove_child(element.first_child());
    }
    element.append_child(pugi::node_pcdata).set_value(value.c_str());
}

// An instance number is an integer, surrounding whitespace allowed ("1", "01", " 3 ").
std::optional<int> readInteger(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    if (text.starts_with('+') && !text.substr(1).starts_with('-')) {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The number an instance element carries; none when it has no InstanceId or the text is no number.
std::optional<int> instanceNumberOf(const pugi::xml_node& instance)
{
    const auto id = childElement(kInstanceId, instance);
    if (!id) {
        return std::nullopt;
    }
    return readInteger(textOf(id));
}

void rereadInstanceList()
{
    auto& state = documentState();
    state.instanceList.clear();
    state.lastByNumber.clear();
    for (auto child : state.listElement.children()) {
        if (child.type() == pugi::node_element && std::string_view(child.name()) == kInstanceElement) {
            state.instanceList.push_back(child);
        }
    }
    for (const auto& instance : state.instanceList) {
        if (const auto number = instanceNumberOf(instance)) {
            state.lastByNumber[*number] = instance;
        }
    }
}

pugi::xml_node lastInstanceWithNumber(int n)
{
    const auto& numbers = documentState().lastByNumber;
    const auto found = numbers.find(n);
    return found == numbers.end() ? pugi::xml_node() : found->second;
}

// Element names come from the program, but a name that is not one would make the file unreadable.
bool isElementName(std::string_view name)
{
    if (name.empty()) {
        return false;
    }
    const auto isStart = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
    };
    if (!isStart(static_cast<unsigned char>(name.front()))) {
        return false;
    }
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (!isStart(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

void reportWriteFailure(const std::string& text)
{
    auto& bracket = saveBracket();
    if (bracket.depth > 0 && bracket.failures++ > 0) {
        return;
    }
    Globals::ui().showMessage(text, MessageIcon::Critical);
}

bool writeDocument()
{
    auto& state = documentState();
    const std::string& path = Globals::state().xmlConfigurationPath;
    const std::string& bytes = serialiseXmlFile(state.document, state.layout, state.buffers);
    using orvant::platform::FileResult;
    FileResult result { false, "No file name is set." };
    if (!path.empty()) {
        // Bytes that the next load would refuse, or read as other values, never replace the file.
        result = readsBackAs(bytes, state.document) ? orvant::platform::writeFileAtomically(path, bytes)
                                                    : FileResult { false, kWouldNotReadBack };
    }
    if (!result.ok) {
        reportWriteFailure("Unable to save configuration to file " + path + "\n" + result.error);
        return false;
    }
    ++g_writeCount;
    return true;
}

// Outside a save every changed value is written at once; within one the document is written once,
// when the save ends.
bool documentChanged()
{
    auto& bracket = saveBracket();
    if (bracket.depth > 0) {
        bracket.changed = true;
        return true;
    }
    return writeDocument();
}

} // namespace

bool loadXmlConfig(const std::string& path)
{
    // Changes to the document being replaced are dropped with it.
    saveBracket().changed = false;
    clearDocument();
    auto& state = documentState();
    std::string bytes;
    const bool parsed = !path.empty() && orvant::platform::readWholeFile(path, bytes).ok
        && parseXmlFile(bytes, state.document, state.layout);
    if (!parsed) {
        clearDocument();
        Globals::ui().showMessage("Unable to load configuration from file " + path);
        return false;
    }
    state.documentElement = childElement(kDocumentElement, state.document);
    state.listElement = childElement(kListElement, state.documentElement);
    rereadInstanceList();
    state.loaded = true;
    return true;
}

bool isLoaded()
{
    return documentState().loaded;
}

std::string xmlGetValue(const std::string& key, int n, const std::string& defaultValue)
{
    const auto& state = documentState();
    if (!state.loaded) {
        return defaultValue;
    }
    std::string result = defaultValue;
    if (n == 0) {
        result = getChildText(key, state.documentElement, defaultValue);
    }
    if (result == defaultValue) {
        if (const auto instance = lastInstanceWithNumber(n)) {
            result = getChildText(key, instance, defaultValue);
        }
    }
    return result;
}

bool xmlSetValue(const std::string& key, int n, const std::string& value)
{
    auto& state = documentState();
    if (!state.loaded || !isElementName(key)) {
        return false;
    }
    pugi::xml_node target;
    if (n == 0) {
        target = findChildElement(key, state.documentElement);
    }
    if (!target) {
        target = findChildElement(key, lastInstanceWithNumber(n));
    }
    const bool existed = static_cast<bool>(target);
    if (!target) {
        // For instance 0 the InstanceId may be answered by the document element, which is no instance.
        const auto instance = xmlGetValue(kInstanceId, n, "").empty() ? pugi::xml_node() : findInstanceElement(n);
        if (instance) {
            target = appendIndentedElement(instance, key.c_str(), state.layout);
        } else {
            const auto list = ensureElementPath(std::string(kDocumentElement) + "/" + kListElement);
            if (!list) {
                reportWriteFailure("Unable to save configuration to file " + Globals::state().xmlConfigurationPath
                                   + "\nIts document element is not " + kDocumentElement + ".");
                return false;
            }
            auto created = appendIndentedElement(list, kInstanceElement, state.layout);
            const std::string id = getInstanceString(static_cast<std::int16_t>(n));
            setTextOf(appendIndentedElement(created, kInstanceId, state.layout), id);
            if (ChangeJournal* journal = ChangeJournal::current()) {
                journal->record(
                    SettingChange { Globals::state().xmlConfigurationPath, n, kInstanceId, std::nullopt, id });
            }
            target = appendIndentedElement(created, key.c_str(), state.layout);
            state.documentElement = childElement(kDocumentElement, state.document);
            state.listElement = list;
            rereadInstanceList();
        }
    }
    if (ChangeJournal* journal = ChangeJournal::current()) {
        journal->record(SettingChange { Globals::state().xmlConfigurationPath, n, key,
                                        existed ? std::optional<std::string>(textOf(target)) : std::nullopt, value });
    }
    setTextOf(target, value);
    if (key == kInstanceId) {
        rereadInstanceList();
    }
    return documentChanged();
}

void beginSave()
{
    auto& bracket = saveBracket();
    if (bracket.depth++ == 0) {
        bracket.failures = 0;
    }
}

bool endSave()
{
    auto& bracket = saveBracket();
    if (bracket.depth == 1 && bracket.changed) {
        bracket.changed = false;
        // A document dropped since (a failed reload) has nothing to write.
        if (documentState().loaded) {
            writeDocument();
        }
    }
    const bool ok = bracket.failures == 0;
    if (bracket.depth > 0 && --bracket.depth == 0) {
        bracket.failures = 0;
    }
    return ok;
}

long writeCount()
{
    return g_writeCount;
}

void reset()
{
    clearDocument();
    documentState().buffers = XmlFileBuffers {};
    saveBracket() = SaveBracket {};
}

std::string getChildText(const std::string& name, const pugi::xml_node& parent, const std::string& defaultValue)
{
    const auto element = findChildElement(name, parent);
    return element ? textOf(element) : defaultValue;
}

pugi::xml_node findChildElement(const std::string& name, const pugi::xml_node& parent)
{
    return childElement(name, parent);
}

pugi::xml_node findInstanceElement(int n)
{
    return lastInstanceWithNumber(n);
}

pugi::xml_node ensureElementPath(const std::string& path)
{
    auto& state = documentState();
    pugi::xml_node node = state.document;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto slash = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, slash - start);
        start = slash + 1;
        if (!isElementName(part)) {
            return {};
        }
        auto child = findChildElement(part, node);
        if (!child) {
            // A second top-level element would make the file unreadable.
            if (node == state.document && state.document.document_element()) {
                return {};
            }
            child = appendIndentedElement(node, part.c_str(), state.layout);
        }
        node = child;
    }
    return node;
}

} // namespace tarn::XmlConfig
