// A registry, file system and process start held in memory, keeping a log of
// what the launcher asks of them.
#pragma once

#include "about/sysinfo_launcher.h"

#include <cstring>
#include <map>
#include <set>

namespace velbrin::sysinfo {

struct Value
{
    std::uint32_t type;
    std::string data;
};

struct FakePlatform : Platform
{
    FakePlatform() = default;
    explicit FakePlatform(const std::string &path) // the first lookup's text; none when empty
    {
        if (!path.empty())
            registry[std::string(PathKey)][std::string(PathValue)] = {RegSz, path};
    }

    std::map<std::string, std::map<std::string, Value>> registry; // key -> name -> value
    std::set<std::string> files;
    bool startFails = false;
    std::string log;

    long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                 KeyHandle &key) override
    {
        const bool known = root == HkeyLocalMachine && registry.count(path);
        log += "open " + path + " for " + std::to_string(access) + (known ? "\n" : ": none\n");
        key = known ? reinterpret_cast<KeyHandle>(&registry.at(path)) : 0;
        return known ? 0 : 2;
    }
    long QueryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        const auto &values = *reinterpret_cast<std::map<std::string, Value> *>(key);
        const bool fits = values.count(name) && values.at(name).data.size() <= size;
        log += "read " + name + (fits ? "\n" : ": none or too long\n");
        if (!fits)
            return values.count(name) ? 234 : 2;
        type = values.at(name).type;
        size = std::uint32_t(values.at(name).data.size());
        std::memcpy(data, values.at(name).data.data(), size);
        return 0;
    }
    void CloseKey(KeyHandle) override { log += "close\n"; }
    bool IsOrdinaryFile(const std::string &path) override
    {
        log += "is " + path + " a file: " + (files.count(path) ? "yes\n" : "no\n");
        return files.count(path) > 0;
    }
    bool StartProgram(const std::string &path) override
    {
        log += "start " + path + (startFails ? ": fails\n" : "\n");
        return !startFails;
    }
};

} // namespace velbrin::sysinfo
