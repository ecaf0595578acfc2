#include "config_tool/tarnctl/PasswordInput.h"

#include "platform/FileSystem.h"
#include "platform/Terminal.h"

#include <iostream>
#include <iterator>

namespace tarn::ctl {

namespace {

// A password file is a few lines; anything bigger is the wrong file.
constexpr std::size_t kMaxPasswordBytes = 64 * 1024;

std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        const bool lastLine = end == std::string::npos;
        if (lastLine) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

PasswordInput::PasswordInput(PasswordSource source, std::string file)
    : m_source(source)
    , m_file(std::move(file))
{
}

bool PasswordInput::loadLines()
{
    if (m_loaded) {
        return true;
    }
    std::string bytes;
    if (m_source == PasswordSource::File) {
        const auto read = orvant::platform::readWholeFile(m_file, bytes);
        if (!read.ok) {
            m_error = "the password file cannot be read: " + read.error;
            return false;
        }
    } else {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }
    if (bytes.size() > kMaxPasswordBytes) {
        m_error = "the password input is too large to hold passwords";
        return false;
    }
    m_lines = splitLines(bytes);
    m_loaded = true;
    return true;
}

std::optional<std::string> PasswordInput::next(const std::string& prompt)
{
    if (m_source == PasswordSource::Terminal) {
        if (!orvant::platform::standardInputIsTerminal()) {
            m_error = "a password is needed: give --password-file FILE or --password-stdin, or run on a terminal";
            return std::nullopt;
        }
        auto typed = orvant::platform::readPasswordFromTerminal(prompt);
        if (!typed) {
            m_error = "no password was typed";
        }
        return typed;
    }
    if (!loadLines()) {
        return std::nullopt;
    }
    if (m_nextLine >= m_lines.size()) {
        m_error = std::string(m_source == PasswordSource::File ? "the password file" : "standard input")
            + " holds fewer password lines than the command needs";
        return std::nullopt;
    }
    return m_lines[m_nextLine++];
}

} // namespace tarn::ctl
