// Scenario files: a plain text list of simulated devices (format in the README).
#include "Files.h"
#include "SimState.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <sstream>

namespace hidsim {

namespace {

constexpr size_t MaxScenarioSize = 64 * 1024;

// Decimal, or hexadecimal after "0x": a leading zero does not make a number octal.
bool parseNumber(const std::string& text, long low, long high, long* value)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 16)
        return false;
    for (const char c : digits) {
        if (!(hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c))))
            return false;
    }
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(digits.c_str(), &end, hex ? 16 : 10);
    if (errno || !end || *end || v < low || v > high)
        return false;
    *value = v;
    return true;
}

bool parseAddress(const std::string& text, uint8_t* address)
{
    std::istringstream in(text);
    std::string part;
    int n = 0;
    while (std::getline(in, part, ':')) {
        long v = 0;
        if (n >= 3 || !parseNumber("0x" + part, 0, 255, &v))
            return false;
        address[n++] = static_cast<uint8_t>(v);
    }
    return n == 3;
}

// "key=value", split at the first '='; false when there is none.
bool splitKeyValue(const std::string& pair, std::string* key, std::string* value)
{
    const size_t eq = pair.find('=');
    if (eq == std::string::npos)
        return false;
    *key = pair.substr(0, eq);
    *value = pair.substr(eq + 1);
    return true;
}

struct InterfaceLine {
    std::string mouse;
    std::string vid;
    std::string pid;
    long kind = -1;
    long version = 0;
    long longRange = 0;
    long light = -1;
    long identify = 0;
    long plugged = 1;
};

}  // namespace

bool readScenarioFile(const std::string& fileName, std::string* text, std::string* error)
{
    const ReadResult result = readSmallFile(fileName, MaxScenarioSize, text, error);
    if (result == ReadResult::Missing)
        *error = "cannot open the file";
    return result == ReadResult::Read;
}

bool loadScenarioTextLocked(State& s, const std::string& text, std::string* error)
{
    std::istringstream file(text);

    std::map<std::string, SimMouse> mice;
    std::vector<std::string> mouseOrder;
    std::vector<InterfaceLine> interfaces;
    bool remember = false;
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (std::getline(file, line)) {
        ++lineNumber;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream in(line);
        std::string word;
        std::string name;
        if (!(in >> word))
            continue;
        if (word == "remember") {
            // The devices keep their memory through a restart, as the demo devices do.
            if (in >> name)
                return fail("\"remember\" stands alone on its line");
            remember = true;
            continue;
        }
        if (!(in >> name))
            return fail("a device needs a name after \"" + word + "\"");
        if (word == "mouse") {
            if (name == "-" || mice.count(name))
                return fail("mouse name \"" + name + "\" is missing or used twice");
            SimMouse m;
            bool haveCid = false;
            bool haveMid = false;
            std::string pair;
            while (in >> pair) {
                std::string key;
                std::string value;
                if (!splitKeyValue(pair, &key, &value))
                    return fail("expected key=value, found \"" + pair + "\"");
                long v = 0;
                if (key == "address") {
                    if (!parseAddress(value, m.address))
                        return fail("address must be three hexadecimal bytes like 4B:10:01");
                    continue;
                }
                const long high = key == "version" ? 0xFFFF : (key == "battery" ? 100 : 255);
                if (!parseNumber(value, 0, high, &v))
                    return fail("bad value for " + key);
                if (key == "cid") {
                    m.cid = static_cast<uint8_t>(v);
                    haveCid = true;
                } else if (key == "mid") {
                    m.mid = static_cast<uint8_t>(v);
                    haveMid = true;
                } else if (key == "version")
                    m.version = static_cast<int>(v);
                else if (key == "battery")
                    m.battery = static_cast<int>(v);
                else if (key == "charging")
                    m.charging = v != 0;
                else if (key == "awake")
                    m.awake = v != 0;
                else if (key == "boot")
                    m.boot = v != 0;
                else
                    return fail("unknown mouse key \"" + key + "\"");
            }
            if (!haveCid || !haveMid)
                return fail("a mouse needs cid= and mid=");
            mice[name] = m;
            mouseOrder.push_back(name);
        } else if (word == "cable" || word == "receiver") {
            InterfaceLine i;
            i.mouse = name;
            if (name != "-" && !mice.count(name))
                return fail("no mouse named \"" + name + "\" above this line");
            if (word == "cable" && name == "-")
                return fail("a cable needs its mouse");
            std::string pair;
            while (in >> pair) {
                std::string key;
                std::string value;
                if (!splitKeyValue(pair, &key, &value))
                    return fail("expected key=value, found \"" + pair + "\"");
                if (key == "vid" || key == "pid") {
                    const long id = parseHexId(value.c_str());
                    if (id < 0 || id > 0xFFFF)
                        return fail(key + " must be a hexadecimal id like 0x3554");
                    (key == "vid" ? i.vid : i.pid) = value;
                    continue;
                }
                long v = 0;
                if (!parseNumber(value, 0, key == "version" ? 0xFFFF : 255, &v))
                    return fail("bad value for " + key);
                if (key == "kind")
                    i.kind = v;
                else if (key == "version")
                    i.version = v;
                else if (key == "longrange")
                    i.longRange = v;
                else if (key == "light")
                    i.light = v;
                else if (key == "identify")
                    i.identify = v;
                else if (key == "plugged")
                    i.plugged = v;
                else
                    return fail("unknown key \"" + key + "\"");
            }
            if (i.vid.empty() || i.pid.empty())
                return fail("vid= and pid= are needed");
            const bool cableKind = i.kind == 2 || i.kind == 3;
            const bool receiverKind = isReceiverKind(static_cast<int>(i.kind));
            if (word == "cable" ? !cableKind : !receiverKind)
                return fail(word == "cable" ? "a cable has kind=2 or kind=3" : "a receiver has kind=0, 1, 4 or 5");
            interfaces.push_back(i);
        } else {
            return fail("unknown device \"" + word + "\" (mouse, cable or receiver)");
        }
    }

    removeAllDevicesLocked(s);
    std::map<std::string, int> ids;
    for (const std::string& name : mouseOrder)
        ids[name] = addMouseLocked(s, mice[name]);
    for (const InterfaceLine& i : interfaces) {
        const int mouseId = i.mouse == "-" ? -1 : ids[i.mouse];
        const int id = addInterfaceLocked(s, i.vid, i.pid, static_cast<int>(i.kind), static_cast<int>(i.version),
                                          mouseId, static_cast<int>(i.longRange), static_cast<int>(i.identify));
        if (SimInterface* added = interfaceByIdLocked(s, id)) {
            if (i.light >= 0)
                added->lightMode = static_cast<int>(i.light);
            added->plugged = i.plugged != 0;
        }
    }
    finishDevicesLocked(s, remember);
    return true;
}

}  // namespace hidsim
