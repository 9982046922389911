// Fixtures of the ZIP engine tests: a scratch folder, file helpers, shell commands (Info-ZIP
// zip and unzip), an in-memory archive builder for hostile layouts, and recording callbacks.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/zipcore/run_events.h"

namespace ziptest {

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& data);
std::string readFile(const std::string& path);
bool exists(const std::string& path);
// Runs a shell command in a folder; returns its exit status.
int run(const std::string& folder, const std::string& command);
// Compares two folder trees (files and contents); empty when equal, else the first difference.
std::string compareTrees(const std::string& a, const std::string& b);
// Relative path -> contents of every file and folder below root (folders end in '/' and hold
// ""), as a tool lists a tree.
std::map<std::string, std::string> treeOf(const std::string& root);
// CRC-32 of the bytes, as ZIP records it.
uint32_t crcOf(const std::string& data);
// The shell command that starts tests/zipcore/wild_archives.py (fixtures of other tools).
std::string wildArchives();
// Deterministic test data: text lines or pseudo-random bytes.
std::string textData(size_t bytes, unsigned seed);
std::string binaryData(size_t bytes, unsigned seed);

struct RawItem {
    std::string name;
    std::string data;
    uint16_t flags = 0;
    uint32_t crcOverride = 0;   // stored instead of the real CRC when useCrcOverride
    bool useCrcOverride = false;
    uint16_t method = 0;        // 8: data is a raw deflate stream and originalSize is declared
    uint32_t originalSize = 0;
};
// Raw deflate of data (no zlib header), as ZIP stores it.
std::string rawDeflate(const std::string& data);
// A stored-method archive laid out by hand, for names and fields that zip tools refuse to make.
std::string buildStoredArchive(const std::vector<RawItem>& items, const std::string& comment = "");

class RecordingEvents : public zipcore::RunEvents {
public:
    struct Status {
        bool major;
        std::string text;
        int32_t percent;
    };
    std::vector<Status> statuses;
    std::vector<std::pair<zipcore::MessageCode, std::string>> messages;
    std::vector<zipcore::RenameRequest> renames;

    // Answers for messages by code (default ResponseDefault).
    std::function<int32_t(zipcore::MessageCode)> answer;
    // Called for every status; returns the cancel answer.
    std::function<bool(const Status&)> cancelWhen;
    std::function<int32_t(zipcore::RenameRequest&)> onRename;

    bool majorStatus(const std::string& text, int32_t percent) override;
    bool minorStatus(const std::string& text, int32_t percent) override;
    int32_t message(zipcore::MessageCode code, const std::string& text) override;
    int32_t rename(zipcore::RenameRequest& request) override;

    bool sawMessage(zipcore::MessageCode code) const;
};

}  // namespace ziptest
