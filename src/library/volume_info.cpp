// SPDX-License-Identifier: GPL-2.0-or-later
#include "library/volume_info.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace vitrandel::library {
namespace {

namespace fs = std::filesystem;

bool isOctal(char c) { return c >= '0' && c <= '7'; }

// The mount table writes blanks and the like as \040 (octal).
std::string unescapeOctal(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && isOctal(s[i + 1]) && isOctal(s[i + 2]) && isOctal(s[i + 3])) {
            out += static_cast<char>(((s[i + 1] - '0') << 6) | ((s[i + 2] - '0') << 3) | (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Links under /dev/disk/by-label spell unusual characters as \xHH.
std::string unescapeHex(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "\\x") == 0 && i + 3 < s.size() &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool liesUnder(const std::string& path, const std::string& mountPoint) {
    if (mountPoint == "/")
        return true;
    return path == mountPoint || (path.size() > mountPoint.size() && path.compare(0, mountPoint.size(), mountPoint) == 0 &&
                                  path[mountPoint.size()] == '/');
}

// The device the longest mount point above `path` comes from.
std::string deviceOf(const std::string& path) {
    std::ifstream table("/proc/self/mountinfo");
    std::string line;
    std::string best;
    std::size_t bestLength = 0;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string id, parent, numbers, root, mountPoint;
        fields >> id >> parent >> numbers >> root >> mountPoint;
        mountPoint = unescapeOctal(mountPoint);
        std::string word;
        while (fields >> word && word != "-") {
        }
        std::string type, source;
        fields >> type >> source;
        if (liesUnder(path, mountPoint) && mountPoint.size() >= bestLength) {
            bestLength = mountPoint.size();
            best = unescapeOctal(source);
        }
    }
    return best;
}

// The name of the link in `folder` that leads to `device`.
std::string linkTo(const char* folder, const fs::path& device) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ignored;
        if (fs::equivalent(it->path(), device, ignored))
            return unescapeHex(it->path().filename().string());
    }
    return {};
}

} // namespace

Volume volumeOf(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec)
        return {};
    const std::string device = deviceOf(absolute.string());
    if (device.empty() || device.front() != '/')
        return {};
    return {linkTo("/dev/disk/by-label", device), linkTo("/dev/disk/by-uuid", device)};
}

} // namespace vitrandel::library
