#include "platform/Environment.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"

#include <windows.h>
// Shell headers rely on the declarations of windows.h.
#include <shlobj.h>

namespace orvant::platform {

std::string toNativePath(std::string_view storedPath)
{
    return std::string(storedPath);
}

std::string userDataFolder()
{
    char folder[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return ansiToUtf8(folder) + "\\ORVANT";
    }
    return getEnvironmentVariable("APPDATA").value_or(".") + "\\ORVANT";
}

} // namespace orvant::platform
