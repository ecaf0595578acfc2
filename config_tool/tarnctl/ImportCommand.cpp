#include "config_tool/session/SaveTransaction.h"
#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/ConfigurationDocument.h"
#include "config_tool/tarnctl/SettingAssignments.h"
#include "platform/FileSystem.h"

#include <iostream>

namespace tarn::ctl {

namespace {

// A document of every instance is some hundred kilobytes; anything this big is the wrong file.
constexpr std::size_t kMaxDocumentBytes = 16 * 1024 * 1024;

bool readDocumentBytes(const std::string& source, std::string& bytes, std::ostream& err)
{
    if (source == "-") {
        std::string chunk(64 * 1024, '\0');
        while (bytes.size() <= kMaxDocumentBytes
               && (std::cin.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || std::cin.gcount() > 0)) {
            bytes.append(chunk.data(), static_cast<std::size_t>(std::cin.gcount()));
        }
    } else if (const auto read = orvant::platform::readWholeFile(source, bytes); !read.ok) {
        err << "tarnctl: the document " << source << " cannot be read: " << read.error << '\n';
        return false;
    }
    if (bytes.size() > kMaxDocumentBytes) {
        err << "tarnctl: the document is larger than " << kMaxDocumentBytes / (1024 * 1024)
            << " MiB; it cannot be a configuration\n";
        return false;
    }
    return true;
}

// Instances are numbered without gaps: a document adds instances only right after the last one there is.
bool numberedWithoutGaps(const ImportedDocument& document, std::size_t count, std::ostream& err)
{
    std::size_t next = count;
    for (const auto& instance : document.instances) {
        if (instance.number < count) {
            continue;
        }
        if (instance.number != next) {
            err << "tarnctl: /instances/" << instance.number << ": instances are numbered without gaps and this "
                << "installation has 0 to " << count - 1 << ", so the document must give instance " << next << " too\n";
            return false;
        }
        ++next;
    }
    return true;
}

// Checks the values against the shown instance and applies them as set does.
ExitStatus applyValues(InstanceEditor& editor, const std::vector<SettingText>& values, std::ostream& err)
{
    std::vector<Assignment> assignments;
    ExitStatus status = ExitStatus::Done;
    for (const auto& value : values) {
        status = worseOf(status, checkAssignment(value, editor, assignments, err));
    }
    if (status == ExitStatus::Done && !applyAssignments(editor, assignments, err)) {
        status = ExitStatus::Refused;
    }
    return status;
}

} // namespace

ExitStatus checkImportArguments(CommandContext& context)
{
    if (context.line.arguments.front() == "-" && context.line.passwordSource == PasswordSource::StandardInput) {
        context.err << "tarnctl: the password and the document cannot both come from standard input; give the "
                       "document as a file, or the password with --password-file\n";
        return ExitStatus::Usage;
    }
    return ExitStatus::Done;
}

// As an operator would in one session of the window: the installation-wide settings and the Default's
// with the Default shown, then each instance of the document in number order, an "Add New" first for
// each that is missing, then OK. Every value is checked before the save, and any refusal drops the
// whole save.
ExitStatus runImport(CommandContext& context)
{
    std::string bytes;
    if (!readDocumentBytes(context.line.arguments.front(), bytes, context.err)) {
        return ExitStatus::Usage;
    }
    ImportedDocument document;
    if (const ExitStatus read = readDocument(bytes, document, context.err); read != ExitStatus::Done) {
        return read;
    }
    ConfigSession& session = context.session;
    if (!numberedWithoutGaps(document, session.instances.size(), context.err)) {
        return ExitStatus::Usage;
    }

    SaveTransaction save(saveKindOf(context));
    FieldRules::collectAsTheControlsShowIt(session.instances.at(0));
    InstanceEditor editor(session, 0);
    std::vector<SettingText> shownFirst = document.installation;
    auto instance = document.instances.begin();
    if (instance != document.instances.end() && instance->number == 0) {
        shownFirst.insert(shownFirst.end(), instance->settings.begin(), instance->settings.end());
        ++instance;
    }
    ExitStatus status = applyValues(editor, shownFirst, context.err);
    for (; instance != document.instances.end(); ++instance) {
        if (instance->number >= session.instances.size() && !addNewInstance(session)) {
            return ExitStatus::Refused;
        }
        editor.showInstance(instance->number);
        status = worseOf(status, applyValues(editor, instance->settings, context.err));
    }
    if (status != ExitStatus::Done) {
        return status;
    }
    FieldRules::collectAsTheControlsShowIt(editor.shown());
    return finishSave(context, save, saveAsOk(session));
}

} // namespace tarn::ctl
