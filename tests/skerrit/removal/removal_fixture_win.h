#pragma once
// Scratch folders and files for the removal tests under Wine.

#include <windows.h>

#include <string>
#include <vector>

namespace removal_test {

// A folder of its own under the temporary folder, deleted with everything in
// it when the fixture goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }  // ends with a backslash
    std::string operator/(const std::string& relative) const { return path_ + relative; }

private:
    std::string path_;
};

// Writes `content`, creating the folders on the way.
void WriteFileAt(const std::string& path, const std::string& content);
std::string ReadFileAt(const std::string& path);
bool Exists(const std::string& path);
void DeleteTree(const std::string& folder);

// A hidden sorted list box like the review dialog's list 1000.
class SortedListBox {
public:
    SortedListBox();
    ~SortedListBox();
    SortedListBox(const SortedListBox&) = delete;
    SortedListBox& operator=(const SortedListBox&) = delete;
    HWND get() const { return list_; }

private:
    HWND list_;
};

std::string ShellFolder(int csidl);

}  // namespace removal_test
