#include "installer/config_tool.h"

#include "installer/config_image.h"

const char kConfigToolUsage[] =
    "usage: tvcfg COMMAND EXE [ARGS]\n"
    "  dump EXE                              every record and field\n"
    "  validate EXE                          whether the uninstaller reads the block\n"
    "  set-text EXE RECORD FIELD TEXT        FIELD: title message link menu button1 button2\n"
    "  set-text-file EXE RECORD FIELD FILE     option1 option2 spare-label1 spare-label2\n"
    "                                          spare-text1 spare-text2 (FILE taken verbatim)\n"
    "  set-flags EXE RECORD VALUE            decimal or 0x hexadecimal\n"
    "  set-placement EXE RECORD VALUE\n"
    "  attach-picture EXE RECORD FILE.bmp\n"
    "  remove-picture EXE RECORD\n"
    "  remove-marker EXE | restore-marker EXE\n"
    "RECORD is 0 to 7.\n";

namespace {

// Whole-text unsigned number, decimal or 0x hexadecimal, at most `max`.
bool ParseNumber(const std::string& text, std::uint32_t max, std::uint32_t& value) {
    std::size_t pos = 0;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        pos = 2;
    }
    if (pos >= text.size()) return false;
    std::uint64_t result = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        result = result * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (result > max) return false;
    }
    value = static_cast<std::uint32_t>(result);
    return true;
}

struct Command {
    const char* name;
    std::size_t arg_count;  // after the command name, the executable included
    bool edits;
};

const Command kCommands[] = {
    {"dump", 1, false},          {"validate", 1, false},     {"set-text", 4, true},      {"set-text-file", 4, true},
    {"set-flags", 3, true},      {"set-placement", 3, true}, {"attach-picture", 3, true},
    {"remove-picture", 2, true}, {"remove-marker", 1, true}, {"restore-marker", 1, true},
};

bool Apply(const std::string& command, const std::vector<std::string>& args, const ToolFiles& files,
           ConfigImage& image, std::string& err) {
    std::uint32_t record = 0;
    if (args.size() >= 3 && !ParseNumber(args[2], 7, record)) {
        err = "record must be a number from 0 to 7: " + args[2];
        return false;
    }
    const int r = static_cast<int>(record);
    if (command == "set-text" || command == "set-text-file") {
        ConfigField field;
        if (!ConfigFieldFromName(args[3], field)) {
            err = "unknown field: " + args[3];
            return false;
        }
        std::string text = args[4];
        if (command == "set-text-file") {
            std::vector<std::uint8_t> bytes;
            if (!files.read(args[4], bytes)) {
                err = "cannot read " + args[4];
                return false;
            }
            text.assign(bytes.begin(), bytes.end());
        }
        return image.SetText(r, field, text, err);
    }
    if (command == "set-flags" || command == "set-placement") {
        std::uint32_t value = 0;
        const std::uint32_t max = command == "set-flags" ? 0xFFFFFFFFu : 0xFFFFu;
        if (!ParseNumber(args[3], max, value)) {
            err = "value out of range or not a number: " + args[3];
            return false;
        }
        return command == "set-flags" ? image.SetFlags(r, value, err)
                                      : image.SetPlacement(r, static_cast<std::uint16_t>(value), err);
    }
    if (command == "attach-picture") {
        std::vector<std::uint8_t> file;
        if (!files.read(args[3], file)) {
            err = "cannot read " + args[3];
            return false;
        }
        std::vector<std::uint8_t> dib;
        return PackedDibFromBmpFile(file, dib, err) && image.AttachPicture(r, dib, err);
    }
    if (command == "remove-picture") return image.RemovePicture(r, err);
    if (command == "remove-marker") {
        image.RemoveMarker();
        return true;
    }
    if (command == "restore-marker") {
        image.RestoreMarker();
        return true;
    }
    return true;
}

}  // namespace

int RunConfigTool(const std::vector<std::string>& args, const ToolFiles& files, std::string& out,
                  std::string& err) {
    const Command* command = nullptr;
    if (!args.empty()) {
        for (const Command& c : kCommands) {
            if (args[0] == c.name) command = &c;
        }
    }
    if (command == nullptr || args.size() != command->arg_count + 1) {
        err = kConfigToolUsage;
        return 1;
    }
    const std::string& exe = args[1];
    std::vector<std::uint8_t> bytes;
    if (!files.read(exe, bytes)) {
        err = "cannot read " + exe + "\n";
        return 2;
    }
    ConfigImage image;
    std::string problem;
    if (!image.Load(std::move(bytes), problem)) {
        err = exe + ": " + problem + "\n";
        return 2;
    }
    if (args[0] == "validate") {
        const std::vector<std::string> problems = image.Problems();
        for (const std::string& p : problems) err += p + "\n";
        if (problems.empty()) out = "valid\n";
        return problems.empty() ? 0 : 2;
    }
    if (!command->edits) {
        out = image.Dump();
        return 0;
    }
    if (!Apply(args[0], args, files, image, problem)) {
        err = problem + "\n";
        return 2;
    }
    if (!files.replace(exe, image.Image())) {
        err = "cannot write " + exe + " (left unchanged)\n";
        return 2;
    }
    return 0;
}
