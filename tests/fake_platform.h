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

class FakePlatform : public Platform
{
public:
    // key path -> value name -> value
    std::map<std::string, std::map<std::string, Value>> registry;
    std::set<std::string> files;
    bool startFails = false;

    std::vector<std::uint32_t> accessAsked;
    int opens = 0;
    int closes = 0;
    std::set<std::string> checked;
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
        const auto found = values.find(name);
        if (found == values.end())
            return 2;
        if (found->second.data.size() > size)
            return 234;
        type = found->second.type;
        size = static_cast<std::uint32_t>(found->second.data.size());
        std::memcpy(data, found->second.data.data(), size);
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
        if (startFails)
            return false;
        started.push_back(path);
        return true;
    }
};

} // namespace velbrin::sysinfo
