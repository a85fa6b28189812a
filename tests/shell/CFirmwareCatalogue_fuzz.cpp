// Fuzz target of the firmware catalogue: an arbitrary "firmware.xml", then a series of adds and
// history requests read from the rest of the input, and writing the result. After each add the
// entry must be found where it went.
#include "shell/CFirmwareCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_position >= m_size; }

    int Next() { return m_position < m_size ? m_data[m_position++] : 0; }

    std::string Take(size_t count) {
        const size_t available = m_size - m_position;
        const size_t length = count < available ? count : available;
        std::string bytes(reinterpret_cast<const char*>(m_data + m_position), length);
        m_position += length;
        return bytes;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

const char* const kLanguages[] = {"en", "EN", "de", "fr", "", "e"};
const char* const kTexts[] = {"0", "1", "2", "0120", "1.05", "", "x"};

std::string TempPath(const char* suffix) {
    return "/tmp/zarvo-catalogue-fuzz-" + std::to_string(getpid()) + suffix;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void AddOne(CFirmwareCatalogue& catalogue, ByteReader& in) {
    const int major = in.Next() % 3;
    const int minor = in.Next() % 3;
    const int build = in.Next() % 4 * 10;
    const int branch = in.Next() % 3;
    CMapStringToString descriptions;
    const int count = in.Next() % 4;
    for (int i = 0; i < count; ++i) {
        descriptions.SetAt(kLanguages[in.Next() % 6], in.Take(static_cast<size_t>(in.Next() % 8)).c_str());
    }
    catalogue.AddFirmwareDescriptions(major, minor, build, branch, descriptions);
    POSITION position = descriptions.GetStartPosition();
    while (position != nullptr) {
        CString language;
        CString description;
        descriptions.GetNextAssoc(position, language, description);
        int searchStart = -1;
        Require(catalogue.FindFirmwarePosition(searchStart, major, minor, build, branch, language) ==
                CFirmwareCatalogue::kEntryExists);
    }
}

void AskHistory(const CFirmwareCatalogue& catalogue, ByteReader& in) {
    CString text;
    catalogue.GetVersionHistory(kTexts[in.Next() % 7], kTexts[in.Next() % 7], kTexts[in.Next() % 7],
                                kLanguages[in.Next() % 6], text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    const size_t documentLength = static_cast<size_t>(in.Next()) * 8;
    const std::string path = TempPath(".xml");
    WriteFile(path, in.Take(documentLength));
    CFirmwareCatalogue catalogue;
    catalogue.Open(path.c_str());
    while (!in.AtEnd()) {
        if (in.Next() % 2 == 0) {
            AddOne(catalogue, in);
        } else {
            AskHistory(catalogue, in);
        }
    }
    XmlString text = catalogue.Root().CreateString(true);
    XmlElement::FreeString(text);
    Require(catalogue.Write(path.c_str()) == XmlErrorCode::None);
    std::remove(path.c_str());
    return 0;
}
