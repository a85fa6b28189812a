// The symbolic links that make the simulated unit's pseudo-terminal a COM port
// of the Wine prefix: the stable link <ports dir>/comN that the prefix names in
// its port list, and <prefix>/dosdevices/comN, which a running wineserver
// resolves at every open.
#pragma once

#include <string>
#include <vector>

class CPortLinks {
public:
    // Either folder may be empty: that link is then not made.
    CPortLinks(int port, std::string portsDir, std::string winePrefix);

    ~CPortLinks() { Remove(); }

    CPortLinks(const CPortLinks&) = delete;
    CPortLinks& operator=(const CPortLinks&) = delete;

    // Points the links at `slavePath`, replacing links of earlier runs. Returns
    // false with a reason in `error` on failure.
    bool Publish(const std::string& slavePath, std::string& error);

    // Removes the links made by Publish that still point where it put them; a
    // dosdevices link through the stable link stays, as the prefix itself makes it.
    void Remove();

private:
    struct Link {
        std::string path;
        std::string target;
        bool removeOnExit;
    };

    bool ReplaceLink(const Link& link, std::string& error);

    int m_port;
    std::string m_portsDir;
    std::string m_winePrefix;
    std::vector<Link> m_published;
};
