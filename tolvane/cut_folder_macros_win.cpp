#include "cut_folder_macros_win.h"

#include "list_file_win.h"
#include "common/profile_value_win.h"

namespace tolvane {

CutMacroNames UnusableFolderMacros(const std::string& parameter_file) {
    struct FolderKey {
        const char* key;
        const char* macro;
    };
    static const FolderKey kFolderKeys[] = {
        {"CustomPath", "<Custom>"},
        {"ExePath", "<Exe>"},
        {"TempDir", "<TVTemp>"},
    };
    CutMacroNames cut;
    for (const FolderKey& folder : kFolderKeys) {
        // An empty file name would make the profile functions read win.ini.
        const std::string value =
            parameter_file.empty() ? std::string() : ReadWholeProfileValue(parameter_file, "TVRTP", folder.key);
        if (value.empty() || value.size() > kFolderValueLimit) cut.push_back(folder.macro);
    }
    return cut;
}

}  // namespace tolvane
