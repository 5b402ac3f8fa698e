// A registry, file system and process start held in memory, recording what the
// launcher asks of them.
#pragma once

#include "about/sysinfo_launcher.h"

#include <cstring>
#include <map>
#include <set>
#include <vector>

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
            registry["SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"]["PATH"] = {RegSz, path};
    }

    std::map<std::string, std::map<std::string, Value>> registry; // key -> name -> value
    std::set<std::string> files, checked;
    bool startFails = false;
    std::vector<std::uint32_t> accessAsked;
    int opens = 0, closes = 0;
    std::vector<std::string> started;

    long OpenKey(std::uint32_t root, const std::string &path, std::uint32_t access,
                 KeyHandle &key) override
    {
        accessAsked.push_back(access);
        if (root != HkeyLocalMachine || !registry.count(path))
            return 2;
        ++opens;
        key = reinterpret_cast<KeyHandle>(&registry.at(path));
        return 0;
    }
    long QueryValue(KeyHandle key, const std::string &name, std::uint32_t &type,
                    unsigned char *data, std::uint32_t &size) override
    {
        const auto &values = *reinterpret_cast<std::map<std::string, Value> *>(key);
        if (!values.count(name))
            return 2;
        const Value &value = values.at(name);
        if (value.data.size() > size)
            return 234;
        type = value.type;
        size = std::uint32_t(value.data.size());
        std::memcpy(data, value.data.data(), size);
        return 0;
    }
    void CloseKey(KeyHandle) override { ++closes; }
    bool IsOrdinaryFile(const std::string &path) override
    {
        checked.insert(path);
        return files.count(path) > 0;
    }
    bool StartProgram(const std::string &path) override
    {
        if (!startFails)
            started.push_back(path);
        return !startFails;
    }
};

} // namespace velbrin::sysinfo
