// GetSelectedDemoPath: the demo list's folder and its selected entry as one path.
#include "platform/Common.h"

#include "platform/SysHelpers.h"

namespace vorelix::platform {

std::wstring GetSelectedDemoPath(const std::wstring& listFolder, const std::wstring& selectedEntry) {
    return JoinFolderAndName(listFolder, selectedEntry);
}

}  // namespace vorelix::platform
