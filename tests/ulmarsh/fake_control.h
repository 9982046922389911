// Recording stand-in for a control's dispatch interface: a put is a plain
// store, a get returns the last value put, and every call is logged.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ulmarsh/control_properties.h"

namespace ulmarsh::testing {

class FakeControl : public ControlProperties {
public:
    explicit FakeControl(const char* name) : name_(name) {}

    const char* ControlName() const override { return name_; }
    int32_t PutString(int32_t id, const std::string& v) override {
        return Record(id, "put " + Name(id) + "=\"" + v + "\"", [&] { strings_[id] = v; });
    }
    int32_t PutI4(int32_t id, int32_t v) override {
        return Record(id, "put " + Name(id) + "=" + std::to_string(v), [&] {
            numbers_[id] = v;
            if (onI4Put) onI4Put(id, v);
        });
    }
    int32_t PutI2(int32_t id, int16_t v) override {
        return Record(id, "put " + Name(id) + "=" + std::to_string(v) + "s", [&] {
            numbers_[id] = v;
            if (onI2Put) onI2Put(id, v);
        });
    }
    int32_t PutBool(int32_t id, bool v) override {
        return Record(id, "put " + Name(id) + "=" + (v ? "true" : "false"),
                      [&] { numbers_[id] = v ? -1 : 0; });
    }
    int32_t GetString(int32_t id, std::string& v) override {
        return Record(id, "get " + Name(id), [&] { v = strings_[id]; });
    }
    int32_t GetI4(int32_t id, int32_t& v) override {
        return Record(id, "get " + Name(id), [&] { v = static_cast<int32_t>(numbers_[id]); });
    }
    int32_t GetI2(int32_t id, int16_t& v) override {
        return Record(id, "get " + Name(id), [&] { v = static_cast<int16_t>(numbers_[id]); });
    }

    // Writes of a value, in call order, without the reads.
    std::vector<std::string> Puts() const {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (c.rfind("put ", 0) == 0) out.push_back(c);
        return out;
    }

    void SetNumber(int32_t id, int64_t v) { numbers_[id] = v; }
    void SetString(int32_t id, const std::string& v) { strings_[id] = v; }
    int64_t Number(int32_t id) { return numbers_[id]; }

    std::map<int32_t, std::string> names;  // optional readable names by DISPID
    std::vector<std::string> calls;
    int32_t failOn = -1;             // DISPID whose calls fail
    std::function<void(int32_t, int16_t)> onI2Put;  // runs nested inside the put
    std::function<void(int32_t, int32_t)> onI4Put;  // runs after the value is stored

private:
    template <typename F>
    int32_t Record(int32_t id, const std::string& line, F&& apply) {
        calls.push_back(line);
        if (id == failOn) return static_cast<int32_t>(0x80020009u);
        apply();
        return 0;
    }
    std::string Name(int32_t id) const {
        auto it = names.find(id);
        return it == names.end() ? std::to_string(id) : it->second;
    }

    const char* name_;
    std::map<int32_t, int64_t> numbers_;
    std::map<int32_t, std::string> strings_;
};

}  // namespace ulmarsh::testing
