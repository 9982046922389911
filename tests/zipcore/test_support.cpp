#include "tests/zipcore/test_support.h"

#include <zlib.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "toolkit/zipcore/byte_order.h"

namespace fsys = std::filesystem;

namespace ziptest {

ScratchDir::ScratchDir() {
    std::string templ = (fsys::temp_directory_path() / "zipcore-XXXXXX").string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) std::abort();
    path_ = buf.data();
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    // Read-only files left by tests must not block the clean-up.
    for (auto it = fsys::recursive_directory_iterator(path_, ec); it != fsys::recursive_directory_iterator();
         it.increment(ec))
        fsys::permissions(it->path(), fsys::perms::owner_all, fsys::perm_options::add, ec);
    fsys::remove_all(path_, ec);
}

void writeFile(const std::string& path, const std::string& data) {
    fsys::create_directories(fsys::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), std::streamsize(data.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool exists(const std::string& path) {
    std::error_code ec;
    return fsys::exists(path, ec);
}

int run(const std::string& folder, const std::string& command) {
    const std::string line = "cd '" + folder + "' && ( " + command + " ) >/dev/null 2>&1";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string compareTrees(const std::string& a, const std::string& b) {
    std::vector<std::string> left, right;
    for (auto& e : fsys::recursive_directory_iterator(a)) left.push_back(fsys::relative(e.path(), a).string());
    for (auto& e : fsys::recursive_directory_iterator(b)) right.push_back(fsys::relative(e.path(), b).string());
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    if (left != right) {
        std::string l, r;
        for (auto& s : left) l += s + " ";
        for (auto& s : right) r += s + " ";
        return "names differ: [" + l + "] vs [" + r + "]";
    }
    for (const std::string& rel : left) {
        const std::string pa = a + "/" + rel, pb = b + "/" + rel;
        if (fsys::is_directory(pa) != fsys::is_directory(pb)) return rel + ": kind differs";
        if (!fsys::is_directory(pa) && readFile(pa) != readFile(pb)) return rel + ": contents differ";
    }
    return std::string();
}

std::map<std::string, std::string> treeOf(const std::string& root) {
    std::map<std::string, std::string> out;
    for (auto& e : fsys::recursive_directory_iterator(root)) {
        const std::string rel = fsys::relative(e.path(), root).string();
        if (e.is_directory()) out[rel + "/"] = "";
        else out[rel] = readFile(e.path().string());
    }
    return out;
}

uint32_t crcOf(const std::string& data) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

std::string wildArchives() { return std::string("python3 '") + ZIPCORE_TEST_DIR + "/wild_archives.py'"; }

std::string textData(size_t bytes, unsigned seed) {
    static const char* const words[] = {"alpha", "beta", "gamma", "delta", "archive", "item", "folder", "zip"};
    std::mt19937 rng(seed);
    std::string out;
    while (out.size() < bytes) {
        out += words[rng() % 8];
        out += (rng() % 9 == 0) ? "\n" : " ";
    }
    out.resize(bytes);
    return out;
}

std::string binaryData(size_t bytes, unsigned seed) {
    std::mt19937 rng(seed);
    std::string out(bytes, '\0');
    for (char& c : out) c = char(rng() & 0xFF);
    return out;
}

std::string buildStoredArchive(const std::vector<RawItem>& items, const std::string& comment) {
    using namespace zipcore;
    std::string body, central;
    for (const RawItem& item : items) {
        const uint32_t crc = item.useCrcOverride
                                 ? item.crcOverride
                                 : crcOf(item.data);
        const uint32_t offset = uint32_t(body.size());
        const uint32_t original = item.method == 8 ? item.originalSize : uint32_t(item.data.size());
        put32(body, kLocalHeaderSig);
        put16(body, 20);
        put16(body, item.flags);
        put16(body, item.method);
        put16(body, 0x6000);
        put16(body, 0x5B21);
        put32(body, crc);
        put32(body, uint32_t(item.data.size()));
        put32(body, original);
        put16(body, uint16_t(item.name.size()));
        put16(body, 0);
        body += item.name;
        body += item.data;
        put32(central, kCentralHeaderSig);
        put16(central, 20);
        put16(central, 20);
        put16(central, item.flags);
        put16(central, item.method);
        put16(central, 0x6000);
        put16(central, 0x5B21);
        put32(central, crc);
        put32(central, uint32_t(item.data.size()));
        put32(central, original);
        put16(central, uint16_t(item.name.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, 0x20);
        put32(central, offset);
        central += item.name;
    }
    std::string out = body + central;
    put32(out, kEndRecordSig);
    put16(out, 0);
    put16(out, 0);
    put16(out, uint16_t(items.size()));
    put16(out, uint16_t(items.size()));
    put32(out, uint32_t(central.size()));
    put32(out, uint32_t(body.size()));
    put16(out, uint16_t(comment.size()));
    out += comment;
    return out;
}

std::string rawDeflate(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, uLong(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return out;
}

bool RecordingEvents::majorStatus(const std::string& text, int32_t percent) {
    statuses.push_back({true, text, percent});
    return cancelWhen ? cancelWhen(statuses.back()) : false;
}

bool RecordingEvents::minorStatus(const std::string& text, int32_t percent) {
    statuses.push_back({false, text, percent});
    return cancelWhen ? cancelWhen(statuses.back()) : false;
}

int32_t RecordingEvents::message(zipcore::MessageCode code, const std::string& text) {
    messages.emplace_back(code, text);
    return answer ? answer(code) : zipcore::ResponseDefault;
}

int32_t RecordingEvents::rename(zipcore::RenameRequest& request) {
    renames.push_back(request);
    return onRename ? onRename(request) : 0;
}

bool RecordingEvents::sawMessage(zipcore::MessageCode code) const {
    for (const auto& m : messages)
        if (m.first == code) return true;
    return false;
}

}  // namespace ziptest
