#include "tests/driver/dialog_resource.h"

namespace e2e {
namespace {

class Reader {
public:
    Reader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    WORD Word() {
        if (pos_ + 2 > size_) {
            ok_ = false;
            return 0;
        }
        const WORD value = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return value;
    }
    DWORD Dword() {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    short Short() { return static_cast<short>(Word()); }
    std::string Text() {
        std::string text;
        for (WORD c = Word(); ok_ && c != 0; c = Word()) text += static_cast<char>(c < 0x80 ? c : '?');
        return text;
    }
    // A name or an ordinal (0xFFFF, then the ordinal).
    std::string NameOrOrdinal(WORD* ordinal) {
        *ordinal = 0;
        if (pos_ + 2 <= size_ && data_[pos_] == 0xFF && data_[pos_ + 1] == 0xFF) {
            Word();
            *ordinal = Word();
            return std::string();
        }
        return Text();
    }
    void Skip(std::size_t bytes) {
        if (pos_ + bytes > size_) ok_ = false;
        pos_ += bytes;
    }
    void AlignDword() { pos_ = (pos_ + 3) & ~static_cast<std::size_t>(3); }

private:
    const BYTE* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// The system classes may be given by atom or by name; both mean the same.
void SetClass(TemplateItem& item, WORD atom, const std::string& name) {
    static const struct {
        WORD atom;
        const char* name;
    } kSystem[] = {{0x80, "BUTTON"}, {0x81, "EDIT"},      {0x82, "STATIC"},
                   {0x83, "LISTBOX"}, {0x84, "SCROLLBAR"}, {0x85, "COMBOBOX"}};
    item.classAtom = atom;
    item.className = name;
    for (const auto& system : kSystem) {
        if (atom == system.atom || (atom == 0 && lstrcmpiA(name.c_str(), system.name) == 0)) {
            item.classAtom = system.atom;
            item.className = system.name;
        }
    }
}

}  // namespace

bool ParseDialogTemplate(const BYTE* data, std::size_t size, DialogTemplate* out) {
    Reader r(data, size);
    const bool extended = size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
    if (extended) {
        r.Dword();  // version and signature
        r.Dword();  // help id
        out->exStyle = r.Dword();
        out->style = r.Dword();
    } else {
        out->style = r.Dword();
        out->exStyle = r.Dword();
    }
    const WORD count = r.Word();
    r.Short();
    r.Short();
    out->cx = r.Short();
    out->cy = r.Short();
    WORD ordinal = 0;
    r.NameOrOrdinal(&ordinal);  // menu
    r.NameOrOrdinal(&ordinal);  // class
    out->title = r.Text();
    if (out->style & (DS_SETFONT | DS_SHELLFONT)) {
        out->pointSize = r.Word();
        if (extended) r.Dword();  // weight, italic, character set
        out->font = r.Text();
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.AlignDword();
        TemplateItem item;
        if (extended) {
            r.Dword();  // help id
            item.exStyle = r.Dword();
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            item.exStyle = r.Dword();
        }
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = extended ? static_cast<int>(r.Dword()) : r.Short();
        WORD atom = 0;
        const std::string name = r.NameOrOrdinal(&atom);
        SetClass(item, atom, name);
        WORD text_ordinal = 0;
        item.text = r.NameOrOrdinal(&text_ordinal);
        if (text_ordinal != 0) item.text = "#" + std::to_string(text_ordinal);
        // Creation data: the old form counts its size word in, the extended form does not.
        const WORD extra = r.Word();
        r.Skip(extended ? extra : (extra >= 2 ? extra - 2 : 0));
        out->items.push_back(item);
    }
    return r.ok();
}

bool LoadDialogTemplate(HMODULE module, int id, DialogTemplate* out) {
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    return data != nullptr && ParseDialogTemplate(data, SizeofResource(module, found), out);
}

const TemplateItem* FindItem(const DialogTemplate& dialog, int id) {
    for (const TemplateItem& item : dialog.items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

}  // namespace e2e
