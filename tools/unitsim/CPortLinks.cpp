// Links of the simulated unit's COM port.
#include "tools/unitsim/CPortLinks.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

std::string ReadLinkTarget(const std::string& path) {
    char target[4096];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    if (length < 0) {
        return {};
    }
    return std::string(target, static_cast<std::size_t>(length));
}

bool IsDirectory(const std::string& path) {
    struct stat info {};

    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

CPortLinks::CPortLinks(int port, std::string portsDir, std::string winePrefix)
    : m_port(port), m_portsDir(std::move(portsDir)), m_winePrefix(std::move(winePrefix)) {}

bool CPortLinks::Publish(const std::string& slavePath, std::string& error) {
    Remove();
    const std::string name = "com" + std::to_string(m_port);
    std::vector<Link> links;
    std::string dosTarget = slavePath;
    if (!m_portsDir.empty()) {
        // The folder may not exist yet in a fresh build tree; a failure shows below.
        ::mkdir(m_portsDir.c_str(), 0777);
        links.push_back({m_portsDir + "/" + name, slavePath, true});
        dosTarget = links.back().path;
    }
    if (!m_winePrefix.empty()) {
        const std::string dosDevices = m_winePrefix + "/dosdevices";
        if (!IsDirectory(dosDevices)) {
            error = "no folder " + dosDevices;
            return false;
        }
        links.push_back({dosDevices + "/" + name, dosTarget, m_portsDir.empty()});
    }
    for (const Link& link : links) {
        if (!ReplaceLink(link, error)) {
            Remove();
            return false;
        }
        m_published.push_back(link);
    }
    return true;
}

void CPortLinks::Remove() {
    for (const Link& link : m_published) {
        // A link retargeted by someone else since is theirs now.
        if (!link.removeOnExit) {
            continue;
        }
        if (ReadLinkTarget(link.path) == link.target && ::unlink(link.path.c_str()) != 0) {
            std::fprintf(stderr, "unitsim: cannot remove %s: %s\n", link.path.c_str(), std::strerror(errno));
        }
    }
    m_published.clear();
}

// A new link under a temporary name renamed over the old one, so that an opener
// never finds the port missing.
bool CPortLinks::ReplaceLink(const Link& link, std::string& error) {
    const std::string temporary = link.path + ".unitsim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());  // a leftover of a killed run; absence is the normal case
    if (::symlink(link.target.c_str(), temporary.c_str()) != 0) {
        error = "symlink " + temporary + ": " + std::strerror(errno);
        return false;
    }
    if (::rename(temporary.c_str(), link.path.c_str()) != 0) {
        error = "rename " + temporary + " to " + link.path + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
